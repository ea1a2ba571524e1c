# gatekey on the Windows 98 and NT 4.0 roads, so that their code paths run at least under Wine:
# the lamps' first state, the password box's tip and Login enabled only with all four fields;
# then on Windows 98 the browser asks for the start page, and on NT 4.0, without the browser
# control, Enter brings the box that names the page to open elsewhere.
no_browser="The router's pages cannot be shown because this PC has no web browser control.\r\n\r\nOpen http://127.0.0.1:8040/doc/index.htm in your web browser."

# gatekey_panel PORT: the script's part that every road shares, the four fields filled.
gatekey_panel() {
    cat <<EOS
title "Corvane Gatekey"
listen $1
start \$PROGRAM
window "Corvane - Gatekey"
settle
expect-text ledRouter "Not connected to Router"
expect-fill ledRouter 0x0000FF
expect-text ledNet "Connected to Internet"
expect-fill ledNet 0x00FF00
expect-tooltip Check1 "Tick to hide the password"
expect-password-char txtPass 42
expect-enabled cmdLogin 0
type txtHost "127.0.0.1"
type txtPort "$1"
type txtUser "admin"
expect-enabled cmdLogin 0
type txtPass "s3cret"
expect-enabled cmdLogin 1
EOS
}

e2e_adapters none
e2e_prefix win98 gatekey.exe
e2e_drive <<EOS
$(gatekey_panel 8098)
click cmdLogin
expect-request 1 "GET /doc/index.htm HTTP/1.1"
expect-request 1 "Authorization: Basic YWRtaW46czNjcmV0"
expect-visible WB1 1
expect-visible Frame1 0
close
expect-exit 0
EOS
driver_expect_boxes

e2e_install gatekey_nt4.exe nt40
e2e_reg add 'HKCU\Software\Wine\AppDefaults\gatekey_nt4.exe' /v Version /t REG_SZ /d nt40 /f
e2e_no_atl
e2e_drive <<EOS
$(gatekey_panel 8040)
keystroke enter
expect-box "$no_browser" ok
expect-visible Frame1 1
expect-requests 0
close
expect-exit 0
EOS
driver_expect_boxes
