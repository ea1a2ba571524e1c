#!/usr/bin/env bash
# expect-refusal.sh TEXT COMMAND...: COMMAND must fail (exit 1) and print a line containing TEXT.
set -uo pipefail
text=$1
shift
out=$("$@" 2>&1)
status=$?
printf '%s\n' "$out"
[ "$status" -eq 1 ] || { echo "expected exit status 1, got $status" >&2; exit 1; }
grep -qF -- "$text" <<<"$out" || { echo "no line contains: $text" >&2; exit 1; }
