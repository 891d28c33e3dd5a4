# Thin wrapper around CMake: `make`, `make test`, `make demo`.
BUILD   ?= build
ASAN    ?= build-asan
FUZZ    ?= build-fuzz
JOBS    ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")

.PHONY: all test unit-test asan-test fuzz-test demo bench clean

# Configuring again when the cache exists is quick, and it recovers from a
# configure step that failed half-way.
all:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

# Every test, then every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of each fuzz target.
test: unit-test asan-test fuzz-test

unit-test: all
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan-test:
	cmake -S . -B $(ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTALO_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)

fuzz-test:
	@if [ -f fuzz/CMakeLists.txt ]; then \
	  cmake -S . -B $(FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALO_FUZZ=ON \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null && \
	  cmake --build $(FUZZ) -j $(JOBS) && \
	  ctest --test-dir $(FUZZ) --output-on-failure; \
	fi

demo: all
	@sh examples/demo.sh $(BUILD)

bench: all
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ)
