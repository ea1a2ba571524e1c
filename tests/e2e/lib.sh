# Functions of the end-to-end cases (sourced by run-case.sh before the case file).
#
# A case is a bash file in cases/; it makes a prefix for a road, works the program with the
# driver and checks Setup.log and the registry. Every case has its own prefix copy, Xvfb
# display, network namespace and wineserver; all of them go when the case ends, also on failure.
#
#   e2e_prefix ROAD [EXE] [FOLDER]
#                            fresh prefix; the program is C:\FOLDER\EXE (default
#                            C:\corvane\wirewise.exe; FOLDER "." is the drive's root), run as
#                            ROAD: win98 nt40 win2k winxp win7 win10; an EXE named gatekey* is a copy
#                            of gatekey.exe
#   e2e_install EXE FOLDER   one more copy of the program in the same prefix (sets PROGRAM...)
#   e2e_adapters none        the namespace gets no adapters (call before the first wine command)
#   e2e_no_atl               the prefix has no atl.dll (nor Wine's own): no browser control
#   e2e_drive <<'EOS'        runs a driver script (see driver/driver.cpp); fails the case on error
#   e2e_wine ARGS...         runs wine in the case's session (network namespace, display)
#   e2e_reg ARGS...          wine reg ARGS... in the session
#   reg_expect KEY VALUE DATA   the value's data as "reg query" shows it
#   log_expect_first / log_expect_last / log_expect_order / log_expect_count / log_expect_match
#   e2e_fail MESSAGE
#
# E2E_KEEP=1 keeps a passed case's folder. Each wine command has E2E_STEP_SECONDS (default 90,
# beyond the driver's own waits) before it is killed: a stalled Wine ends the case with its trace
# and exit status 75, and run-case.sh runs such a case once more.
# Cases run through scripts/wine-env. In its emulated machine every wait of the rig and the
# driver is WINE_ENV_TIME_SCALE times longer, and the prefixes live in its WINE_ENV_SCRATCH (the
# shared folders are far slower for Wine's many small files).
# Variables: PREFIX (unix path of the prefix), PROGRAM_DIR (unix path of C:\corvane), LOG (its
# Setup.log), CASE_DIR (the case's scratch folder), DRIVER_OUT (the last driver output).

E2E_TEMPLATE_VERSION=1
E2E_NET=default
E2E_SCALE=${WINE_ENV_TIME_SCALE:-1}

e2e_fail() {
    echo "FAIL [$CASE]: $*" >&2
    exit 1
}

# A marker file, so that a stall inside a subshell still marks the whole case.
e2e_stall() {
    : >"$CASE_DIR/stalled"
    e2e_fail "stalled for $((${E2E_STEP_SECONDS:-90} * E2E_SCALE)) s: $*"
}

e2e_begin() {
    CASE=$(basename "$1" .sh)
    # A machine that cannot run the cases skips them, whatever else it lacks.
    if [ "$(id -u)" -ne 0 ]; then echo "skipped: end-to-end cases run as root" >&2; exit 77; fi
    command -v wine >/dev/null || { echo "skipped: wine is not installed" >&2; exit 77; }
    : "${E2E_DIST:?set E2E_DIST to the release folder (scripts/package)}"
    : "${E2E_WINDOWS_BUILD:?set E2E_WINDOWS_BUILD to the windows build folder}"
    : "${E2E_WORK:?set E2E_WORK to a scratch folder}"
    # What we test is what we ship: the programs come from the release folder, only the
    # helpers of the tests from the build.
    WIREWISE_EXE=$E2E_DIST/wirewise.exe
    GATEKEY_EXE=$E2E_DIST/gatekey.exe
    DRIVER_EXE=$E2E_WINDOWS_BUILD/tests/e2e/e2e_driver.exe
    [ -f "$WIREWISE_EXE" ] || e2e_fail "no $WIREWISE_EXE: run scripts/package first"
    [ -f "$DRIVER_EXE" ] || e2e_fail "no $DRIVER_EXE: build the windows build first"
    E2E_SCRATCH=${WINE_ENV_SCRATCH:-$E2E_WORK}
    CASE_DIR=$E2E_SCRATCH/cases/$CASE
    rm -rf "$CASE_DIR"
    mkdir -p "$CASE_DIR"
    E2E_SESSION=
    E2E_START=$(date +%s%N)
    trap e2e_cleanup EXIT
    # The trace goes to a file and is shown only when the case fails.
    exec {E2E_TRACE_FD}>"$CASE_DIR/trace.log"
    BASH_XTRACEFD=$E2E_TRACE_FD
    set -x
}

