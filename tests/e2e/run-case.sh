#!/usr/bin/env bash
# Runs one end-to-end case: bash run-case.sh cases/NAME.sh
# Needs E2E_DIST (the release folder, scripts/package), E2E_WINDOWS_BUILD (the windows build
# folder, for the driver and the other helpers) and E2E_WORK (a scratch folder); ctest sets them. Exit 0 passed, 1 failed, 77 skipped (not root, or Wine missing). A case whose Wine
# stalled (status 75) gets a second run: a stall under a loaded machine is Wine's, not the
# program's, while a check that fails twice in a row is not retried away.
set -euo pipefail
if [ -z "${E2E_ATTEMPT:-}" ]; then
    for attempt in 1 2; do
        status=0
        E2E_ATTEMPT=$attempt bash "$0" "$@" || status=$?
        [ "$status" -eq 75 ] || exit "$status"
        [ "$attempt" = 2 ] || echo "stalled: running the case once more" >&2
    done
    exit 1
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"
e2e_begin "$1"
# shellcheck disable=SC1090
source "$1"
e2e_end
