# One setup run of wirewise on a PC that was set up for another network, checked end to end.
# Sourced by the cases setup_run_*.sh after lib.sh:
#
#   setup_run ROAD [gates]    ROAD: win98 nt40 win2k winxp win7 win10; "gates" ticks "Clear Gateways"
#
# The registry gets dial-up, a proxy and its script, both connection blobs with the proxy flag,
# fixed gateways, name servers and DNS domains for eth0 and the PC (and on the Windows 9x roads
# the MSTCP and NetTrans values with the device-key chain that names NetTrans\0001). The driver
# picks eth0, confirms, ticks "Set IE to Auto Detect" (and "Clear Gateways"), presses "Setup
# Network" and answers every box with its default. Then:
#   - Setup.log's three settings passes (start-up read, write, read after) line for line, the SID
#     line of the NT roads and the run's last lines;
#   - the message boxes that Wine's IP Helper and WMI answers lead to, and how the run ends;
#   - the rewritten values as "reg query" shows them;
#   - a whole-registry export before and after differs in exactly the rewritten values;
#   - the restore file written before the first change, imported with "regedit /S", gives every
#     touched key back byte for byte as exported before the run.

SR_SID=S-1-5-21-0-0-0-1000 # the user Wine runs as: its SID, and its name (root)
SR_USER=root
SR_IE='Software\Microsoft\Windows\CurrentVersion\Internet Settings'
SR_CCS='System\CurrentControlSet'
SR_NIC=eth0
SR_URL=http://wpad.other.lan/proxy.pac
SR_URL_CURRENT=http://wpad.other.lan/current.pac
SR_BACKUP='C:\corvane\Setup-backup.reg'

# The connection blobs as Internet Explorer keeps them: version, counter, flags 0x0B (direct,
# proxy, auto-detect) at offset 8, the proxy server and its bypass list, zero padding. The first
# ends on a zero byte, the second does not.
sr_blob() { # sr_blob COUNTER LENGTH LAST
    local head="46 00 00 00 $1 00 00 00 0b 00 00 00 0e 00 00 00" b
    local proxy bypass
    proxy=$(printf 'proxy.lan:8080' | od -An -tx1 -v)
    bypass=$(printf '<local>' | od -An -tx1 -v)
    b=$(echo "$head $proxy 07 00 00 00 $bypass" | xargs)
    local n
    n=$(wc -w <<<"$b")
    while [ "$n" -lt $(($2 - 1)) ]; do
        b="$b 00"
        n=$((n + 1))
    done
    echo "$b $3"
}
SR_DEF_CON=$(sr_blob 07 60 00)
SR_LEG_SAV=$(sr_blob 03 52 2a)

# Bytes "a b c" as .reg hex data "a,b,c".
sr_reg_hex() { echo "$1" | xargs | tr ' ' ','; }
# REG_MULTI_SZ data of the items.
sr_reg_multi() {
    local item out=""
    for item in "$@"; do out="$out$(printf '%s' "$item" | od -An -tx1 -v) 00 "; done
    sr_reg_hex "$out 00"
}
# The blob as the log shows it: a final zero byte is not read, and "00" closes the list.
sr_log_hex() {
    local b
    b=$(echo "$1" | xargs)
    if [ "${b##* }" = 00 ]; then b=${b% 00}; fi
    echo "$(sr_reg_hex "$b"),00"
}
# The blob with the flags byte replaced.
sr_flags() { echo "$1" | xargs | awk -v f="$2" '{ $9 = f; print }'; }

# Wine's win7 and win10 are NT builds that OsCode does not name: code 5 on the NT road.
sr_os_code() {
    case $1 in win98) echo 1 ;; nt40) echo 2 ;; win2k) echo 3 ;; winxp) echo 4 ;; *) echo 5 ;; esac
}

