#!/usr/bin/env bash
# The end-to-end rig on a signed release: a setup run and a gatekey case run the signed programs.
# signed_e2e.sh SOURCE DIST RUN_CASE_COMMAND...: the cases run as RUN_CASE_COMMAND CASE_FILE
# (the command the e2e tests use), with E2E_DIST naming the signed copy and E2E_WINDOWS_BUILD
# and E2E_WORK as ctest sets them for those tests. Exit 77 when the rig skips the cases.
set -uo pipefail
source=$1 dist=$2
shift 2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/signing_kit.sh"
# Under E2E_WORK, which the rig shares with the emulated machine where there is one.
mkdir -p "$E2E_WORK"
work=$(mktemp -d "$E2E_WORK/signed.XXXXXX")
trap 'rm -rf "$work"' EXIT
make_signed_copy "$source" "$dist" "$work" >"$work/output" 2>&1 || { cat "$work/output"; exit 1; }
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/signed/wirewise.exe" >/dev/null ||
    { echo "the copy is not signed"; exit 1; }

# Each case runs under a name of its own, so that its scratch folder is not the unsigned run's.
mkdir "$work/cases"
status=0 skipped=0
for case in setup_run_winxp gatekey_login; do
    printf 'source %q\n' "$source/tests/e2e/cases/$case.sh" >"$work/cases/signed_$case.sh"
    result=0
    E2E_DIST=$work/signed "$@" "$work/cases/signed_$case.sh" || result=$?
    case $result in
    0) ;;
    77) skipped=$((skipped + 1)) ;;
    *) echo "FAIL: $case on the signed release (exit $result)"; status=1 ;;
    esac
done
[ "$status" -ne 0 ] || [ "$skipped" -eq 0 ] || exit 77
exit "$status"
