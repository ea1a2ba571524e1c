# Two setup runs append two sequences; the button stays enabled and the box ticked; "<-" ends
# the run. Message boxes of the run are answered with their default (Wine's WMI switches nothing,
# so each run ends with "Setup incomplete").
e2e_prefix winxp
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
tick chkConnected
click cmdWrite
expect-enabled cmdWrite 1
expect-checked chkConnected 1
click cmdWrite
expect-enabled cmdWrite 1
close
expect-exit 0
EOS
log_expect_first "->"
log_expect_last "<-"
log_expect_count " *Set clicked*" 2
log_expect_count "Setup incomplete" 2
log_expect_count " *Reading...*" 3
log_expect_count "->" 1
log_expect_count "<-" 1
log_expect_order "->" "wirewise 1.0.10" " *Reading...*" \
    " *Set clicked*" " *Reading...*" "Setup incomplete" \
    " *Set clicked*" " *Reading...*" "Setup incomplete" "<-"