sr_seed() {
    local f=$CASE_DIR/seed.reg user_ie
    if [ "$SR_ROAD9X" = 1 ]; then user_ie="HKEY_USERS\\$SR_USER\\$SR_IE"; else user_ie="HKEY_USERS\\$SR_SID\\$SR_IE"; fi
    {
        echo REGEDIT4
        echo
        echo "[$user_ie]"
        echo '"EnableAutodial"=dword:00000001'
        echo '"NoNetAutodial"=dword:00000001'
        echo '"ProxyEnable"=dword:00000001'
        echo "\"AutoConfigURL\"=\"$SR_URL\""
        echo
        echo "[$user_ie\\Connections]"
        echo "\"DefaultConnectionSettings\"=hex:$(sr_reg_hex "$SR_DEF_CON")"
        echo "\"SavedLegacySettings\"=hex:$(sr_reg_hex "$SR_LEG_SAV")"
        echo
        if [ "$SR_ROAD9X" = 1 ]; then
            echo "[HKEY_USERS\\$SR_SID\\$SR_IE]"
            echo '"EnableAutodial"=dword:00000001'
            echo '"NoNetAutodial"=dword:00000001'
            echo '"ProxyEnable"=dword:00000001'
            echo "\"AutoConfigURL\"=\"$SR_URL_CURRENT\""
            echo
            echo "[HKEY_LOCAL_MACHINE\\$SR_CCS\\Services\\VxD\\MSTCP]"
            echo '"EnableDNS"="1"'
            echo
            echo "[HKEY_LOCAL_MACHINE\\$SR_CCS\\Services\\Class\\NetTrans\\0001]"
            echo '"IPAddress"="192.168.7.50"'
            echo '"IPMask"="255.255.255.0"'
            echo '"DefaultGateway"="192.168.7.1"'
            echo
            echo "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10\\BUS_00&DEV_0B&FUNC_00]"
            echo "\"DeviceDesc\"=\"$SR_NIC\""
            echo '"Class"="Net"'
            echo
            echo "[HKEY_LOCAL_MACHINE\\Enum\\PCI\\VEN_10EC&DEV_8139&SUBSYS_813910EC&REV_10\\BUS_00&DEV_0B&FUNC_00\\Bindings]"
            echo '"MSTCP\\0001"=""'
            echo
            echo "[HKEY_LOCAL_MACHINE\\Enum\\Network\\MSTCP\\0001]"
            echo '"Driver"="NetTrans\\0001"'
            echo
        fi
        # The NT family's values are there on every road: the Windows 9x road must leave them.
        local key
        for key in "$SR_CCS\\Services\\Tcpip\\Parameters\\Interfaces\\$SR_GUID" \
            "$SR_CCS\\Services\\$SR_GUID\\Parameters\\Tcpip"; do
            echo "[HKEY_LOCAL_MACHINE\\$key]"
            echo "\"DefaultGateway\"=hex(7):$(sr_reg_multi 192.168.7.1 192.168.7.254)"
            echo "\"DefaultGatewayMetric\"=hex(7):$(sr_reg_multi 0 0)"
            echo "\"IPAddress\"=hex(7):$(sr_reg_multi 192.168.7.50)"
            echo "\"SubnetMask\"=hex(7):$(sr_reg_multi 255.255.255.0)"
            echo '"EnableDHCP"=dword:00000000'
            if [ "${key#*Interfaces}" != "$key" ]; then
                echo "\"NameServer\"=hex(7):$(sr_reg_multi 192.168.7.1 192.168.7.2)"
                echo '"Domain"="other.lan"'
            fi
            echo
        done
        echo "[HKEY_LOCAL_MACHINE\\$SR_CCS\\Services\\Tcpip]"
        echo '"Start"=dword:00000001'
        echo
        # NT 4 keeps the PC's own name servers and DNS domain here, which its WMI switch empties.
        echo "[HKEY_LOCAL_MACHINE\\$SR_CCS\\Services\\Tcpip\\Parameters]"
        echo '"DhcpNameServer"="192.168.7.1"'
        echo '"NameServer"="192.168.7.1 192.168.7.2"'
        echo '"Domain"="other.lan"'
        echo
    } | sed 's/$/\r/' >"$f"
    cp "$f" "$PREFIX/drive_c/e2e/seed.reg"
    e2e_wine regedit /S 'C:\e2e\seed.reg' >>"$CASE_DIR/reg.out" 2>>"$CASE_DIR/wine.err" ||
        e2e_fail "seeding the registry failed"
}

