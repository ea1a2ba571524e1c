# Back from another program the field that had the focus has it again: leaving for the other
# program is no check of the router, leaving the host field afterwards is one.
e2e_adapters none
e2e_prefix winxp gatekey.exe
e2e_drive <<'EOS'
title "Corvane Gatekey"
start C:\corvane\gatekey.exe
window "Corvane - Gatekey"
settle
expect-focus txtHost
type txtHost "127.0.0.1"
switch
expect-focus txtHost
expect-text ledRouter "Not connected to Router"
tab
expect-focus txtPort
expect-text ledRouter "Connected to Router"
expect-fill ledRouter 0x00FF00
close
expect-exit 0
EOS
driver_expect_boxes
