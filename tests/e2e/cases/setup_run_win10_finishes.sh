# Setup run on Windows 10 that finishes, with the WMI stand-in in place of Wine's WMI: the
# adapter's instance carries the GUID IP Helper names as its SettingID while its description
# differs; another instance has eth0's description and is left alone. The write pass line for
# line, the five calls with their arguments, the restart offer answered No, the registry as
# Windows leaves it, and the restore file bringing every touched key back byte for byte.
source "$(dirname "${BASH_SOURCE[0]}")/../wmi_run.sh"
wr_finishing_run win10 <<'EOS'
instance	1	{11111111-2222-3333-4444-555555555555}	1	eth0
instance	2	@GUID@	1	eth0 #2
EOS
