#!/bin/sh
# Renders a manual page with man and fails on anything it warns about.
# Exit 77 (skipped) where man is not installed.
command -v man >/dev/null 2>&1 || { echo "man is not installed"; exit 77; }
[ -s "$1" ] || { echo "no page at $1"; exit 1; }
warnings=$(MANWIDTH=80 man --warnings -l "$1" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  printf '%s\n' "$warnings"
  exit 1
fi
text=$(MANWIDTH=80 man -l "$1" 2>/dev/null)
for section in NAME SYNOPSIS DESCRIPTION "SEE ALSO"; do
  printf '%s\n' "$text" | grep -q "^$section" || { echo "no $section section"; exit 1; }
done
