# Windows XP through the WMI stand-in: ReleaseDHCPLease answers 83 (no lease to give back right
# after EnableDHCP on an adapter that had a fixed address) and the renewal succeeds: the run is
# done and offers the restart.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_prepare winxp <<'EOS'
instance	1	@GUID@	1	eth0
answer	@GUID@	ReleaseDHCPLease	83
EOS
wr_run
wr_expect_write "IP on auto" "DNS on auto" "DNS domains reset" "DHCP Release = 83" \
    "Renewing DHCP Lease" "IP, DNS & DHCP = True" "Outcome = Done" "Completed Setup"
mapfile -t calls < <(wr_calls | sed 's/^\(ReleaseDHCPLease .*\) -> 0$/\1 -> 83/')
wr_expect_calls "${calls[@]}"
driver_expect_boxes "$WR_RESTART"
log_expect_order "Attempt to reboot" "Reboot cancelled" "<-"
