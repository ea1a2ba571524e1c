# Windows 2000 through the WMI stand-in: EnableDHCP answers 94 (the configuration busy) and then
# 0: the same method is called again 2 s later, both answers logged, and the run is done.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_prepare win2k <<'EOS'
instance	1	@GUID@	1	eth0
answer	@GUID@	EnableDHCP	94	0
EOS
wr_run
wr_expect_write "EnableDHCP = 94" "IP on auto" "DNS on auto" "DNS domains reset" \
    "Releasing DHCP Lease" "Renewing DHCP Lease" "IP, DNS & DHCP = True" "Outcome = Done" \
    "Completed Setup"
mapfile -t calls < <(wr_calls)
wr_expect_calls "EnableDHCP $SR_GUID -> 94" "${calls[@]}"
driver_expect_boxes "$WR_RESTART"
