# Setup runs on the NT roads through the WMI stand-in (wmi_standin/), which lets them finish:
# the seeded PC of setup_run.sh, the instances and answers each case gives, and checks of the
# write pass line for line, the calls WMI received and the ending.
source "$(dirname "${BASH_SOURCE[0]}")/setup_run.sh"

WR_RESTART="Setup has finished setting up your network. Your PC needs to be rebooted before the changes can be applied. Please save your work and close any other applications.\\r\\n\\r\\nDo you wish to reboot now?\\r\\n\\r\\nSelect 'Yes' to reboot now. Select 'No' to reboot later."
WR_NO_ADDRESS="Setup has switched this PC to get its settings from the router, but the router has not given it an address yet.\\r\\n\\r\\nCheck the cable to the router, then restart the PC."
WR_INCOMPLETE="Setup could not finish setting up your network.\\r\\n\\r\\nSetup.log beside this program lists every setting before and after this run.\\r\\n\\r\\nTo put your previous settings back, open $SR_BACKUP."

# The five calls on the chosen adapter's instance, each answered 0, as wmi-calls.txt shows them.
wr_calls() {
    printf '%s\n' "EnableDHCP $SR_GUID -> 0" \
        "SetDNSServerSearchOrder $SR_GUID DNSServerSearchOrder=null -> 0" \
        "SetDNSDomain $SR_GUID DNSDomain=\"\" -> 0" "ReleaseDHCPLease $SR_GUID -> 0" \
        "RenewDHCPLease $SR_GUID -> 0"
}

# sr_prepare for ROAD, then the stand-in with the seed on standard input, @GUID@ standing for
# the GUID IP Helper gives eth0.
wr_prepare() {
    local seed
    seed=$(cat)
    sr_prepare "$1"
    sed "s/@GUID@/$SR_GUID/g" <<<"$seed" >"$CASE_DIR/wmi-seed.txt"
    e2e_wmi_standin <"$CASE_DIR/wmi-seed.txt"
}

# The setup run, every box answered with its default (OK, or No to the restart question).
wr_run() {
    e2e_drive <<<"$(sr_steps_before_setup)
click cmdWrite
close
expect-exit 0"
}

# The write pass is what setup_run.sh expects up to "NIC setup", then the lines given.
wr_expect_write() {
    tr -d '\r' <"$LOG" | sed 's/\x0/<NUL>/g' |
        awk '/^ \*Set clicked\*$/ { on = 1; next } /^ \*Reading\.\.\.\*$/ { on = 0 } on' \
            >"$CASE_DIR/write.got"
    {
        sr_expected_write
        printf '%s\n' "$@"
    } >"$CASE_DIR/write.want"
    sr_compare "write pass" "$CASE_DIR/write.want" "$CASE_DIR/write.got"
}

# WMI received exactly these method calls (the connection and the query left out).
wr_expect_calls() {
    tr -d '\r' <"$WMI_CALLS" | grep -v '^ExecQuery \|^ConnectServer ' >"$CASE_DIR/calls.got" || true
    printf '%s\n' "$@" | sed '/^$/d' >"$CASE_DIR/calls.want"
    sr_compare "WMI calls" "$CASE_DIR/calls.want" "$CASE_DIR/calls.got"
}

# A run that finishes: the write pass, the calls, the restart offer answered No, the adapter's
# keys as Windows leaves them, and the restore file bringing every touched key back byte for
# byte. The seed comes on standard input, as for wr_prepare.
wr_finishing_run() {
    wr_prepare "$1"
    sr_export_touched untouched
    wr_run
    wr_expect_write "IP on auto" "DNS on auto" "DNS domains reset" "Releasing DHCP Lease" \
        "Renewing DHCP Lease" "IP, DNS & DHCP = True" "Outcome = Done" "Completed Setup"
    log_expect_line 6 "$SR_SID"
    log_expect_order " *Set clicked*" " *Reading...*" " -- Checking status: ipconfig --" \
        " -- Ipconfig complete --" "Attempt to reboot" "Reboot cancelled" "<-"
    log_expect_count "Setup incomplete" 0
    driver_expect_boxes "$WR_RESTART"
    mapfile -t calls < <(wr_calls)
    wr_expect_calls "${calls[@]}"
    local addressing="HKLM\\$SR_CCS\\Services\\Tcpip\\Parameters\\Interfaces\\$SR_GUID"
    local dns=$addressing
    if [ "$SR_OS" = 2 ]; then
        addressing="HKLM\\$SR_CCS\\Services\\$SR_GUID\\Parameters\\Tcpip"
        dns="HKLM\\$SR_CCS\\Services\\Tcpip\\Parameters"
    fi
    reg_expect "$addressing" EnableDHCP 0x1
    reg_expect "$addressing" IPAddress '0.0.0.0'
    reg_expect "$dns" NameServer ""
    reg_expect "$dns" Domain ""
    sr_check_restore
}
