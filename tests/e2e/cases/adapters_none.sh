# A namespace without adapters: IP Helper's refusal is logged, then the no-adapter line and
# message; the program goes on with an empty box.
e2e_adapters none
e2e_prefix winxp
e2e_drive <<'EOS'
start C:\corvane\wirewise.exe
expect-box "No Network adapters were found.\r\nThis program requires at least one adapter to be installed (inc. drivers).\r\nPlease install a network adapter card or the USB network adapter driver." ok
window "Corvane Wirewise"
settle
expect-rows cboNIC 0
close
expect-exit 0
EOS
log_expect_order 're:User: .*' "GetAdaptersInfo sizing failed with error 232" \
    "No Network adapters found" " *Reading...*" "<-"
log_expect_count "No Network adapters found" 1
