# "Setup Network" is enabled only while the confirmation box is ticked; another adapter row, by
# mouse or keyboard, unticks the box; the same row, or a key that moves nothing, keeps it.
e2e_prefix winxp
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
expect-rows cboNIC 2
expect-row cboNIC 0 "eth0"
expect-row cboNIC 1 "wlan0"
expect-selected cboNIC 0
expect-enabled cmdWrite 0
tick chkConnected
expect-enabled cmdWrite 1
untick chkConnected
expect-enabled cmdWrite 0
tick chkConnected
expect-enabled cmdWrite 1
# another row
select cboNIC 1
expect-checked chkConnected 0
expect-enabled cmdWrite 0
tick chkConnected
# the same row again
select cboNIC 1
expect-checked chkConnected 1
expect-enabled cmdWrite 1
# a key that matches no row moves nothing
key cboNIC char:z
expect-selected cboNIC 1
expect-checked chkConnected 1
expect-enabled cmdWrite 1
# the keyboard moves to another row
key cboNIC up
expect-selected cboNIC 0
expect-checked chkConnected 0
expect-enabled cmdWrite 0
tick chkConnected
# already the first row: Up moves nothing
key cboNIC up
expect-selected cboNIC 0
expect-checked chkConnected 1
close
expect-exit 0
EOS
log_expect_first "->"
log_expect_order "->" "1, eth0" "2, wlan0" " *Reading...*" "<-"
log_expect_last "<-"
