# Setup run on Windows 10 that finishes, with the WMI stand-in in place of Wine's WMI: the
# adapter's instance carries the GUID IP Helper names as its SettingID (its description differs,
# as XP's packet scheduler makes it), a second instance with eth0's description is left alone,
# the five methods answer 0, and the run ends with the restart offer (answered No). The write
# pass line for line, the calls WMI received with their arguments, and the registry as Windows
# leaves it.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
sr_prepare win10
e2e_wmi_standin <<EOS
instance	1	{11111111-2222-3333-4444-555555555555}	1	$SR_NIC
instance	2	$SR_GUID	1	$SR_NIC - Packet Scheduler Miniport
EOS
e2e_drive <<<"$(sr_steps_before_setup)
click cmdWrite
close
expect-exit 0"

visible=$CASE_DIR/log.txt
tr -d '\r' <"$LOG" | sed 's/\x0/<NUL>/g' >"$visible"
awk '/^ \*Set clicked\*$/ { on = 1; next } /^ \*Reading\.\.\.\*$/ { on = 0 } on' "$visible" \
    >"$CASE_DIR/write.got"
{
    sr_expected_write
    printf '%s\n' "IP on auto" "DNS on auto" "DNS domains reset" "Releasing DHCP Lease" \
        "Renewing DHCP Lease" "IP, DNS & DHCP = True" "Outcome = Done" "Completed Setup"
} >"$CASE_DIR/write.want"
sr_compare "write pass" "$CASE_DIR/write.want" "$CASE_DIR/write.got"
log_expect_order " *Set clicked*" " *Reading...*" " -- Checking status: ipconfig --" \
    " -- Ipconfig complete --" "Attempt to reboot" "Reboot cancelled" "<-"
log_expect_count "Setup incomplete" 0
driver_expect_boxes "Setup has finished setting up your network. Your PC needs to be rebooted before the changes can be applied. Please save your work and close any other applications.\\r\\n\\r\\nDo you wish to reboot now?\\r\\n\\r\\nSelect 'Yes' to reboot now. Select 'No' to reboot later."

# Only the chosen adapter's instance was called, each method once, with its arguments.
tr -d '\r' <"$WMI_CALLS" | grep -v '^ExecQuery\|^ConnectServer' >"$CASE_DIR/calls.got"
printf '%s\n' "EnableDHCP $SR_GUID -> 0" \
    "SetDNSServerSearchOrder $SR_GUID DNSServerSearchOrder=null -> 0" \
    "SetDNSDomain $SR_GUID DNSDomain=\"\" -> 0" "ReleaseDHCPLease $SR_GUID -> 0" \
    "RenewDHCPLease $SR_GUID -> 0" >"$CASE_DIR/calls.want"
sr_compare "WMI calls" "$CASE_DIR/calls.want" "$CASE_DIR/calls.got"
interface="HKLM\\$SR_CCS\\Services\\Tcpip\\Parameters\\Interfaces\\$SR_GUID"
reg_expect "$interface" EnableDHCP 0x1
reg_expect "$interface" NameServer ""
