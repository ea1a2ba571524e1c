# Setup run on NT 4.0 that finishes through the WMI stand-in: the adapter's own Tcpip key takes
# DHCP and the PC's name servers and DNS domain are emptied, as NT 4 keeps them; the write pass
# line for line, the five calls, the restart offer answered No, and the restore file bringing
# every touched key back byte for byte.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_finishing_run nt40 <<'EOS'
instance	1	@GUID@	1	eth0
EOS
