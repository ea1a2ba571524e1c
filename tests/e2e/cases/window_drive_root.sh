# A program at the drive's root logs to the root's Setup.log (one backslash).
e2e_prefix winxp wirewise.exe .
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
close
expect-exit 0
EOS
[ "$LOG" = "$PREFIX/drive_c/Setup.log" ] || e2e_fail "unexpected LOG $LOG"
log_expect_first "->"
log_expect_line 2 "wirewise 1.0.10"
log_expect_last "<-"
