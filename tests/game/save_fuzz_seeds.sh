#!/bin/sh
# Seeds for the save fuzz target, written into the corpus folder $1: a fresh game's record and
# a short one with settings, badges and one level block that all pass their checks.
set -e
mkdir -p "$1"
{
  printf '0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|'
  printf '0|%.0s' $(seq 10)
  printf '1483|'
  printf '0|%.0s' $(seq $((9 + 1005 * 21)))
} >"$1/fresh"
{
  printf '0|0|0|0|0|2|0|0|0|0|300|64|8|0|1|3|'
  printf '0|%.0s' $(seq 9)
  printf '3869|-2147483648|1|0|0|0|0|0|0|-2147483647|50|1|'
  printf '0|%.0s' $(seq 18)
  printf '203|'
} >"$1/short"