e2e_end() {
    E2E_PASSED=1
    local ms=$((($(date +%s%N) - E2E_START) / 1000000))
    printf 'PASS [%s] in %d.%03d s\n' "$CASE" $((ms / 1000)) $((ms % 1000))
}

e2e_cleanup() {
    local status=$?
    trap - EXIT
    set +e +x
    if [ -n "$E2E_SESSION" ]; then
        WINEPREFIX=$PREFIX timeout $((20 * E2E_SCALE)) wineserver -k 2>/dev/null
        WINEPREFIX=$PREFIX timeout $((20 * E2E_SCALE)) wineserver -w 2>/dev/null
    fi
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    if [ -n "${NS:-}" ]; then
        ip netns del "$NS" 2>/dev/null
        ip netns del "${NS}r" 2>/dev/null
        rm -rf "/etc/netns/$NS"
    fi
    if [ "${E2E_PASSED:-0}" = 1 ]; then
        # E2E_KEEP=1 keeps the prefix, Setup.log and the driver's output for a look.
        [ "${E2E_KEEP:-0}" = 1 ] || rm -rf "$CASE_DIR"
    else
        [ -f "${LOG:-}" ] && { echo "--- Setup.log"; tr -d '\r' <"$LOG"; } >&2
        { echo "--- last steps"; sed -n '/^+* e2e_cleanup$/q; /^+++/d; p' "$CASE_DIR/trace.log" | tail -n 8; } >&2
        [ -n "${PREFIX:-}" ] && rm -rf "$PREFIX"
        [ "$status" -eq 0 ] && status=1
        [ -e "$CASE_DIR/stalled" ] && status=75
    fi
    exit "$status"
}

# The prefix every case copies: 32-bit, Wine's fonts, no window manager stalls.
e2e_template() {
    TEMPLATE=$E2E_SCRATCH/template
    mkdir -p "$E2E_SCRATCH"
    local status=0
    # Each step exits on failure by hand: "||" below turns errexit off inside the subshell. Only a
    # whole template gets its version mark; a failed one is made again by the next case.
    (
        flock 9
        [ "$(cat "$TEMPLATE/.e2e-template" 2>/dev/null)" = "$E2E_TEMPLATE_VERSION" ] && exit 0
        rm -rf "$TEMPLATE" "$TEMPLATE.new"
        export WINEPREFIX=$TEMPLATE.new WINEARCH=win32 WINEDEBUG=-all
        export WINEDLLOVERRIDES="mscoree,mshtml="
        unset DISPLAY
        timeout -k 5 $((180 * E2E_SCALE)) wine wineboot -i >/dev/null 2>&1 || exit
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
            exit
        timeout -k 5 $((60 * E2E_SCALE)) wineserver -w || exit
        cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || exit
        echo "$E2E_TEMPLATE_VERSION" >"$WINEPREFIX/.e2e-template"
        mv "$WINEPREFIX" "$TEMPLATE"
    ) 9>"$E2E_SCRATCH/template.lock" || status=$?
    case $status in
    0) ;;
    124 | 137) e2e_stall "making the template prefix" ;;
    *) e2e_fail "making the template prefix failed ($status)" ;;
    esac
}

e2e_no_atl() {
    [ -n "${PREFIX:-}" ] || e2e_fail "call e2e_prefix first"
    rm -f "$PREFIX/drive_c/windows/system32/atl.dll"
    E2E_DLL_OVERRIDES="${E2E_DLL_OVERRIDES:+$E2E_DLL_OVERRIDES;}atl=d"
}

