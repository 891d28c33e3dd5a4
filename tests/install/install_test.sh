#!/bin/sh
# install_test.sh BUILD_DIR SOURCE_DIR: installs the build into scratch
# folders, once with cmake --install --prefix and once staged with
# DESTDIR=... make install PREFIX=/usr, and checks what arrived.
set -u
build=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# check_tree ROOT: ROOT (a prefix) holds the programs, the examples and,
# when the build made them, the manual pages and the bash completion.
check_tree() {
  root=$1
  for program in talo talo-sim; do
    [ -x "$root/bin/$program" ] || fail "$root/bin/$program missing or not executable"
  done
  for example in "$source"/examples/*; do
    name=$(basename "$example")
    cmp -s "$example" "$root/share/doc/talo/examples/$name" ||
      fail "$root/share/doc/talo/examples/$name missing or different"
  done
  version=$("$root/bin/talo" --version 2>&1)
  [ "$version" = "talo 7 (TALO Build 7 for veltra quillon dorn 3.2)" ] ||
    fail "installed talo --version said: $version"
  "$root/bin/talo-sim" --help >/dev/null 2>&1 || fail "installed talo-sim --help failed"
  for page in talo.1 talo-sim.1; do
    if [ -f "$build/doc/$page" ]; then
      [ -f "$root/share/man/man1/$page" ] || fail "$root/share/man/man1/$page missing"
    fi
  done
  if [ -f "$build/doc/talo.bash-completion" ]; then
    [ -f "$root/share/bash-completion/completions/talo" ] ||
      fail "$root/share/bash-completion/completions/talo missing"
  fi
}

if cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/cmake.log" 2>&1; then
  check_tree "$scratch/prefix"
else
  cat "$scratch/cmake.log"
  fail "cmake --install --prefix failed"
fi

if DESTDIR="$scratch/stage" make -C "$source" --no-print-directory install BUILD="$build" PREFIX=/usr \
    >"$scratch/make.log" 2>&1; then
  check_tree "$scratch/stage/usr"
  # Staged: everything lands below DESTDIR/usr, nothing beside it.
  [ -z "$(find "$scratch/stage" -mindepth 1 -maxdepth 1 ! -name usr)" ] ||
    fail "make install put something beside $scratch/stage/usr"
else
  cat "$scratch/make.log"
  fail "DESTDIR=... make install PREFIX=/usr failed"
fi

[ "$failures" -eq 0 ] || exit 1
echo "install layout: all checks passed"
