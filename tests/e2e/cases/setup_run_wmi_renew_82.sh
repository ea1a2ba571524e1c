# Windows 7 through the WMI stand-in: RenewDHCPLease answers 82 (no DHCP server answered), but
# eth0 holds an address of the router's network all the same (the rig's 192.168.1.10): done.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_prepare win7 <<'EOS'
instance	1	@GUID@	1	eth0
answer	@GUID@	RenewDHCPLease	82
EOS
wr_run
wr_expect_write "IP on auto" "DNS on auto" "DNS domains reset" "Releasing DHCP Lease" \
    "DHCP Renew = 82" "IP, DNS & DHCP = True" "Outcome = Done" "Completed Setup"
driver_expect_boxes "$WR_RESTART"
log_expect_order "Attempt to reboot" "Reboot cancelled" "<-"
