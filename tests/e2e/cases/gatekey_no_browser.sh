# Without the browser control (no atl.dll) Login keeps the panel and names the start page to open
# in another browser, without the credentials; the window never turns into an empty page.
no_browser="The router's pages cannot be shown because this PC has no web browser control.\r\n\r\nOpen http://10.1.2.3:8080/doc/index.htm in your web browser."
e2e_adapters none
e2e_prefix winxp gatekey.exe
e2e_no_atl
e2e_drive <<EOS
title "Corvane Gatekey"
start C:\\corvane\\gatekey.exe
window "Corvane - Gatekey"
settle
type txtHost "10.1.2.3"
type txtPort "8080"
type txtUser "admin"
type txtPass "s3cret"
keystroke enter
expect-box "$no_browser" ok
expect-zoomed 0
expect-visible Frame1 1
expect-focus txtHost
click cmdLogin
expect-zoomed 0
expect-visible Frame1 1
maximize
expect-zoomed 1
expect-visible Frame1 1
close
expect-exit 0
EOS
driver_expect_boxes "$no_browser"
