#!/usr/bin/env bash
# Installs the Debian packages TALO needs that this machine lacks.
#   scripts/install-packages.sh demo   what `make demo` needs (compiler, CMake, OpenSSL)
#   scripts/install-packages.sh test   that and what `make test` needs besides
# Run as root (or through sudo); packages already installed are left alone.
set -euo pipefail

demo_packages=(make cmake g++ libssl-dev)
# Ninja only speeds builds up; clang builds the fuzzers and the clang build,
# its runtime library holds libFuzzer; curl talks to talo-sim in its tests.
# libedit-dev (found through pkg-config) gives talo line editing at the
# keyboard; tmux drives that prompt in the terminal tests.
test_packages=(ninja-build clang libclang-rt-14-dev libgtest-dev libgmock-dev
               libbenchmark-dev libexpat1-dev curl pkg-config libedit-dev tmux)
# man renders the generated manual pages in their test.
test_packages+=(man-db)

case "${1:-test}" in
  demo) wanted=("${demo_packages[@]}") ;;
  test) wanted=("${demo_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 [demo|test]" >&2; exit 2 ;;
esac

missing=()
for p in "${wanted[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]} == 0)); then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
