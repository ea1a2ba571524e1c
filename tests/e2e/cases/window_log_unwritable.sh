# Where Setup.log cannot be written the program runs as usual and shows nothing more than it
# shows where the log can be written.
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
# The boxes alike but for the folder that the restore file's path names.
mapfile -t locked_boxes < <(grep '^box: ' "$DRIVER_OUT" | sed 's/^box: //; s/C:\\locked\\/C:\\corvane\\/')
[ -d "$locked_log" ] && [ -z "$(ls -A "$locked_log")" ] || e2e_fail "Setup.log was touched"

e2e_install wirewise.exe corvane
e2e_drive <<<"$script"
driver_expect_boxes "${locked_boxes[@]}"
log_expect_first "->"
log_expect_last "<-"
