# Thin wrapper around CMake: `make`, `make demo`, `make test`.
BUILD   ?= build
ASAN    ?= build-asan
FUZZ    ?= build-fuzz
RELEASE ?= build-release
CLANG   ?= build-clang
JOBS    ?= $(shell nproc)
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
# Developer builds treat warnings as errors; a plain CMake build does not.
# CMAKE_ARGS adds settings of your own to every configuration.
DEVELOPER := -DTALO_WERROR=ON $(CMAKE_ARGS)

PREFIX  ?= /usr/local

.PHONY: all programs configure install test unit-test asan-test fuzz-test matrix demo bench clean

# Configuring again when the cache exists is quick, and it recovers from a
# configure step that failed half-way.
configure:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(DEVELOPER) >/dev/null

all: configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what the demo runs: needs neither the test packages nor their build time.
programs: configure
	cmake --build $(BUILD) -j $(JOBS) --target talo talo-sim

# Every test, then every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then a short run of each fuzz target.
test: unit-test asan-test fuzz-test

unit-test:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(DEVELOPER) \
	  -DTALO_REQUIRE_TEST_PACKAGES=ON >/dev/null
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan-test:
	cmake -S . -B $(ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DTALO_SANITIZE=ON $(DEVELOPER) \
	  -DTALO_REQUIRE_TEST_PACKAGES=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN) --output-on-failure -j $(JOBS)

fuzz-test:
	cmake -S . -B $(FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALO_FUZZ=ON $(DEVELOPER) \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)
	ctest --test-dir $(FUZZ) --output-on-failure

# The other builds users make: gcc with full optimisation, clang unoptimised;
# both must build without a warning and pass the tests.
matrix:
	cmake -S . -B $(RELEASE) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release $(DEVELOPER) \
	  -DTALO_REQUIRE_TEST_PACKAGES=ON -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ >/dev/null
	cmake --build $(RELEASE) -j $(JOBS)
	ctest --test-dir $(RELEASE) --output-on-failure -j $(JOBS)
	cmake -S . -B $(CLANG) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug $(DEVELOPER) \
	  -DTALO_REQUIRE_TEST_PACKAGES=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	cmake --build $(CLANG) -j $(JOBS)
	ctest --test-dir $(CLANG) --output-on-failure -j $(JOBS)

# Installs what the build folder holds under PREFIX; DESTDIR, when set,
# stages it below that folder (DESTDIR=/tmp/stage make install PREFIX=/usr).
# The programs and their manual pages are brought up to date first, without
# configuring again, so a build folder keeps the settings it was made with.
install:
	cmake --build $(BUILD) -j $(JOBS) --target talo talo-sim talo-docs
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

demo: programs
	@sh examples/demo.sh $(BUILD)

bench: all
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ) $(RELEASE) $(CLANG)
