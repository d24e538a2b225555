#!/usr/bin/env bash
# Runs a VorlaLib program on the headless screen and keeps its picture.
#   tools/screenshot.sh PROGRAM OUTPUT.png [WIDTHxHEIGHT [PROGRAM ARGUMENTS...]]
# The program runs until it has nothing left to do; the screen as it stood then (every shown
# window with its frame) is written to OUTPUT.png, each window's client area beside it.
set -euo pipefail
if [[ $# -lt 2 ]]; then
  echo "usage: $0 PROGRAM OUTPUT.png [WIDTHxHEIGHT [PROGRAM ARGUMENTS...]]" >&2
  exit 2
fi
program=$1
output=$2
screen=${3:-800x500}
shift $(($# < 3 ? $# : 3))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
VORLA_BACKEND=headless VORLA_SCREEN="$screen" VORLA_SNAPSHOT_DIR="$work" timeout 120 "$program" "$@" </dev/null
if [[ ! -f "$work/screen.png" ]]; then
  echo "$program left no screen picture" >&2
  exit 1
fi
mkdir -p "$(dirname "$output")"
cp "$work/screen.png" "$output"
echo "wrote $output"
