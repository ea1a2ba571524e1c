# A close request while a setup run waits in its restart question asks whether to close the busy
# program: No keeps it running (the run ends as usual, "<-" at the close), Yes ends it at once
# without "<-". Windows 98: the road on which a run under Wine reaches the restart question.
restart="Setup has finished setting up your network. Your PC needs to be rebooted before the changes can be applied. Please save your work and close any other applications.\r\n\r\nDo you wish to reboot now?\r\n\r\nSelect 'Yes' to reboot now. Select 'No' to reboot later."
busy="The program is busy - do you still wish to close it?"
until_restart="start \$PROGRAM
window \"Corvane Wirewise\"
settle
tick chkConnected
press cmdWrite
await-box \"$restart\""

e2e_prefix win98
e2e_drive <<<"$until_restart
close
expect-box \"$busy\" no
expect-box \"$restart\" no
settle
expect-enabled cmdWrite 1
close
expect-exit 0"
log_expect_order " *Set clicked*" "Attempt to reboot" "Reboot cancelled" "<-"
log_expect_count "<-" 1
log_expect_last "<-"

e2e_install wirewise.exe again
e2e_drive <<<"$until_restart
close
expect-box \"$busy\" yes
expect-exit 0"
log_expect_last "Attempt to reboot"
log_expect_count "<-" 0
