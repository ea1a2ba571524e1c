#!/usr/bin/env bash
# Runs led_gdi_check.exe under Wine: bash run-led-gdi-check.sh EXE WORKDIR
# Headless (Wine's null display driver), in a prefix kept in WORKDIR, inside a network namespace
# of its own. Exit 0 passed, 1 failed, 77 skipped (no Wine, not root, or no windows build).
set -euo pipefail
exe=$1 work=$2
command -v wine >/dev/null || { echo "skipped: wine is not installed"; exit 77; }
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root for its network namespace"; exit 77; }
[ -f "$exe" ] || { echo "skipped: no $exe (build the windows build first)"; exit 77; }

export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
ns=ledgdi$$
cleanup() {
    set +e
    ip netns exec "$ns" wineserver -k 2>/dev/null
    ip netns del "$ns" 2>/dev/null
}
trap cleanup EXIT
ip netns add "$ns"
in_ns() { ip netns exec "$ns" "$@"; }

mkdir -p "$work"
(
    flock 9
    if [ ! -f "$WINEPREFIX/.led-ready" ]; then
        rm -rf "$WINEPREFIX"
        in_ns wine wineboot -i >/dev/null 2>&1
        in_ns wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /t REG_SZ /d null /f >/dev/null
        in_ns wineserver -w
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
        touch "$WINEPREFIX/.led-ready"
    fi
) 9>"$work/prefix.lock"

cp "$exe" "$work/led_gdi_check.exe"
set +e
in_ns wine "$work/led_gdi_check.exe" >"$work/output.txt" 2>"$work/stderr.txt"
status=$?
set -e
tr -d '\r' <"$work/output.txt"
exit $status
