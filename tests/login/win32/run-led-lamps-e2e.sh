#!/usr/bin/env bash
# The lamps of the real gatekey.exe under Wine, read from outside as any program can (WM_GETTEXT
# and the lamp's colour messages) and checked pixel by pixel on a screenshot.
#   bash run-led-lamps-e2e.sh WINDOWS_BUILD WORKDIR
# Own Xvfb display, own network namespace (only its loopback answers), prefix kept in WORKDIR.
# Exit 0 passed, 1 failed, 77 skipped (no Wine or Xvfb, not root, or no windows build).
set -euo pipefail
build=$1 work=$2
gatekey=$build/login/gatekey.exe reader=$build/tests/login/win32/lamp_reader.exe
for tool in wine Xvfb import convert; do
    command -v $tool >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
[ "$(id -u)" -eq 0 ] || { echo "skipped: needs root for its network namespace"; exit 77; }
[ -f "$gatekey" ] && [ -f "$reader" ] || { echo "skipped: build the windows build first"; exit 77; }

export WINEPREFIX=$work/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
ns=ledlamps$$
xvfb_pid=
failures=0
cleanup() {
    set +e
    ip netns exec "$ns" wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    ip netns del "$ns" 2>/dev/null
}
trap cleanup EXIT
fail() { echo "FAIL $*"; failures=$((failures + 1)); }

mkdir -p "$work"
for ((d = 520; d < 600; d++)); do
    [ -e "/tmp/.X$d-lock" ] && continue
    Xvfb ":$d" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$d" ] && break; sleep 0.1; done
    kill -0 "$xvfb_pid" 2>/dev/null && break
    xvfb_pid=
done
[ -n "$xvfb_pid" ] || { echo "FAIL no free display"; exit 1; }
export DISPLAY=:$d
ip netns add "$ns"
ip netns exec "$ns" ip link set lo up
in_ns() { ip netns exec "$ns" "$@"; }

(
    flock 9
    if [ ! -f "$WINEPREFIX/.lamps-ready" ]; then
        rm -rf "$WINEPREFIX"
        in_ns wine wineboot -i >/dev/null 2>&1
        in_ns wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
        in_ns wineserver -w
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
        touch "$WINEPREFIX/.lamps-ready"
    fi
) 9>"$work/prefix.lock"

program=$WINEPREFIX/drive_c/lamps
# run NAME [SETTINGS]: starts gatekey (with Settings.ini holding SETTINGS, if given), reads its
# lamps into NAME.txt and takes NAME.png.
run() {
    local name=$1
    rm -rf "$program" && mkdir -p "$program"
    cp "$gatekey" "$reader" "$program/"
    [ $# -gt 1 ] && printf '%s' "$2" >"$program/Settings.ini"
    in_ns wineserver -k 2>/dev/null || true
    in_ns timeout 60 wine 'C:\lamps\lamp_reader.exe' 'C:\lamps\gatekey.exe' 'Corvane - Gatekey' \
        >"$work/$name.raw" 2>"$work/$name.err" </dev/null || true
    tr -d '\r' <"$work/$name.raw" >"$work/$name.txt"
    import -window root "$work/$name.png"
    in_ns wineserver -k 2>/dev/null || true
}

# expect_lamp NAME ID CAPTION FILL
expect_lamp() {
    local line="lamp #$2 \"$3\" fill=$4"
    grep -qxF "$line" "$work/$1.txt" && echo "ok   $1: $line" || fail "$1: no line '$line'"
}

# Every pixel the reader predicted is on the screenshot.
expect_pixels() {
    local name=$1 x y want what got count=0
    while read -r _ x y want what; do
        got=$(convert "$work/$name.png" -format "%[hex:p{$x,$y}]" info:)
        count=$((count + 1))
        [ "${got:0:6}" = "$want" ] || fail "$name: pixel ($x, $y), $what, is $got, expected $want"
    done < <(grep '^pixel ' "$work/$name.txt")
    [ "$count" -ge 14 ] && echo "ok   $name: $count lamp pixels checked on the screen" ||
        fail "$name: only $count pixels to check"
}

run no-settings
expect_lamp no-settings 111 "Not connected to Router" 0x0000FF
expect_lamp no-settings 112 "Connected to Internet" 0x00FF00
expect_pixels no-settings

run not-an-ip "not-an-ip"
expect_lamp not-an-ip 111 "Not connected to Router" 0x0000FF
expect_lamp not-an-ip 112 "Not connected to Internet" 0x0000FF
expect_pixels not-an-ip

if [ "$failures" -ne 0 ]; then
    echo "--- reader output"; cat "$work"/*.txt
    echo "FAILED: $failures"
    exit 1
fi
echo "passed"