# Whole registry as "[key] name=data" lines, one per value, and "[key]" per key.
sr_export() {
    e2e_wine regedit /E "C:\\e2e\\$1.reg" >>"$CASE_DIR/reg.out" 2>>"$CASE_DIR/wine.err" ||
        e2e_fail "exporting the registry failed"
    iconv -f UTF-16 -t UTF-8 "$PREFIX/drive_c/e2e/$1.reg" | tr -d '\r' | awk '
        /^\[/ && cont == "" { key = $0; print key; next }
        {
            line = cont (cont == "" ? $0 : substr($0, 3))
            if (line ~ /\\$/) { cont = substr(line, 1, length(line) - 1); next }
            cont = ""
            if (line != "" && line !~ /^(Windows Registry Editor|REGEDIT4|#)/) print key " " line
        }' >"$CASE_DIR/$1.values"
}

# --- what the passes log for this registry and Wine's answers -------------------------------

# The values of one pass, before (1) or after (2) the setup run.
sr_expected_read() {
    local after=$1 flags=0b dword=1 url=$SR_URL urlc=$SR_URL_CURRENT
    if [ "$after" = 1 ]; then flags=09; dword=0; url=; urlc=; fi
    echo "Selected: $SR_NIC"
    echo "Connection:"
    echo ">AutoDial = $dword"
    echo ">NoNetAuto = $dword"
    echo ">Proxy = $dword"
    echo ">Auto URL = $url"
    if [ "$SR_ROAD9X" = 1 ]; then
        echo ">AutoDial - Current = $dword"
        echo ">NoNetAuto - Current = $dword"
        echo ">Proxy - Current = $dword"
        echo ">Auto URL - Current = $urlc"
        echo "NIC: $SR_NIC"
        echo ">Enable DNS = $([ "$after" = 1 ] && echo 0 || echo 1)"
        echo ">IP Address = $([ "$after" = 1 ] && echo 0.0.0.0 || echo 192.168.7.50)"
        echo ">Subnet Mask = $([ "$after" = 1 ] && echo 0.0.0.0 || echo 255.255.255.0)"
        return
    fi
    echo ">Def Con = $(sr_log_hex "$(sr_flags "$SR_DEF_CON" $flags)")"
    echo ">Leg Sav = $(sr_log_hex "$(sr_flags "$SR_LEG_SAV" $flags)")"
    echo "NIC: $SR_NIC"
    local gw='192.168.7.1<NUL>192.168.7.254<NUL>' metric='0<NUL>0<NUL>'
    local ns='192.168.7.1<NUL>192.168.7.2<NUL>' dhcpns=192.168.7.1
    if [ "$after" = 1 ]; then
        ns=
        dhcpns=
        if [ "$SR_GATES_CLEARED" = 1 ]; then gw=; metric=; fi
    fi
    local area
    for area in 1 2; do
        echo "Area $area:"
        echo ">Default Gateway = $gw"
        echo ">Default Gateway Metric = $metric"
        echo ">IP Address = 192.168.7.50<NUL>"
        [ "$area" = 1 ] && echo ">Subnet Mask = 255.255.255.0<NUL>" || echo ">IP Mask = 255.255.255.0<NUL>"
        echo ">Enable DHCP = 0"
        if [ "$area" = 1 ]; then echo ">Name server = $ns"; fi
    done
    echo ">Start = 1"
    echo ">DHCP NS = $dhcpns"
}

# The write pass. Wine's IpReleaseAddress and IpRenewAddress answer 50, so neither lease line
# appears; the adapter keeps the address of the rig's network, so the refresh is done all the
# same; Wine's WMI class has no methods, so the first method call
# fails, the pass ends after "NIC setup" and its error box takes the place of the rest.
sr_expected_write() {
    local user=$SR_SID
    if [ "$SR_ROAD9X" = 1 ]; then user=$SR_USER; fi
    printf '%s\n' "Backup = $SR_BACKUP" "Selected: $SR_NIC" "Setting values" "Connection:" \
        "Auto Dial" OK "No Net Auto" OK Proxy OK "Auto URL" OK
    if [ "$SR_ROAD9X" = 1 ]; then
        printf '%s\n' "Auto Dial - Current" OK "No Net Auto - Current" OK \
            "Proxy - Current" OK "Auto URL - Current" OK
    fi
    printf '%s\n' "Autokey = $user\\$SR_IE\\Connections" "Setting Default Con" "Setting Legacy" \
        "Auto detect = True" "NIC(s):"
    if [ "$SR_ROAD9X" = 1 ]; then
        printf '%s\n' "Enable DNS" OK "IP Address" OK "Subnet Mask" OK \
            "Attempt to refresh DHCP" "DHCP = True" "Outcome = Done" "Completed Setup"
        return
    fi
    if [ "$SR_GATES_CLEARED" = 1 ]; then
        printf '%s\n' "Area 1:" "Gateway set" "Gateway Metric set" \
            "Area 2:" "Gateway set" "Gateway Metric set"
    fi
    printf '%s\n' "Clearing NameServer" "Reset DHCP NS" "NIC setup"
}

# Value identities ("[key] name", lower case) the run rewrites.
sr_expected_changes() {
    local ccs='hkey_local_machine\system\currentcontrolset\services' ie user
    for user in $([ "$SR_ROAD9X" = 1 ] && echo "$SR_USER $SR_SID" || echo "$SR_SID"); do
        ie="hkey_users\\$user\\software\\microsoft\\windows\\currentversion\\internet settings"
        printf '[%s] "%s"\n' "$ie" enableautodial "$ie" nonetautodial "$ie" proxyenable \
            "$ie" autoconfigurl
    done
    user=$([ "$SR_ROAD9X" = 1 ] && echo "$SR_USER" || echo "$SR_SID")
    ie="hkey_users\\$user\\software\\microsoft\\windows\\currentversion\\internet settings\\connections"
    printf '[%s] "%s"\n' "$ie" defaultconnectionsettings "$ie" savedlegacysettings
    if [ "$SR_ROAD9X" = 1 ]; then
        echo "[$ccs\\vxd\\mstcp] \"enabledns\""
        printf '[%s] "%s"\n' "$ccs\\class\\nettrans\\0001" ipaddress \
            "$ccs\\class\\nettrans\\0001" ipmask
    else
        local guid
        guid=$(echo "$SR_GUID" | tr 'A-Z' 'a-z')
        echo "[$ccs\\tcpip\\parameters\\interfaces\\$guid] \"nameserver\""
        echo "[$ccs\\tcpip\\parameters] \"dhcpnameserver\""
        if [ "$SR_GATES_CLEARED" = 1 ]; then
            local k
            for k in "$ccs\\tcpip\\parameters\\interfaces\\$guid" "$ccs\\$guid\\parameters\\tcpip"; do
                printf '[%s] "%s"\n' "$k" defaultgateway "$k" defaultgatewaymetric
            done
        fi
    fi
}

# --- checks ----------------------------------------------------------------------------------

sr_compare() { # sr_compare WHAT EXPECTED_FILE GOT_FILE
    if ! diff -u "$2" "$3" >"$CASE_DIR/$1.diff"; then
        cat "$CASE_DIR/$1.diff" >&2
        e2e_fail "$1 differs from what it should be"
    fi
}

# Setup.log's three settings passes, NUL shown as <NUL>.
sr_check_log() {
    local visible=$CASE_DIR/log.txt
    log_lines >/dev/null
    tr -d '\r' <"$LOG" | sed 's/\x0/<NUL>/g' >"$visible"
    awk '/^ \*Reading\.\.\.\*$/ { n++; next } /^ \*Set clicked\*$/ { n = 10; next }
         n == 1' "$visible" >"$CASE_DIR/pass1.got"
    awk '/^ \*Set clicked\*$/ { on = 1; next } /^ \*Reading\.\.\.\*$/ { on = 0 } on' \
        "$visible" >"$CASE_DIR/pass2.got"
    sr_expected_read 0 >"$CASE_DIR/pass1.want"
    sr_expected_write >"$CASE_DIR/pass2.want"
    sr_expected_read 1 >"$CASE_DIR/pass3.want"
    local n
    n=$(wc -l <"$CASE_DIR/pass3.want")
    # The read pass after the run; the status report follows it.
    awk '/^ \*Reading\.\.\.\*$/ { n++; next } n == 2' "$visible" >"$CASE_DIR/pass3.all"
    head -n "$n" "$CASE_DIR/pass3.all" >"$CASE_DIR/pass3.got"
    sr_compare "start-up read pass" "$CASE_DIR/pass1.want" "$CASE_DIR/pass1.got"
    sr_compare "write pass" "$CASE_DIR/pass2.want" "$CASE_DIR/pass2.got"
    sr_compare "read pass after the run" "$CASE_DIR/pass3.want" "$CASE_DIR/pass3.got"
    local next
    next=$(sed -n "$((n + 1))p" "$CASE_DIR/pass3.all")
    case $next in '>'* | 'Area '* | 'NIC: '*) e2e_fail "the read pass goes on with \"$next\"" ;; esac
    # The user's SID after the user line on the NT roads (their key prefix), never on Windows 9x.
    if [ "$SR_ROAD9X" = 1 ]; then
        if grep -qE '^S-[0-9]+-' "$visible"; then e2e_fail "a SID line is logged on Windows 9x"; fi
    else
        log_expect_line 6 "$SR_SID"
    fi
    # How the run ends: the report, then the restart question on Windows 9x (where the restart
    # applies the change); on the NT roads Wine's WMI switches nothing, and the run says so.
    sr_expected_end >"$CASE_DIR/end.want"
    tail -n "$(wc -l <"$CASE_DIR/end.want")" "$visible" >"$CASE_DIR/end.got"
    sr_compare "the run's last lines" "$CASE_DIR/end.want" "$CASE_DIR/end.got"
}

sr_expected_end() {
    echo " -- Ipconfig complete --"
    if [ "$SR_ROAD9X" = 1 ]; then
        printf '%s\n' "Attempt to reboot" "Reboot cancelled"
    else
        echo "Setup incomplete"
    fi
    echo "<-"
}

# The boxes the driver met, in order: Wine's answers (50 from both lease calls; the missing WMI
# methods), then the restart question, answered No, on Windows 9x, and on the NT roads the box
# that says the run could not finish.
sr_check_boxes() {
    local got=$CASE_DIR/boxes.got want=$CASE_DIR/boxes.want
    tr -d '\r' <"$DRIVER_OUT" | grep '^box: ' | sed 's/^box: //; s/Err# is [0-9]*$/Err# is N/' >"$got" || true
    {
        if [ "$SR_ROAD9X" = 1 ]; then
            echo "ReleaseIP error 50, Err# is N"
            echo "IpRenewAddress error 50, Err# is N"
            printf '%s' "Setup has finished setting up your network. Your PC needs to be rebooted before "
            printf '%s' "the changes can be applied. Please save your work and close any other "
            printf '%s\n' "applications.\\r\\n\\r\\nDo you wish to reboot now?\\r\\n\\r\\nSelect 'Yes' to reboot now. Select 'No' to reboot later."
        else
            echo "An error occured in reading/writing the network"
            printf '%s' "Setup could not finish setting up your network.\\r\\n\\r\\n"
            printf '%s' "Setup.log beside this program lists every setting before and after this run."
            printf '%s\n' "\\r\\n\\r\\nTo put your previous settings back, open $SR_BACKUP."
        fi
    } >"$want"
    sr_compare "message boxes" "$want" "$got"
}

# sr_reg_expect KEY VALUE DATA: DATA as "reg query" shows it. The checks are gathered and the
# driver reads them all in one process (sr_reg_checks), not one reg.exe each.
sr_reg_expect() {
    local word quoted=()
    for word in "$@"; do
        word=${word//\\/\\\\}
        quoted+=("\"${word//\"/\\\"}\"")
    done
    SR_REG_CHECKS+="expect-reg ${quoted[*]}"$'\n'
}

sr_reg_checks() {
    e2e_drive <<<"$SR_REG_CHECKS"
    SR_REG_CHECKS=
}

sr_hex_upper() { echo "$1" | xargs | tr -d ' ' | tr 'a-f' 'A-F'; }

sr_check_values() {
    local user=$SR_SID key
    if [ "$SR_ROAD9X" = 1 ]; then user=$SR_USER; fi
    local keys=("HKU\\$user\\$SR_IE")
    if [ "$SR_ROAD9X" = 1 ]; then keys+=("HKCU\\$SR_IE"); fi
    for key in "${keys[@]}"; do
        sr_reg_expect "$key" EnableAutodial 0x0
        sr_reg_expect "$key" NoNetAutodial 0x0
        sr_reg_expect "$key" ProxyEnable 0x0
        sr_reg_expect "$key" AutoConfigURL ""
    done
    sr_reg_expect "HKU\\$user\\$SR_IE\\Connections" DefaultConnectionSettings \
        "$(sr_hex_upper "$(sr_flags "$SR_DEF_CON" 09)")"
    sr_reg_expect "HKU\\$user\\$SR_IE\\Connections" SavedLegacySettings \
        "$(sr_hex_upper "$(sr_flags "$SR_LEG_SAV" 09)")"
    if [ "$SR_ROAD9X" = 1 ]; then
        sr_reg_expect "HKLM\\$SR_CCS\\Services\\VxD\\MSTCP" EnableDNS 0
        sr_reg_expect "HKLM\\$SR_CCS\\Services\\Class\\NetTrans\\0001" IPAddress 0.0.0.0
        sr_reg_expect "HKLM\\$SR_CCS\\Services\\Class\\NetTrans\\0001" IPMask 0.0.0.0
        sr_reg_checks
        return
    fi
    local gw='192.168.7.1\0192.168.7.254' metric='0\00'
    if [ "$SR_GATES_CLEARED" = 1 ]; then gw=; metric=; fi
    for key in "HKLM\\$SR_CCS\\Services\\Tcpip\\Parameters\\Interfaces\\$SR_GUID" \
        "HKLM\\$SR_CCS\\Services\\$SR_GUID\\Parameters\\Tcpip"; do
        sr_reg_expect "$key" DefaultGateway "$gw"
        sr_reg_expect "$key" DefaultGatewayMetric "$metric"
        sr_reg_expect "$key" IPAddress 192.168.7.50
        sr_reg_expect "$key" EnableDHCP 0x0
    done
    sr_reg_expect "HKLM\\$SR_CCS\\Services\\Tcpip\\Parameters\\Interfaces\\$SR_GUID" NameServer ""
    sr_reg_expect "HKLM\\$SR_CCS\\Services\\Tcpip\\Parameters" DhcpNameServer ""
    sr_reg_expect "HKLM\\$SR_CCS\\Services\\Tcpip" Start 0x1
    sr_reg_checks
}

# The exports differ in exactly the rewritten values: no key or value created or removed.
# Wine keeps the desktop's run-time settings under Software\Wine\Temporary System Parameters of
# the user and fills it when the first window appears, and its desktop names its display driver
# under Control\Video (after the first look at the registry where Wine runs slowly); that is
# Wine's own doing, not the program's.
sr_check_export() {
    local wine_own='^\[HKEY_USERS\\[^\\]*\\Software\\Wine\\Temporary System Parameters[]\\]'
    local wine_video='^\[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Video[]\\]'
    grep -v -e "$wine_own" -e "$wine_video" "$CASE_DIR/before.values" >"$CASE_DIR/before.kept" || true
    grep -v -e "$wine_own" -e "$wine_video" "$CASE_DIR/after.values" >"$CASE_DIR/after.kept" || true
    awk '
        function ident(line) {
            if (line ~ /^\[/ && line !~ /\] /) return line
            p = index(line, "\"=")
            if (p == 0) p = index(line, "] @=") + 2
            return tolower(substr(line, 1, p))
        }
        FNR == NR { before[ident($0)] = $0; next }
        {
            id = ident($0)
            if (!(id in before)) print "created " id
            else if (before[id] != $0) print id
            seen[id] = 1
        }
        END { for (id in before) if (!(id in seen)) print "removed " id }
    ' "$CASE_DIR/before.kept" "$CASE_DIR/after.kept" | sort >"$CASE_DIR/changes.got"
    sr_expected_changes | tr 'A-Z' 'a-z' | sort >"$CASE_DIR/changes.want"
    sr_compare "registry changes" "$CASE_DIR/changes.want" "$CASE_DIR/changes.got"
}

# The keys the run touches, as regedit names them, each exported with its sub-keys.
sr_touched_keys() {
    local ccs="HKEY_LOCAL_MACHINE\\$SR_CCS\\Services"
    if [ "$SR_ROAD9X" = 1 ]; then
        echo "HKEY_USERS\\$SR_USER\\$SR_IE"
        echo "HKEY_CURRENT_USER\\$SR_IE"
        echo "$ccs\\VxD\\MSTCP"
        echo "$ccs\\Class\\NetTrans\\0001"
    else
        echo "HKEY_USERS\\$SR_SID\\$SR_IE"
        echo "$ccs\\Tcpip\\Parameters"
        echo "$ccs\\$SR_GUID\\Parameters\\Tcpip"
    fi
}

sr_export_touched() { # sr_export_touched NAME: one export file per touched key
    local key n=0
    while read -r key; do
        n=$((n + 1))
        e2e_wine regedit /E "C:\\e2e\\$1-$n.reg" "$key" >>"$CASE_DIR/reg.out" 2>>"$CASE_DIR/wine.err" ||
            e2e_fail "exporting $key failed"
    done < <(sr_touched_keys)
}

# The restore file imported as a double-click would: every touched key as it was before the run.
sr_check_restore() {
    local file=$PROGRAM_DIR/Setup-backup.reg n
    [ -f "$file" ] || e2e_fail "no restore file beside the program"
    [ "$(head -c 10 "$file")" = "$(printf 'REGEDIT4\r\n')" ] || e2e_fail "the restore file has no REGEDIT4 header"
    [ "$(grep -c $'\r$' "$file")" = "$(wc -l <"$file")" ] || e2e_fail "a restore file line without CR LF"
    e2e_wine regedit /S "$SR_BACKUP" >>"$CASE_DIR/reg.out" 2>>"$CASE_DIR/wine.err" ||
        e2e_fail "importing the restore file failed"
    sr_export_touched restored
    for n in $(seq "$(sr_touched_keys | wc -l)"); do
        cmp -s "$PREFIX/drive_c/e2e/untouched-$n.reg" "$PREFIX/drive_c/e2e/restored-$n.reg" || {
            diff <(iconv -f UTF-16 -t UTF-8 "$PREFIX/drive_c/e2e/untouched-$n.reg") \
                <(iconv -f UTF-16 -t UTF-8 "$PREFIX/drive_c/e2e/restored-$n.reg") >&2
            e2e_fail "$(sr_touched_keys | sed -n "${n}p") is not back as it was"
        }
    done
}

# The case's prefix for ROAD with the registry of a PC set up for another network.
sr_prepare() {
    local road=$1
    SR_OS=$(sr_os_code "$road")
    SR_ROAD9X=0
    if [ "$SR_OS" = 1 ]; then SR_ROAD9X=1; fi
    SR_GATES_CLEARED=0
    if [ "${2:-}" = gates ] || [ "$SR_OS" = 3 ]; then SR_GATES_CLEARED=1; fi
    if [ "$SR_ROAD9X" = 1 ]; then SR_GATES_CLEARED=0; fi

    e2e_prefix "$road"
    # eth0's adapter name as IP Helper gives it under Wine: its interface index in the GUID.
    SR_GUID=$(printf '{%08X-0000-0000-0000-4E6574446576}' \
        "$(ip netns exec "$NS" cat /sys/class/net/$SR_NIC/ifindex)")
    sr_seed
}

# The driver's steps up to the press of "Setup Network": eth0, confirmed, options as asked.
sr_steps_before_setup() {
    printf '%s\n' "start $PROGRAM" 'window "Corvane Wirewise"' settle "select cboNIC 0" \
        "expect-text cboNIC \"$SR_NIC\"" "tick chkConnected" "click cmdToggle" "tick chkIEAuto"
    if [ "${1:-}" = gates ]; then echo "tick chkGates"; fi
}

setup_run() {
    sr_prepare "$@"
    sr_export before
    sr_export_touched untouched
    # Fed from a here-string: e2e_drive runs in this shell and leaves DRIVER_OUT set.
    e2e_drive <<<"$(sr_steps_before_setup "${2:-}")
click cmdWrite
close
expect-exit 0"
    sr_export after
    sr_check_log
    sr_check_boxes
    sr_check_values
    sr_check_export
    sr_check_restore
}