e2e_adapters() {
    [ -z "$E2E_SESSION" ] || e2e_fail "e2e_adapters must come before the first wine command"
    E2E_NET=$1
}

# A copy of the template for this case. Wine rewrites the registry files in place, so they
# are copied; everything else is hard-linked.
e2e_prefix() {
    local road=$1 exe=${2:-wirewise.exe} folder=${3:-corvane}
    e2e_template
    PREFIX=$CASE_DIR/prefix
    cp -al "$TEMPLATE" "$PREFIX"
    rm -f "$PREFIX"/*.reg
    cp "$TEMPLATE"/*.reg "$PREFIX/"
    mkdir -p "$PREFIX/drive_c/e2e"
    cp "$DRIVER_EXE" "$PREFIX/drive_c/e2e/"
    e2e_install "$exe" "$folder"
    e2e_reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /t REG_SZ /d "$road" /f
}

# Copies the program to C:\FOLDER\EXE and points PROGRAM, PROGRAM_DIR and LOG at it.
e2e_install() {
    local exe=$1 folder=$2
    if [ "$folder" = . ]; then
        PROGRAM_DIR=$PREFIX/drive_c
        PROGRAM="C:\\$exe"
    else
        PROGRAM_DIR=$PREFIX/drive_c/$folder
        PROGRAM="C:\\$folder\\$exe"
    fi
    LOG=$PROGRAM_DIR/Setup.log
    mkdir -p "$PROGRAM_DIR"
    case $exe in
    gatekey*)
        [ -f "$GATEKEY_EXE" ] || e2e_fail "no $GATEKEY_EXE: run scripts/package first"
        cp "$GATEKEY_EXE" "$PROGRAM_DIR/$exe"
        ;;
    *) cp "$WIREWISE_EXE" "$PROGRAM_DIR/$exe" ;;
    esac
    # The IP Helper library files wirewise loads from its own folder.
    cp "$E2E_DIST"/iphlpapi_*.dll "$PROGRAM_DIR/"
}

# The display, the network namespace and a kept-up wineserver, made at the first wine command.
e2e_session() {
    [ -n "$E2E_SESSION" ] && return 0
    [ -n "${PREFIX:-}" ] || e2e_fail "call e2e_prefix first"
    e2e_display
    e2e_namespace
    E2E_SESSION=1
    e2e_in_session wineserver -p
}

e2e_display() {
    local d start=$((300 + $$ % 200)) i
    for ((i = 0; i < 200; i++)); do
        d=$((300 + (start - 300 + i) % 200))
        [ -e "/tmp/.X$d-lock" ] && continue
        Xvfb ":$d" -screen 0 1024x768x24 -nolisten tcp -noreset >"$CASE_DIR/xvfb.log" 2>&1 &
        XVFB_PID=$!
        # By the clock, not by a count of tries: a loaded emulated machine makes each try slow.
        local deadline=$((SECONDS + 20 * E2E_SCALE))
        while [ "$SECONDS" -lt "$deadline" ]; do
            [ -S "/tmp/.X11-unix/X$d" ] && kill -0 "$XVFB_PID" 2>/dev/null && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.02
        done
        if kill -0 "$XVFB_PID" 2>/dev/null && [ -S "/tmp/.X11-unix/X$d" ]; then
            DISPLAY_NUMBER=$d
            return 0
        fi
        # A server still starting when time is up is ended, or waiting for it would never end.
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=
    done
    e2e_fail "no free X display"
}

# eth0 00:11:22:33:44:55 192.168.1.10/24 (gateway 192.168.1.1) and wlan0 00:aa:bb:cc:dd:ee
# 10.0.0.5/8, their far ends in a second namespace that owns the gateway address.
e2e_namespace() {
    NS=cvw$$
    local peer=${NS}r
    ip netns add "$NS"
    ip netns add "$peer"
    ip netns exec "$NS" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 \
        net.ipv6.conf.default.disable_ipv6=1
    ip -n "$NS" link set lo up
    mkdir -p "/etc/netns/$NS"
    printf '127.0.0.1 localhost\n' >"/etc/netns/$NS/hosts"
    printf 'nameserver 192.168.1.1\noptions timeout:1 attempts:1\n' >"/etc/netns/$NS/resolv.conf"
    [ "$E2E_NET" = none ] && return 0
    ip -n "$NS" link add eth0 address 00:11:22:33:44:55 type veth peer name r0 netns "$peer"
    ip -n "$NS" link add wlan0 address 00:aa:bb:cc:dd:ee type veth peer name r1 netns "$peer"
    ip -n "$NS" addr add 192.168.1.10/24 dev eth0
    ip -n "$NS" addr add 10.0.0.5/8 dev wlan0
    ip -n "$peer" addr add 192.168.1.1/24 dev r0
    ip -n "$peer" addr add 10.0.0.1/8 dev r1
    local link
    for link in eth0 wlan0; do ip -n "$NS" link set "$link" up; done
    for link in r0 r1 lo; do ip -n "$peer" link set "$link" up; done
    ip -n "$NS" route add default via 192.168.1.1
    printf '192.168.1.10 pc-eth0\n10.0.0.5 pc-wlan0\n' >>"/etc/netns/$NS/hosts"
}

e2e_in_session() {
    local status=0
    timeout -k 5 $((${E2E_STEP_SECONDS:-90} * E2E_SCALE)) ip netns exec "$NS" env WINEPREFIX="$PREFIX" WINEARCH=win32 WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=${E2E_DLL_OVERRIDES:+;$E2E_DLL_OVERRIDES}" \
        DISPLAY=":$DISPLAY_NUMBER" LANG=en_US.UTF-8 "$@" || status=$?
    [ "$status" -ne 124 ] && [ "$status" -ne 137 ] || e2e_stall "$*"
    return "$status"
}

e2e_wine() {
    e2e_session
    e2e_in_session wine "$@"
}

e2e_reg() {
    e2e_wine reg "$@" >>"$CASE_DIR/reg.out" 2>>"$CASE_DIR/wine.err"
}

# A lamp's echo has the program's own 500 ms limit, which no time scale stretches: on the emulated
# route a loaded machine can answer too late, and the lamp then rightly reads "Not connected". So
# there, and only there, a run whose fault is such a lamp may run again, at most twice more; the
# same checks then hold on the same program. Natively a missed echo is a fault at the first try.
# e2e_echo_missed OUTPUT TRIES [PATTERN]: true when OUTPUT shows such a miss worth another try
# (by default the driver's failure on a lamp; PATTERN is an extended grep pattern for the miss).
e2e_echo_missed() {
    [ "$E2E_SCALE" -gt 1 ] && [ "$2" -lt 3 ] || return 1
    tr -d '\r' <"$1" | grep -Eq "${3:-led(Net|Router) reads \"Not connected to (Router|Internet)\"}" ||
        return 1
    echo "note [$CASE]: a lamp's echo came too late on the emulated route (try $2 of 3)" >&2
}

# Runs the driver on the script read from stdin; its output is in $DRIVER_OUT. In the script,
# $PROGRAM stands for the program's Windows path.
e2e_drive() {
    local n=$((${E2E_DRIVES:-0} + 1))
    E2E_DRIVES=$n
    local script=$PREFIX/drive_c/e2e/script$n.txt
    local text
    text=$(cat)
    printf '%s\n' "${text//\$PROGRAM/"$PROGRAM"}" >"$script"
    DRIVER_OUT=$CASE_DIR/driver$n.out
    e2e_session
    local status tries=1
    while :; do
        status=0
        (cd "$PREFIX/drive_c/e2e" && e2e_in_session wine 'C:\e2e\e2e_driver.exe' "C:\\e2e\\script$n.txt" \
            >"$DRIVER_OUT" 2>>"$CASE_DIR/wine.err") || status=$?
        [ "$status" -ne 0 ] && e2e_echo_missed "$DRIVER_OUT" "$tries" || break
        cp "$DRIVER_OUT" "$CASE_DIR/driver$n.try$tries.out"
        tries=$((tries + 1))
    done
    if [ "$status" -ne 0 ]; then
        cat "$DRIVER_OUT" >&2
        e2e_fail "the driver failed (script $n)"
    fi
}

# "reg query" of one value: the data column as Wine shows it.
reg_value() {
    e2e_wine reg query "$1" /v "$2" 2>>"$CASE_DIR/wine.err" | tr -d '\r' |
        awk -v v="$2" '$1 == v { sub(/^[ \t]*[^ \t]+[ \t]+[^ \t]+[ \t]*/, ""); print; exit }'
}

