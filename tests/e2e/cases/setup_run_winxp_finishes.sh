# Setup run on Windows XP that finishes through the WMI stand-in, where WMI describes the adapter
# with the packet scheduler's suffix that IP Helper's description lacks: its SettingID, the GUID
# IP Helper names, finds it. The write pass line for line, the five calls, the restart offer
# answered No, and the restore file bringing every touched key back byte for byte.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_finishing_run winxp <<'EOS'
instance	1	{11111111-2222-3333-4444-555555555555}	1	WAN Miniport (IP)
instance	2	@GUID@	1	eth0 - Packet Scheduler Miniport
EOS
