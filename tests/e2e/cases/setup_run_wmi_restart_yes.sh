# A Windows 10 run that finishes through the WMI stand-in, its restart question answered Yes:
# "Rebooting" and a restart request that Wine accepts. Wine then ends every other process of the
# prefix, the driver among them, so the driver's end is no failure here (as on the Windows 98
# road's case of the same question).
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_prepare win10 <<'EOS'
instance	1	@GUID@	1	eth0
EOS
question=$WR_RESTART
{
    sr_steps_before_setup
    printf '%s\n' "press cmdWrite" "await-box \"$question\" 60000" "expect-box \"$question\" yes"
} >"$PREFIX/drive_c/e2e/restart.txt"
DRIVER_OUT=$CASE_DIR/restart.out
(cd "$PREFIX/drive_c/e2e" && e2e_in_session wine 'C:\e2e\e2e_driver.exe' 'C:\e2e\restart.txt' \
    >"$DRIVER_OUT" 2>>"$CASE_DIR/wine.err") || true
grep -q '^FAIL' "$DRIVER_OUT" && { cat "$DRIVER_OUT" >&2; e2e_fail "the driver failed"; }
# The line is written before the request; give the program a moment when the driver went first.
for _ in $(seq 50); do
    log_lines | grep -qx "Rebooting" && break
    sleep 0.1
done
log_expect_order "IP, DNS & DHCP = True" "Outcome = Done" "Completed Setup" "Attempt to reboot" \
    "Rebooting"
log_expect_count "Reboot cancelled" 0
if log_lines | grep -q '^Reboot error: '; then e2e_fail "the restart request was refused"; fi
