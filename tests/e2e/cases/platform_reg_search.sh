# The registry search class on Wine's registry: a subtree seeded with keys and values of every
# kind, searched with each flag and comparison, over one root and over all seven. Each search
# must report exactly the seeded matches, in the walk's order.
e2e_prefix winxp
cp "$E2E_WINDOWS_BUILD/tests/e2e/platform_probe/platform_probe.exe" "$PREFIX/drive_c/e2e/"
{
    echo REGEDIT4
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\CorvaneSearch]'
    echo '"Name"="top"'
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\CorvaneSearch\DRIVER]'
    echo '"Driver"="Net\\0001"'
    echo '"List"=hex(7):6f,6e,65,00,74,77,6f,00,00'
    echo '"Count"=dword:0000001a'
    echo '"Bytes"=hex:01,a0,ff'
    echo '"Path"=hex(2):25,78,25,00'
    echo '"Empty"=hex:'
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\CorvaneSearch\DriverDesc]'
    echo '"Desc"="Realtek driver"'
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\CorvaneSearch\Other\Deep\Driver]'
    echo '@="default"'
    echo
    echo '[HKEY_CURRENT_USER\Software\CorvaneSearch\UserDesc]'
    echo
    echo '[HKEY_CURRENT_CONFIG]'
    echo '"CorvaneRootValue"="at the root"'
    echo
} | sed 's/$/\r/' >"$PREFIX/drive_c/e2e/seed.reg"
e2e_wine regedit /S 'C:\e2e\seed.reg' >>"$CASE_DIR/reg.out" 2>>"$CASE_DIR/wine.err" ||
    e2e_fail "seeding the registry failed"

n=0
search() { # search ROOT SUBKEY FLAGS TEXT, then the expected lines on stdin
    n=$((n + 1))
    cat >"$CASE_DIR/search$n.want"
    (cd "$PREFIX/drive_c/e2e" && e2e_wine 'C:\e2e\platform_probe.exe' "$@" \
        >"$CASE_DIR/search$n.raw" 2>>"$CASE_DIR/wine.err") || e2e_fail "search $n did not run"
    tr -d '\r' <"$CASE_DIR/search$n.raw" >"$CASE_DIR/search$n.got"
    if ! diff -u "$CASE_DIR/search$n.want" "$CASE_DIR/search$n.got" >&2; then
        e2e_fail "search $n ($*) found other matches"
    fi
}

k='HKEY_LOCAL_MACHINE Software\CorvaneSearch'
# Everything: an empty text matches every name and content. Wine keeps a key's values sorted by
# name, Windows in the order they were made; the walk reports them as the registry gives them.
search 80000002 'Software\CorvaneSearch' 3 '' <<EOS
found 1 $k\\Name = top
found 2 $k\\Name = top
found 0 $k\\DRIVER = *
found 1 $k\\DRIVER\\Bytes = 01 A0 FF
found 2 $k\\DRIVER\\Bytes = 01 A0 FF
found 1 $k\\DRIVER\\Count = 0x0000001A(26)
found 2 $k\\DRIVER\\Count = 0x0000001A(26)
found 1 $k\\DRIVER\\Driver = Net\\0001
found 2 $k\\DRIVER\\Driver = Net\\0001
found 1 $k\\DRIVER\\Empty = 00
found 2 $k\\DRIVER\\Empty = 00
found 1 $k\\DRIVER\\List = one
found 2 $k\\DRIVER\\List = one
found 1 $k\\DRIVER\\Path = Temporary unsupported
found 2 $k\\DRIVER\\Path = Temporary unsupported
found 0 $k\\DriverDesc = *
found 1 $k\\DriverDesc\\Desc = Realtek driver
found 2 $k\\DriverDesc\\Desc = Realtek driver
found 0 $k\\Other = *
found 0 $k\\Other\\Deep = *
found 0 $k\\Other\\Deep\\Driver = *
found 1 $k\\Other\\Deep\\Driver\\ = default
found 2 $k\\Other\\Deep\\Driver\\ = default
finished 0
EOS
# Key names, substring and whole text.
search 80000002 'Software\CorvaneSearch' 0 driver <<EOS
found 0 $k\\DRIVER = *
found 0 $k\\DriverDesc = *
found 0 $k\\Other\\Deep\\Driver = *
finished 0
EOS
search 80000002 'Software\CorvaneSearch' 4 driver <<EOS
found 0 $k\\DRIVER = *
found 0 $k\\Other\\Deep\\Driver = *
finished 0
EOS
# Contents, whole text, as the Windows 9x adapter scan searches.
search 80000002 'Software\CorvaneSearch' 6 'net\0001' <<EOS
found 2 $k\\DRIVER\\Driver = Net\\0001
finished 0
EOS
search 80000002 'Software\CorvaneSearch' 2 unsupported <<EOS
found 2 $k\\DRIVER\\Path = Temporary unsupported
finished 0
EOS
# A root's own values are reported with a backslash before their name.
search 80000005 '' 1 corvanerootvalue <<EOS
found 1 HKEY_CURRENT_CONFIG \\CorvaneRootValue = at the root
finished 0
EOS
# All seven roots in turn; those without the key are passed over.
search 0 'Software\CorvaneSearch' 0 desc <<EOS
found 0 HKEY_CURRENT_USER Software\\CorvaneSearch\\UserDesc = *
found 0 $k\\DriverDesc = *
finished 0
EOS
