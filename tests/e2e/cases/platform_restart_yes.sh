# The restart question answered Yes: "Rebooting" and a restart request that Wine accepts. Wine
# then ends every other process of the prefix, the driver among them, so this case has a prefix
# of its own and does not take the driver's end as a failure. Windows 98: the road on which a run
# under Wine gets through; its lease calls' boxes are answered on the way.
e2e_prefix win98
question="Setup has finished setting up your network. Your PC needs to be rebooted before the changes can be applied. Please save your work and close any other applications.\\r\\n\\r\\nDo you wish to reboot now?\\r\\n\\r\\nSelect 'Yes' to reboot now. Select 'No' to reboot later."
cat >"$PREFIX/drive_c/e2e/restart.txt" <<EOS
start C:\\corvane\\wirewise.exe
window "Corvane Wirewise"
settle
tick chkConnected
press cmdWrite
await-box "$question" 60000
expect-box "$question" yes
EOS
e2e_session
DRIVER_OUT=$CASE_DIR/restart.out
(cd "$PREFIX/drive_c/e2e" && e2e_in_session wine 'C:\e2e\e2e_driver.exe' 'C:\e2e\restart.txt' \
    >"$DRIVER_OUT" 2>>"$CASE_DIR/wine.err") || true
grep -q '^FAIL' "$DRIVER_OUT" && { cat "$DRIVER_OUT" >&2; e2e_fail "the driver failed"; }
# The line is written before the request; give the program a moment when the driver went first.
for _ in $(seq $((50 * E2E_SCALE))); do
    log_lines | grep -qx "Rebooting" && break
    sleep 0.1
done
log_expect_order "Attempt to reboot" "Rebooting"
log_expect_count "Reboot cancelled" 0
if log_lines | grep -q '^Reboot error: '; then e2e_fail "the restart request was refused"; fi
