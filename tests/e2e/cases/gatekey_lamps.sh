# The Internet lamp after start, per Settings.ini beside the program; the router lamp as saved.
e2e_adapters none
e2e_prefix winxp gatekey.exe

# gatekey_start CONTENT FILL CAPTION: CONTENT "-" runs without Settings.ini.
gatekey_start() {
    rm -f "$PROGRAM_DIR/Settings.ini"
    [ "$1" = - ] || printf '%b' "$1" >"$PROGRAM_DIR/Settings.ini"
    e2e_drive <<EOS
title "Corvane Gatekey"
start C:\\corvane\\gatekey.exe
window "Corvane - Gatekey"
settle
expect-text ledNet "$3"
expect-fill ledNet $2
expect-text ledRouter "Not connected to Router"
expect-fill ledRouter 255
close
expect-exit 0
EOS
    driver_expect_boxes
}

gatekey_start - 0x00FF00 "Connected to Internet"
gatekey_start '127.0.0.1' 0x00FF00 "Connected to Internet"
gatekey_start '127.0.0.1\r\n' 0x00FF00 "Connected to Internet"
gatekey_start '' 0x0000FF "Not connected to Internet"
gatekey_start 'not-an-ip' 0x0000FF "Not connected to Internet"

# A file too large to hold an address is not read, although its start would pass as one.
gatekey_big=$(printf '127.0.0.1%70000s' '')
gatekey_start "$gatekey_big" 0x0000FF "Not connected to Internet"

# A hidden file is not found and counts as missing.
printf 'not-an-ip' >"$PROGRAM_DIR/Settings.ini"
e2e_wine attrib +h 'C:\corvane\Settings.ini' >>"$CASE_DIR/wine.out" 2>>"$CASE_DIR/wine.err"
e2e_drive <<'EOS'
title "Corvane Gatekey"
start C:\corvane\gatekey.exe
window "Corvane - Gatekey"
settle
expect-text ledNet "Connected to Internet"
close
expect-exit 0
EOS

# From a drive root the file beside the program is C:\Settings.ini.
cp "$PROGRAM_DIR/gatekey.exe" "$PREFIX/drive_c/gatekey.exe"
printf 'not-an-ip' >"$PREFIX/drive_c/Settings.ini"
e2e_drive <<'EOS'
title "Corvane Gatekey"
start C:\gatekey.exe
window "Corvane - Gatekey"
settle
expect-text ledNet "Not connected to Internet"
close
expect-exit 0
EOS
