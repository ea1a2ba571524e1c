# On the Windows 9x road each adapter's device key is searched below Enum\PCI by its
# description; its MSTCP binding leads to the NetTrans instance that becomes the adapter's key.
e2e_prefix win98
dev='HKLM\Enum\PCI\VEN_10EC&DEV_8139\BUS_00&DEV_0B&FUNC_00'
e2e_reg add "$dev" /v Class /t REG_SZ /d Net /f
e2e_reg add "$dev" /v DeviceDesc /t REG_SZ /d eth0 /f
e2e_reg add "$dev\\Bindings" /v 'NETBEUI\0000' /t REG_SZ /d '' /f
e2e_reg add "$dev\\Bindings" /v 'MSTCP\0001' /t REG_SZ /d '' /f
e2e_reg add 'HKLM\Enum\Network\MSTCP\0001' /v Driver /t REG_SZ /d 'NetTrans\0001' /f
# Only the adapter's NetTrans key holds an address: the read pass shows it only when the stage
# made 0001 the adapter's key.
nettrans='HKLM\System\CurrentControlSet\Services\Class\NetTrans'
e2e_reg add "$nettrans\\0001" /v IPAddress /t REG_SZ /d 192.168.1.10 /f
e2e_reg add "$nettrans\\0001" /v IPMask /t REG_SZ /d 255.255.255.0 /f
e2e_drive <<'EOS'
start C:\corvane\wirewise.exe
window "Corvane Wirewise"
settle
expect-rows cboNIC 2
expect-row cboNIC 0 "eth0"
close
expect-exit 0
EOS
log_expect_order "OS = Win98" "1, eth0" "2, wlan0" " *Reading...*" "NIC: eth0" \
    ">IP Address = 192.168.1.10" ">Subnet Mask = 255.255.255.0" "<-"