reg_expect() {
    local got
    got=$(reg_value "$1" "$2")
    [ "$got" = "$3" ] || e2e_fail "registry $1 \\ $2 is \"$got\", expected \"$3\""
}

# Setup.log's lines without CR; fails when a line lacks its CR LF.
log_lines() {
    [ -f "$LOG" ] || e2e_fail "no Setup.log"
    if [ -s "$LOG" ] && [ "$(tail -c 2 "$LOG" | od -An -c | tr -d ' ')" != '\r\n' ]; then
        e2e_fail "Setup.log does not end with CR LF"
    fi
    tr -d '\r' <"$LOG"
}

log_expect_first() {
    local got
    got=$(log_lines | head -n 1)
    [ "$got" = "$1" ] || e2e_fail "first log line is \"$got\", expected \"$1\""
}

log_expect_last() {
    local got
    got=$(log_lines | tail -n 1)
    [ "$got" = "$1" ] || e2e_fail "last log line is \"$got\", expected \"$1\""
}

log_expect_line() { # log_expect_line N TEXT (1-based)
    local got
    got=$(log_lines | sed -n "$1p")
    [ "$got" = "$2" ] || e2e_fail "log line $1 is \"$got\", expected \"$2\""
}

log_expect_count() { # log_expect_count TEXT N: exact line TEXT appears N times
    local got
    got=$(log_lines | grep -cxF -- "$1" || true)
    [ "$got" = "$2" ] || e2e_fail "\"$1\" is logged $got times, expected $2"
}

