# Setup run, Windows 98, that fails in its write pass: "Set IE to Auto Detect" is ticked and the
# DefaultConnectionSettings blob is too short to hold its flags (8 bytes), so the pass ends at its
# error box after "Autokey = ". The run still logs " *Reading...*", the read pass (the Internet
# Settings written before the failure, the adapter's addresses untouched) and the report, then
# "Setup incomplete" and the box that names the restore file; no restart is offered. The restore
# file brings every touched key back as it was.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
SR_DEF_CON="46 00 00 00 07 00 00 00"
sr_prepare win98
sr_export_touched untouched
e2e_drive <<<"$(sr_steps_before_setup)
click cmdWrite
close
expect-exit 0"

ie="$SR_USER\\$SR_IE"
log_expect_count " *Reading...*" 2
# The write pass up to its failure, line for line.
tr -d '\r' <"$LOG" | awk '/^ \*Set clicked\*$/ { on = 1; next } /^ \*Reading\.\.\.\*$/ { on = 0 } on' \
    >"$CASE_DIR/write.got"
printf '%s\n' "Backup = $SR_BACKUP" "Selected: $SR_NIC" "Setting values" "Connection:" \
    "Auto Dial" OK "No Net Auto" OK Proxy OK "Auto URL" OK \
    "Auto Dial - Current" OK "No Net Auto - Current" OK "Proxy - Current" OK \
    "Auto URL - Current" OK "Autokey = $ie\\Connections" >"$CASE_DIR/write.want"
sr_compare "write pass" "$CASE_DIR/write.want" "$CASE_DIR/write.got"
# The read pass after the run shows the state the PC is in; the report and the ending follow.
log_expect_order " *Set clicked*" " *Reading...*" "Selected: $SR_NIC" "Connection:" \
    ">AutoDial = 0" ">NoNetAuto = 0" ">Proxy = 0" ">Auto URL = " \
    ">AutoDial - Current = 0" ">NoNetAuto - Current = 0" ">Proxy - Current = 0" \
    ">Auto URL - Current = " "NIC: $SR_NIC" ">Enable DNS = 1" ">IP Address = 192.168.7.50" \
    ">Subnet Mask = 255.255.255.0" " -- Checking status: ipconfig --" " -- Ipconfig complete --"
tr -d '\r' <"$LOG" | tail -n 3 >"$CASE_DIR/end.got"
printf '%s\n' " -- Ipconfig complete --" "Setup incomplete" "<-" >"$CASE_DIR/end.want"
sr_compare "the run's last lines" "$CASE_DIR/end.want" "$CASE_DIR/end.got"
log_expect_count "Attempt to reboot" 0
log_expect_count "Completed Setup" 0
driver_expect_boxes "An error occured in reading/writing the network" \
    "Setup could not finish setting up your network.\\r\\n\\r\\nSetup.log beside this program lists every setting before and after this run.\\r\\n\\r\\nTo put your previous settings back, open $SR_BACKUP."
# What the pass reached is written, what it did not is as it was.
reg_expect "HKU\\$ie" ProxyEnable 0x0
reg_expect "HKLM\\$SR_CCS\\Services\\Class\\NetTrans\\0001" IPAddress 192.168.7.50
reg_expect "HKU\\$ie\\Connections" DefaultConnectionSettings 4600000007000000
sr_check_restore
