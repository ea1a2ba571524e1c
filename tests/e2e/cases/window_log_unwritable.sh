# Where Setup.log cannot be written beside the program, the program runs as usual and shows
# nothing more than where the log can be written. Its data folder is made, but Wine keeps no
# rights on a folder: it reads back as owned by the Unix user's account with that account's
# write access, as a folder a user made would be on Windows, so it is refused (the vendor's
# folder, the first made, already). No log is then
# written anywhere, and no box sends the user to one.
e2e_prefix winxp
e2e_install wirewise.exe locked
mkdir "$LOG" # a folder where the file would be
locked_log=$LOG
script='
start $PROGRAM
window "Corvane Wirewise"
settle
tick chkConnected
click cmdWrite
expect-enabled cmdWrite 1
click cmdToggle
expect-outer-height 3330
close
expect-exit 0'
e2e_drive <<<"$script"
! grep -q 'Setup\.log' "$DRIVER_OUT" || e2e_fail "a box names a Setup.log that was not written"
mapfile -t locked_boxes < <(grep '^box: ' "$DRIVER_OUT" | sed 's/^box: //; s/C:\\locked\\/C:\\corvane\\/')
[ -d "$locked_log" ] && [ -z "$(ls -A "$locked_log")" ] || e2e_fail "Setup.log was touched"
# The vendor's folder is made first and refused at once: nothing is made or written in it.
vendor_dir=$PREFIX/drive_c/ProgramData/Corvane
[ -d "$vendor_dir" ] || e2e_fail "the data folder was not made"
[ -z "$(ls -A "$vendor_dir")" ] || e2e_fail "something in a folder that anyone may write in: $(ls "$vendor_dir")"

# The same run beside a writable Setup.log: the same boxes, but for the sentence on the log.
e2e_install wirewise.exe corvane
e2e_drive <<<"$script"
mapfile -t boxes < <(grep '^box: ' "$DRIVER_OUT" | sed 's/^box: //
    s/\\r\\n\\r\\nSetup\.log beside this program lists every setting before and after this run\.//')
[ "${#boxes[@]}" -gt 0 ] && [ "$(printf '%s\n' "${boxes[@]}")" = "$(printf '%s\n' "${locked_boxes[@]}")" ] ||
    e2e_fail "the boxes differ: $(printf '%s\n' "${locked_boxes[@]}") against $(printf '%s\n' "${boxes[@]}")"
log_expect_first "->"
log_expect_last "<-"
