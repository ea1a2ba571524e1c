# Windows XP through the WMI stand-in: RenewDHCPLease answers 82 and eth0 holds only an address
# Windows picks for itself (169.254.x.x): the PC is switched, but the router has not given it an
# address yet. The box says so, then the restart is offered (answered No).
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_prepare winxp <<'EOS'
instance	1	@GUID@	1	eth0
answer	@GUID@	RenewDHCPLease	82
EOS
ip -n "$NS" addr flush dev eth0
ip -n "$NS" addr add 169.254.3.4/16 dev eth0
wr_run
wr_expect_write "IP on auto" "DNS on auto" "DNS domains reset" "Releasing DHCP Lease" \
    "DHCP Renew = 82" "IP, DNS & DHCP = False" "Outcome = No address from the router yet" \
    "Completed Setup"
driver_expect_boxes "$WR_NO_ADDRESS" "$WR_RESTART"
log_expect_order "Outcome = No address from the router yet" " -- Ipconfig complete --" \
    "Attempt to reboot" "Reboot cancelled" "<-"
log_expect_count "Setup incomplete" 0
