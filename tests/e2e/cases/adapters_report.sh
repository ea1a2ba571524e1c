# After a setup run the log holds the ipconfig-style report of the namespace, line for line:
# host name, its name server, both adapters with address, mask, gateway and physical address,
# then the closing line and the end of the run (Wine's WMI switches nothing: "Setup incomplete").
e2e_prefix winxp
e2e_drive <<'EOS'
start C:\corvane\wirewise.exe
window "Corvane Wirewise"
settle
tick chkConnected
click cmdWrite
close
expect-exit 0
EOS
report=$(log_lines | sed -n '/^ -- Checking status: ipconfig --$/,/^ -- Ipconfig complete --$/p')
lease="Thursday, Jan 1 00:00:00 1970"
expected=$(cat <<EOR
 -- Checking status: ipconfig --
Host Name:  $(hostname)
DNS Servers:  192.168.1.1
Node type: Hybrid
NetBIOS Scope ID:  
IP Routing not enabled
WINS Proxy not Enabled 
NetBIOS Resolution Does not use DNS  
Adapter name: Ethernet adapter 
 AdapterDescription: eth0
 Physical Address: 00-11-22-33-44-55
 DHCP Enabled 
 IP Address: 192.168.1.10
 Subnet Mask: 255.255.255.0
 Default Gateway: 192.168.1.1
 DHCP Server: 
 Primary WINS Server: 
 Secondary WINS Server: 
 Lease Obtained: $lease
 Lease Expires : $lease
Adapter name: Ethernet adapter 
 AdapterDescription: wlan0
 Physical Address: 00-AA-BB-CC-DD-EE
 DHCP Enabled 
 IP Address: 10.0.0.5
 Subnet Mask: 255.0.0.0
 Default Gateway: 0.0.0.0
 DHCP Server: 
 Primary WINS Server: 
 Secondary WINS Server: 
 Lease Obtained: $lease
 Lease Expires : $lease
 -- Ipconfig complete --
EOR
)
[ "$report" = "$expected" ] ||
    e2e_fail "the report differs: $(diff <(echo "$expected") <(echo "$report") | head -20)"
log_expect_count " -- Checking status: ipconfig --" 1
log_expect_order " *Set clicked*" " *Reading...*" " -- Checking status: ipconfig --" \
    " -- Ipconfig complete --" "Setup incomplete" "<-"
