#!/bin/sh
# The demo: start talo-sim on a loopback address of its own, run a sample
# session of talo against it (examples/demo.talo, then the storage objects
# of examples/storage.talo), stop the simulator.
set -eu
build=${1:-build}
here=$(dirname "$0")
address="127.77.$(( $$ / 250 % 250 )).$(( $$ % 250 + 1 ))"
log=$(mktemp "${TMPDIR:-/tmp}/talo-demo-sim.XXXXXX")

"$build/sim/talo-sim" --address "$address" >"$log" 2>&1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -f "$log"' EXIT INT TERM

# Wait (at most 10 s) until the simulator says it is ready.
tries=0
until grep -q 'ready' "$log"; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$sim" 2>/dev/null; then
    echo "talo-sim did not start:" >&2
    cat "$log" >&2
    exit 1
  fi
  sleep 0.1
done
echo "talo-sim is serving its demo array on $address"

status=0
"$build/src/talo" \
  "SET OPTIONS NOCOMMAND_DELAY" \
  "SELECT MANAGER $address USERNAME=administrator PASSWORD=password" \
  "FILE $here/demo.talo" \
  "FILE $here/storage.talo" </dev/null || status=$?
echo
exit "$status"
