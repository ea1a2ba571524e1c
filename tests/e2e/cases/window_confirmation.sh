# "Setup Network" is enabled only while the confirmation box is ticked; another adapter row
# unticks the box, the same row or a key that moves nothing keeps it.
e2e_prefix winxp
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
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
expect-checked chkConnected 1
expect-enabled cmdWrite 1
close
expect-exit 0
EOS
log_expect_first "->"
log_expect_last "<-"
