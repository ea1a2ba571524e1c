# Without the three IP Helper library files beside the program, the log names the missing file
# once, start-up shows the no-adapter message once and goes on with an empty box; a setup run's
# report ends after its first line, and the run, which switched no adapter, says so.
e2e_prefix winxp
rm -f "$PROGRAM_DIR"/iphlpapi_9x.dll "$PROGRAM_DIR"/iphlpapi_2k.dll "$PROGRAM_DIR"/iphlpapi_xp.dll
e2e_drive <<'EOS'
start C:\corvane\wirewise.exe
expect-box "No Network adapters were found.\r\nThis program requires at least one adapter to be installed (inc. drivers).\r\nPlease install a network adapter card or the USB network adapter driver." ok
window "Corvane Wirewise"
settle
expect-rows cboNIC 0
tick chkConnected
click cmdWrite
close
expect-exit 0
EOS
log_expect_count "No Network adapters found" 1
[ "$(log_lines | grep -cE '^[0-9]+, ')" = 0 ] || e2e_fail "adapter lines in the log"
log_expect_count "Missing iphlpapi_xp.dll" 1
log_expect_count "Missing iphlpapi_9x.dll" 0
log_expect_order 're:User: .*' "Missing iphlpapi_xp.dll" "No Network adapters found" " *Reading...*" \
    " *Set clicked*" " -- Checking status: ipconfig --" "Setup incomplete" "<-"
log_expect_count " -- Ipconfig complete --" 0
[ "$(log_lines | sed -n '/^ -- Checking status: ipconfig --$/{n;p}')" = "Setup incomplete" ] ||
    e2e_fail "the report went on past its first line"