log_expect_match() { # log_expect_match ERE: some line matches the whole pattern
    log_lines | grep -qxE -- "$1" || e2e_fail "no log line matches /$1/"
}

# The lines appear in this order (others may lie between). A line written re:ERE matches a
# pattern instead of the exact text.
log_expect_order() {
    local lines want got i=0
    mapfile -t lines < <(log_lines)
    for want in "$@"; do
        while :; do
            [ "$i" -lt "${#lines[@]}" ] || e2e_fail "log lacks \"$want\" in order $(printf '"%s" ' "$@")"
            got=${lines[$i]}
            i=$((i + 1))
            if [[ $want == re:* ]]; then
                [[ $got =~ ^${want#re:}$ ]] && break
            else
                [ "$got" = "$want" ] && break
            fi
        done
    done
}

# The driver saw no message box beyond those listed (by their text, \r\n as in the driver).
driver_expect_boxes() {
    local got
    got=$(grep '^box: ' "$DRIVER_OUT" | sed 's/^box: //' | tr -d '\r' || true)
    [ "$got" = "$(printf '%s\n' "$@" | tr -d '\r' | sed '/^$/d')" ] || e2e_fail "message boxes: $got"
}

# The WMI stand-in (wmi_standin/) in place of Wine's WMI, in this case's prefix only: it serves
# the instances and scripted answers of the seed read from standard input (wmi_standin.cpp
# describes the lines) and appends every call to $WMI_CALLS.
e2e_wmi_standin() {
    local clsid='HKLM\Software\Classes\CLSID\{4590F811-1D3A-11D0-891F-00AA004B2E24}\InprocServer32'
    cp "$E2E_WINDOWS_BUILD/tests/e2e/wmi_standin/wmi_standin.dll" "$PREFIX/drive_c/e2e/"
    cat >"$PREFIX/drive_c/e2e/wmi-seed.txt"
    WMI_CALLS=$PREFIX/drive_c/e2e/wmi-calls.txt
    e2e_reg add "$clsid" /ve /t REG_SZ /d 'C:\e2e\wmi_standin.dll' /f
    e2e_reg add "$clsid" /v ThreadingModel /t REG_SZ /d Both /f
}
