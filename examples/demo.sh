#!/bin/sh
# A short sample session of talo: help, "?" help at several points, a
# syntax error with its caret, and the session options.
set -e
build=${1:-build}
exec "$build/src/talo" \
  "HELP" \
  "?" \
  "ADD VDISK Quabex ?" \
  "SHOW ?" \
  "SET OPTIONS ?" \
  "SET OPTIONS ON_ERROR=?" \
  "SET OPTIONS DISPLAY_WIDTH=?" \
  "SET OPTIONS DISPLAY_WIDTH=100 NORETRIES" \
  "SHOW OPTIONS" \
  "SHOW OPTONS" \
  "EXIT"
