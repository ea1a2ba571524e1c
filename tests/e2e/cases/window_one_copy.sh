# A second copy started while one runs says so, brings the first one's window to the front and
# ends without writing a line; a tool that holds Setup.log open for writing does not stop the
# first copy's logging.
e2e_prefix winxp
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
hold C:\corvane\Setup.log
minimize
another $PROGRAM
expect-box "Corvane Wirewise is already running." ok
expect-exit 0
back
expect-front
tick chkConnected
click cmdWrite
close
expect-exit 0
EOS
log_expect_count "->" 1
log_expect_first "->"
log_expect_order " *Reading...*" " *Set clicked*" "<-"
log_expect_last "<-"
