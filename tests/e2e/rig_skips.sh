#!/usr/bin/env bash
# A machine without Wine skips every case, even where no release folder or build is named: run
# with a PATH that has only what the rig needs before its skips, run-case.sh exits 77.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=$(mktemp -d)
trap 'rm -rf "$bin"' EXIT
for tool in bash id basename dirname; do ln -s "$(command -v "$tool")" "$bin/$tool"; done
status=0
env -u E2E_DIST -u E2E_WINDOWS_BUILD -u E2E_WORK PATH="$bin" \
    bash "$here/run-case.sh" "$here/cases/icons.sh" >"$bin/out" 2>&1 || status=$?
[ "$status" -eq 77 ] ||
    { cat "$bin/out"; echo "run-case.sh without Wine exited $status, not 77 (skipped)"; exit 1; }
