# Where Setup.log cannot be written beside the program, it goes to the program's data folder and
# the program runs as usual: it shows nothing more than it shows where the log can be written,
# and its failure box names that folder instead of the program's.
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
grep -qF 'Setup.log in C:\ProgramData\Corvane\Wirewise lists every setting' "$DRIVER_OUT" ||
    e2e_fail "no box names the data folder"
# The boxes alike but for the folders that the log's place and the restore file's path name.
mapfile -t locked_boxes < <(grep '^box: ' "$DRIVER_OUT" | sed 's/^box: //; s/C:\\locked\\/C:\\corvane\\/
    s/Setup\.log in C:\\ProgramData\\Corvane\\Wirewise lists/Setup.log beside this program lists/')
[ -d "$locked_log" ] && [ -z "$(ls -A "$locked_log")" ] || e2e_fail "Setup.log was touched"
data_log=$PREFIX/drive_c/ProgramData/Corvane/Wirewise/Setup.log
[ "$(head -n 1 "$data_log" | tr -d '\r')" = "->" ] && [ "$(tail -n 1 "$data_log" | tr -d '\r')" = "<-" ] ||
    e2e_fail "the data folder's Setup.log is not the whole run's"

e2e_install wirewise.exe corvane
e2e_drive <<<"$script"
driver_expect_boxes "${locked_boxes[@]}"
log_expect_first "->"
log_expect_last "<-"
