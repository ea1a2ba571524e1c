# The login panel worked as a person would: fields, tab order, the router check on leaving the
# host field, the password mask, then Login: the browser over the whole window asks a loopback
# server for the start page with the credentials, and keeps it when the window is restored.
e2e_adapters none
e2e_prefix winxp gatekey.exe
e2e_drive <<'EOS'
title "Corvane Gatekey"
listen 8080
start C:\corvane\gatekey.exe
window "Corvane - Gatekey"
settle
expect-client 6465 2985
expect-place Frame1 105 135 6255 2775
expect-place ledRouter 225 1335 3015 495
expect-text Frame1 "Gatekey"
expect-text Label1(0) "Host IP Address"
expect-text txtPort "80"
expect-text cmdLogin "&Login"
expect-enabled cmdLogin 0
expect-checked Check1 1
expect-tooltip Check1 "Tick to hide the password"
expect-password-char txtPass 42
expect-text lblURL "www.corvane.example"
expect-visible WB1 0
expect-focus txtHost

# Leaving the empty host field starts no check; Tab follows the fields.
tab
expect-focus txtPort
expect-text ledRouter "Not connected to Router"
expect-fill ledRouter 0x0000FF
tab
expect-focus txtUser
tab
expect-focus txtPass

# Login is enabled only with all four fields filled; blanks count.
type txtHost "not-an-ip"
expect-enabled cmdLogin 0
type txtUser "us@er"
expect-enabled cmdLogin 0
type txtPass " "
expect-enabled cmdLogin 1
type txtPort ""
expect-enabled cmdLogin 0
type txtPort "8080"
expect-enabled cmdLogin 1

# Leaving a filled host field probes it, every time.
focus txtHost
tab
expect-text ledRouter "Not connected to Router"
focus txtHost
type txtHost "127.0.0.1"
tab
expect-text ledRouter "Connected to Router"
expect-fill ledRouter 0x00FF00
type txtHost "not-an-ip"
focus txtHost
tab
expect-text ledRouter "Not connected to Router"
expect-fill ledRouter 0x0000FF

# The mask follows the box.
type txtPass "p:w/x"
untick Check1
expect-password-char txtPass 0
tick Check1
expect-password-char txtPass 42

# Login from inside a filled host field: the router check runs first, then the browser opens.
# A connection that never sends a whole head (a browser's spare one) keeps the server from
# nothing: the request after it is served, and the driver still ends at once.
connect 8080 "GET /spare HTTP/1.1\r\n"
focus txtHost
type txtHost "127.0.0.1"
click cmdLogin
expect-text ledRouter "Connected to Router"
expect-request 1 "GET /doc/index.htm HTTP/1.1"
expect-request 1 "Host: 127.0.0.1:8080"
expect-request 1 "Authorization: Basic dXNAZXI6cDp3L3g="
expect-zoomed 1
expect-visible Frame1 0
expect-visible WB1 1
expect-fills WB1

# Restored, the browser shrinks with the window and loads nothing again.
restore
expect-zoomed 0
expect-client 6465 2985
expect-visible WB1 1
expect-visible Frame1 0
expect-fills WB1
connect 8080
expect-requests 1
close
expect-exit 0
EOS
driver_expect_boxes
