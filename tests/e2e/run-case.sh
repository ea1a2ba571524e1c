#!/usr/bin/env bash
# Runs one end-to-end case: bash run-case.sh cases/NAME.sh
# Needs E2E_WINDOWS_BUILD (the windows build folder) and E2E_WORK (a scratch folder); ctest sets
# both. Exit 0 passed, 1 failed, 77 skipped (not root, or Wine missing).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib.sh
source "$here/lib.sh"
e2e_begin "$1"
# shellcheck disable=SC1090
source "$1"
e2e_end
