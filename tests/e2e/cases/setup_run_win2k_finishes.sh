# Setup run on Windows 2000 that finishes through the WMI stand-in (the gateways go, as they always
# do there); the write pass line for line, the five calls, the restart offer answered No, and the
# restore file bringing every touched key back byte for byte.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_finishing_run win2k <<'EOS'
instance	1	@GUID@	1	eth0
EOS
