# A Windows without IP Helper of its own (Windows 95, NT 4 before SP4): the library files beside
# the program still load and answer every call with ERROR_NOT_SUPPORTED (50), so start-up finds
# no adapter and the Windows 9x road's lease refresh fails quietly instead of ending the run; with
# no address to be found either, the run tells the user that the router has not answered yet and
# still offers the restart.
E2E_DLL_OVERRIDES="iphlpapi=d"
e2e_prefix win98
e2e_drive <<'EOS'
start C:\corvane\wirewise.exe
expect-box "No Network adapters were found.\r\nThis program requires at least one adapter to be installed (inc. drivers).\r\nPlease install a network adapter card or the USB network adapter driver." ok
window "Corvane Wirewise"
settle
expect-rows cboNIC 0
tick chkConnected
click cmdWrite
close
expect-exit 0
EOS
! grep -q '^box: An error occured' "$DRIVER_OUT" || e2e_fail "the setup run ended with an error"
log_expect_order "OS = Win98" "GetAdaptersInfo sizing failed with error 50" \
    "No Network adapters found" " *Set clicked*" "Attempt to refresh DHCP" "DHCP = False" \
    "Outcome = No address from the router yet" "Completed Setup" " -- Checking status: ipconfig --" \
    "GetNetworkParams sizing failed with error 50" "Attempt to reboot" "<-"
grep -q '^box: Setup has switched this PC to get its settings from the router, but the router has not given it an address yet' "$DRIVER_OUT" ||
    e2e_fail "no box about the missing address"
