# Windows 10 through the WMI stand-in: every method answers 84 (IP not enabled on the adapter,
# or on Windows 7 and later an unplugged one): the run failed. Each answer is logged, the box
# names the restore file, no restart is offered.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_prepare win10 <<'EOS'
instance	1	@GUID@	1	eth0
answer	@GUID@	EnableDHCP	84
answer	@GUID@	SetDNSServerSearchOrder	84
answer	@GUID@	SetDNSDomain	84
answer	@GUID@	ReleaseDHCPLease	84
answer	@GUID@	RenewDHCPLease	84
EOS
wr_run
wr_expect_write "EnableDHCP = 84" "SetDNSServerSearchOrder = 84" "SetDNSDomain = 84" \
    "DHCP Release = 84" "DHCP Renew = 84" "IP, DNS & DHCP = False" "Outcome = Failed" \
    "Completed Setup"
driver_expect_boxes "$WR_INCOMPLETE"
log_expect_last "<-"
log_expect_order " -- Ipconfig complete --" "Setup incomplete" "<-"
log_expect_count "Attempt to reboot" 0
