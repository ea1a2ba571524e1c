# The restart question at the end of a setup run, answered No: "Reboot cancelled", no restart
# request, and the program goes on until it is closed. Windows 98: the road on which a run under
# Wine gets through (Wine's WMI switches no NT adapter).
e2e_prefix win98
e2e_drive <<'EOS'
start C:\corvane\wirewise.exe
window "Corvane Wirewise"
settle
tick chkConnected
click cmdWrite
expect-enabled cmdWrite 1
close
expect-exit 0
EOS
question="Setup has finished setting up your network. Your PC needs to be rebooted before the changes can be applied. Please save your work and close any other applications.\\r\\n\\r\\nDo you wish to reboot now?\\r\\n\\r\\nSelect 'Yes' to reboot now. Select 'No' to reboot later."
[ "$(tr -d '\r' <"$DRIVER_OUT" | grep '^box: ' | tail -n 1)" = "box: $question" ] ||
    e2e_fail "the last box is not the restart question"
log_expect_order "Attempt to reboot" "Reboot cancelled" "<-"
log_expect_count "Rebooting" 0
log_expect_last "<-"
