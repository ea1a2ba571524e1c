# The adapter box and the log list exactly the namespace's two adapters, in IP Helper's order,
# and the first row is selected.
e2e_prefix winxp
e2e_drive <<'EOS'
start C:\corvane\wirewise.exe
window "Corvane Wirewise"
settle
expect-rows cboNIC 2
expect-row cboNIC 0 "eth0"
expect-row cboNIC 1 "wlan0"
expect-selected cboNIC 0
close
expect-exit 0
EOS
driver_expect_boxes
log_expect_order "->" 're:User: .*' "1, eth0" "2, wlan0" " *Reading...*" "<-"
log_expect_count "1, eth0" 1
log_expect_count "2, wlan0" 1
[ "$(log_lines | grep -cE '^[0-9]+, ')" = 2 ] || e2e_fail "other adapter lines in the log"
log_expect_count "No Network adapters found" 0
