# Libraries named like system ones and lying beside the programs (the user's Downloads folder is
# the classic place) are never loaded: netapi32 and the system's IP Helper behind the three
# library files (wirewise), icmp and atl (gatekey) come from the system folder, and gatekey's
# sockets come from ws2_32, not from a wsock32.dll beside it. (Not version.dll:
# Wine's own libraries import it by name, so with these overrides they would load the planted
# file themselves. That wirewise imports it no more, the import check sees.)
PLANTED_DLL=$E2E_WINDOWS_BUILD/tests/e2e/planted.dll
# Wine prefers its own build of these libraries; told to prefer files, it searches as Windows
# does: a library loaded by name is looked for in the program's folder first.
E2E_DLL_OVERRIDES="netapi32,iphlpapi,icmp,atl,wsock32=n,b"
[ -f "$PLANTED_DLL" ] || e2e_fail "no $PLANTED_DLL: build the windows build first"

plant() {
    local name
    for name in "$@"; do cp "$PLANTED_DLL" "$PROGRAM_DIR/$name"; done
}

planted_expect_none() {
    local log=$PREFIX/drive_c/e2e/planted.log
    [ ! -e "$log" ] || e2e_fail "$1 loaded a planted library: $(tr -d '\r' <"$log")"
}

# wirewise on the NT road: the SID lookup (netapi32), the adapters (iphlpapi_xp.dll and the
# system's IP Helper behind it).
e2e_prefix winxp
plant netapi32.dll iphlpapi.dll
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
expect-rows cboNIC 2
close
expect-exit 0
EOS
planted_expect_none wirewise
log_expect_line 2 "wirewise 1.0.10"
log_expect_match 'S-1-5-21(-[0-9]+)+'

# On the Windows 9x road the adapters come through iphlpapi_9x.dll.
e2e_install wirewise_98.exe corvane98
e2e_reg add 'HKCU\Software\Wine\AppDefaults\wirewise_98.exe' /v Version /t REG_SZ /d win98 /f
plant netapi32.dll iphlpapi.dll
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
expect-rows cboNIC 2
close
expect-exit 0
EOS
planted_expect_none "wirewise on Windows 98"
log_expect_line 3 "OS = Win98"

# gatekey: the probe (icmp, and the sockets it starts) at start and the browser host (atl)
# behind Login.
e2e_install gatekey.exe gatekey
plant icmp.dll atl.dll wsock32.dll
e2e_drive <<'EOS'
title "Corvane Gatekey"
listen 8080
start C:\gatekey\gatekey.exe
window "Corvane - Gatekey"
settle
expect-text ledNet "Connected to Internet"
type txtHost "127.0.0.1"
type txtPort "8080"
type txtUser "admin"
type txtPass "secret"
click cmdLogin
expect-request 1 "GET /doc/index.htm HTTP/1.1"
close
expect-exit 0
EOS
planted_expect_none gatekey
