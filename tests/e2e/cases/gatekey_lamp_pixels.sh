# The lamps of the real gatekey.exe, read from outside as any program can (WM_GETTEXT and the
# lamp's colour messages) but not set from there, and checked pixel by pixel on a screenshot of
# the display.
for tool in import convert; do
    command -v $tool >/dev/null || e2e_fail "$tool (ImageMagick) is not installed"
done
e2e_prefix winxp gatekey.exe
READER_EXE=$E2E_WINDOWS_BUILD/tests/gatekey/win32/lamp_reader.exe
[ -f "$READER_EXE" ] || e2e_fail "no $READER_EXE: build the windows build first"
cp "$READER_EXE" "$PROGRAM_DIR/"

# look NAME [SETTINGS]: starts gatekey (with Settings.ini holding SETTINGS, if given), writes what
# the reader saw to NAME.txt and the screen to NAME.png, then ends the programs.
look() {
    local name=$1
    rm -f "$PROGRAM_DIR/Settings.ini"
    [ $# -gt 1 ] && printf '%s' "$2" >"$PROGRAM_DIR/Settings.ini"
    # Into a file, not a pipe: gatekey inherits the reader's output and outlives it.
    local status tries=1
    while :; do
        status=0
        e2e_wine 'C:\corvane\lamp_reader.exe' 'C:\corvane\gatekey.exe' 'Corvane - Gatekey' \
            </dev/null >"$CASE_DIR/$name.raw" 2>>"$CASE_DIR/wine.err" || status=$?
        tr -d '\r' <"$CASE_DIR/$name.raw" >"$CASE_DIR/$name.txt"
        # Only where the echo should be answered (no settings: the program's own address).
        [ "$status" -eq 0 ] && [ $# -eq 1 ] && e2e_echo_missed "$CASE_DIR/$name.txt" "$tries" \
            'lamp #112 "Not connected to Internet"' ||
            break
        e2e_in_session wineserver -k 2>/dev/null || true
        tries=$((tries + 1))
    done
    [ "$status" -eq 0 ] || e2e_fail "$name: the reader failed: $(cat "$CASE_DIR/$name.txt")"
    DISPLAY=":$DISPLAY_NUMBER" import -window root "$CASE_DIR/$name.png"
    e2e_in_session wineserver -k 2>/dev/null || true
}

# expect_lamp NAME ID CAPTION FILL
expect_lamp() {
    grep -qxF "lamp #$2 \"$3\" fill=$4" "$CASE_DIR/$1.txt" ||
        e2e_fail "$1: lamp #$2 is not \"$3\" filled $4: $(cat "$CASE_DIR/$1.txt")"
}

# Neither lamp took the caption and colours the reader sent from outside.
expect_no_outside_writes() {
    local id
    for id in 111 112; do
        grep -qxF "lamp #$id refuses writes from outside" "$CASE_DIR/$1.txt" ||
            e2e_fail "$1: lamp #$id took a write from another program: $(cat "$CASE_DIR/$1.txt")"
    done
}

# Every pixel the reader predicted is on the screenshot.
expect_pixels() {
    local name=$1 x y want what got count=0
    while read -r _ x y want what; do
        got=$(convert "$CASE_DIR/$name.png" -format "%[hex:p{$x,$y}]" info:)
        count=$((count + 1))
        [ "${got:0:6}" = "$want" ] || e2e_fail "$name: pixel ($x, $y), $what, is $got, expected $want"
    done < <(grep '^pixel ' "$CASE_DIR/$name.txt")
    [ "$count" -ge 14 ] || e2e_fail "$name: only $count pixels to check"
}

look no-settings
expect_lamp no-settings 111 "Not connected to Router" 0x0000FF
expect_lamp no-settings 112 "Connected to Internet" 0x00FF00
expect_no_outside_writes no-settings
expect_pixels no-settings

look not-an-ip "not-an-ip"
expect_lamp not-an-ip 111 "Not connected to Router" 0x0000FF
expect_lamp not-an-ip 112 "Not connected to Internet" 0x0000FF
expect_pixels not-an-ip
