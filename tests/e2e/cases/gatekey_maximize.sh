# Maximised by hand before Login, the window keeps its panel and opens nothing; Login, in the
# maximised window, then opens the start page over the whole window.
e2e_adapters none
e2e_prefix winxp gatekey.exe
e2e_drive <<'EOS'
title "Corvane Gatekey"
listen 8080
start C:\corvane\gatekey.exe
window "Corvane - Gatekey"
settle
maximize
expect-zoomed 1
expect-visible Frame1 1
expect-visible WB1 0
expect-requests 0
type txtHost "127.0.0.1"
type txtPort "8080"
type txtUser "admin"
type txtPass "pw"
click cmdLogin
expect-request 1 "GET /doc/index.htm HTTP/1.1"
expect-request 1 "Authorization: Basic YWRtaW46cHc="
expect-zoomed 1
expect-visible Frame1 0
expect-visible WB1 1
expect-fills WB1
expect-requests 1
close
expect-exit 0
EOS
driver_expect_boxes
