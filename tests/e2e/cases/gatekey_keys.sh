# The keyboard as in any Windows login dialog: Enter in a field presses Login once it is enabled
# and does nothing before; after Login the keyboard is in the page (and the router lamp is checked
# no more). Alt+L presses Login too.
e2e_adapters none
e2e_prefix winxp gatekey.exe
e2e_drive <<'EOS'
title "Corvane Gatekey"
listen 8080
start C:\corvane\gatekey.exe
window "Corvane - Gatekey"
settle
expect-focus txtHost
type txtHost "127.0.0.1"
type txtPort "8080"
type txtUser "user"
keystroke enter
settle
expect-zoomed 0
expect-visible Frame1 1
expect-requests 0
type txtPass "pw"
keystroke enter
expect-request 1 "GET /doc/index.htm HTTP/1.1"
expect-zoomed 1
expect-visible Frame1 0
expect-focus-within WB1
# The host field giving up the focus to the page is no check of the router.
settle
expect-text ledRouter "Not connected to Router"
close
expect-exit 0
EOS
driver_expect_boxes

e2e_drive <<'EOS'
title "Corvane Gatekey"
listen 8080
start C:\corvane\gatekey.exe
window "Corvane - Gatekey"
settle
keystroke alt+l
settle
expect-zoomed 0
type txtHost "127.0.0.1"
type txtPort "8080"
type txtUser "user"
type txtPass "pw"
keystroke alt+l
expect-request 1 "GET /doc/index.htm HTTP/1.1"
expect-zoomed 1
expect-focus-within WB1
close
expect-exit 0
EOS
driver_expect_boxes
