# Windows 10 through the WMI stand-in: EnableDHCP answers 1, done once Windows restarts. The run is
# done with a restart needed and offers the restart; the answer keeps its number in the log.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_prepare win10 <<'EOS'
instance	1	@GUID@	1	eth0
answer	@GUID@	EnableDHCP	1
EOS
wr_run
wr_expect_write "EnableDHCP = 1" "DNS on auto" "DNS domains reset" "Releasing DHCP Lease" \
    "Renewing DHCP Lease" "IP, DNS & DHCP = True" "Outcome = Done, restart needed" \
    "Completed Setup"
driver_expect_boxes "$WR_RESTART"
log_expect_order "Attempt to reboot" "Reboot cancelled" "<-"
reg_expect "HKLM\\$SR_CCS\\Services\\Tcpip\\Parameters\\Interfaces\\$SR_GUID" EnableDHCP 0x1
