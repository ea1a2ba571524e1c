# Setup run on Windows 7 that finishes through the WMI stand-in with two instances described as
# eth0 (two cards of one model): only the one whose SettingID is the chosen adapter's GUID is
# switched. The write pass line for line, the five calls, the restart offer answered No, and the
# restore file bringing every touched key back byte for byte.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_finishing_run win7 <<'EOS'
instance	7	{11111111-2222-3333-4444-555555555555}	1	eth0
instance	8	@GUID@	1	eth0
EOS
