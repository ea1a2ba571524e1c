# gatekey for the demo: the login panel filled in, then the browser after Login, each saved as a
# PNG screenshot in $E2E_SHOTS. Run through run-case.sh, like the cases.
: "${E2E_SHOTS:?set E2E_SHOTS to the folder for the screenshots}"
e2e_adapters none
e2e_prefix winxp gatekey.exe
e2e_session
mkdir -p "$E2E_SHOTS"

# Saves the screen when the driver reaches checkpoint NAME, then lets it go on.
gatekey_shoot() {
    local ready=$PREFIX/drive_c/e2e/$1.ready
    for _ in $(seq $((600 * E2E_SCALE))); do
        [ -f "$ready" ] && break
        kill -0 "$drive_pid" 2>/dev/null || e2e_fail "the driver ended before checkpoint $1"
        sleep 0.05
    done
    [ -f "$ready" ] || e2e_fail "no checkpoint $1"
    DISPLAY=":$DISPLAY_NUMBER" import -window root "$E2E_SHOTS/$2"
    touch "$PREFIX/drive_c/e2e/$1.go"
    echo "gatekey: $E2E_SHOTS/$2"
}

e2e_drive <<'EOS' &
title "Corvane Gatekey"
listen 8080
start C:\corvane\gatekey.exe
window "Corvane - Gatekey"
settle
type txtHost "127.0.0.1"
type txtPort "8080"
type txtUser "admin"
type txtPass "secret"
tab
expect-text ledRouter "Connected to Router"
expect-text ledNet "Connected to Internet"
checkpoint panel
click cmdLogin
expect-request 1 "GET /doc/index.htm HTTP/1.1"
expect-visible WB1 1
checkpoint browser
close
expect-exit 0
EOS
drive_pid=$!
gatekey_shoot panel gatekey-login.png
gatekey_shoot browser gatekey-browser.png
wait "$drive_pid" || e2e_fail "the demo's driver failed"
