# The registry search benchmark, run as an end-to-end case on the common rig (run-case.sh sources
# it after lib.sh; scripts/bench is the command). On the Windows 98 road, in one Wine session, it
# times over several rounds: the bare walk of a synthetic HKLM\Enum\PCI subtree, Wine's
# "reg query /s" of it, one search of wirewise's search class over it, wirewise's start-up to its
# window with and without the subtree (two adapters: two searches), and a bare window's start-up,
# the latter two also from the host (launching wine) with and without Wine already running;
# then it prints min/median/max of each and the ratios that matter.
#   BENCH_SIZE   full (default: 20,101 keys, 60,100 values, 3 rounds) or smoke (a small tree,
#                1 round: only checks that everything runs and finds what it should)
#   BENCH_ROUNDS rounds instead of the size's default
#   BENCH_STARTUP_ROUNDS rounds of the start-ups without the subtree (default: five per round;
#                one for smoke): they are short and need more rounds to show a few ms
#   BENCH_BEFORE an earlier wirewise.exe, whose start-ups are timed in the same rounds as the
#                current one's: a change of a few ms shows against the same load
bench_src=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
case ${BENCH_SIZE:-full} in
full)
    vendors=100 devices=200 rounds=${BENCH_ROUNDS:-3}
    startup_rounds=${BENCH_STARTUP_ROUNDS:-$((5 * rounds))}
    ;;
smoke) vendors=2 devices=5 rounds=${BENCH_ROUNDS:-1} startup_rounds=${BENCH_STARTUP_ROUNDS:-1} ;;
*) e2e_fail "BENCH_SIZE is full or smoke" ;;
esac
keys=$((1 + vendors * (1 + devices)))
values=$((vendors * (1 + 3 * devices)))
# Importing and querying the full tree take longer than any step of the other cases.
E2E_STEP_SECONDS=${E2E_STEP_SECONDS:-600}
subkey='Enum\PCI'
adapter=eth0 # the description Wine gives the first adapter of the rig

e2e_prefix win98
bench_dir=$PREFIX/drive_c/bench
mkdir -p "$bench_dir"
for exe in bench_bare_walk bench_search bench_window bench_startup; do
    cp "$E2E_WINDOWS_BUILD/bench/$exe.exe" "$bench_dir/" || e2e_fail "no $exe.exe: build first"
done
bash "$bench_src/make_subtree.sh" "$vendors" "$devices" "$adapter" >"$bench_dir/subtree.reg"
# Everything timed takes wirewise's road (Wine loads more for a program it runs as Windows 98):
# the benchmark's programs and Wine's own reg.exe, which works the same there.
for exe in bench_bare_walk bench_search bench_window bench_startup reg; do
    e2e_reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe.exe" /v Version /t REG_SZ /d win98 /f
done
# The earlier wirewise lies beside the current one, with its IP Helper library files.
if [ -n "${BENCH_BEFORE:-}" ]; then
    cp "$BENCH_BEFORE" "$PROGRAM_DIR/earlier.exe" || e2e_fail "no $BENCH_BEFORE"
    e2e_reg add 'HKCU\Software\Wine\AppDefaults\earlier.exe' /v Version /t REG_SZ /d win98 /f
fi

# bench_run NAME WINDOWS-PROGRAM ARGS...: runs a program from C:\bench; its output, CR removed,
# in $CASE_DIR/NAME.out and $out.
bench_run() {
    local name=$1
    shift
    (cd "$bench_dir" && e2e_wine "$@" >"$CASE_DIR/$name.raw" 2>>"$CASE_DIR/wine.err") ||
        e2e_fail "$name failed: $(cat "$CASE_DIR/$name.raw")"
    tr -d '\r' <"$CASE_DIR/$name.raw" >"$CASE_DIR/$name.out"
    out=$(cat "$CASE_DIR/$name.out")
    [[ $out == *", as Windows 4.10" ]] || e2e_fail "$name ran off the Windows 98 road: $out"
}

# bench_record NAME MS: one round's figure.
bench_record() { echo "$2" >>"$CASE_DIR/times.$1"; }

# bench_ms TEXT: the number before " ms" in a program's line.
bench_ms() { sed -n 's/.* \([0-9][0-9]*\) ms.*/\1/p' <<<"$1"; }

# Start-up to window, three ways. "In Wine": bench_startup, inside the session, from its
# CreateProcess of the program to the program's window being visible.
startup_wirewise() { # NAME [PROGRAM-FILE-NAME]
    local program="C:\\corvane\\${2:-wirewise}.exe"
    bench_run startup 'C:\bench\bench_startup.exe' 'Corvane Wirewise' "$program"
    bench_record "$1" "$(bench_ms "$out")"
}
startup_window() {
    bench_run startup 'C:\bench\bench_startup.exe' 'Bench Window' 'C:\bench\bench_window.exe Bench Window'
    bench_record window "$(bench_ms "$out")"
}

# "From wine": x_startup, on the host, from launching "wine PROGRAM" to the program's window
# being mapped on the display, Wine's own start of the process included; with the session's
# Wine (server, services, desktop) running, and with no Wine running at all, as a user who
# double-clicks the program starts it (Wine then starts its session first).
x_startup=$CASE_DIR/x_startup
cc -O2 -std=c11 -Wall -Wextra -Werror -o "$x_startup" "$bench_src/x_startup.c" -lX11 ||
    e2e_fail "cannot build x_startup (a C compiler and libx11-dev)"
host_run() { # NAME CAPTION WINDOWS-COMMAND...
    local name=$1 caption=$2
    shift 2
    e2e_session
    (cd "$bench_dir" && e2e_in_session "$x_startup" "$caption" wine "$@" >"$CASE_DIR/host.out" \
        2>>"$CASE_DIR/wine.err") || e2e_fail "$name: $(cat "$CASE_DIR/host.out")"
    bench_record "$name" "$(bench_ms "$(cat "$CASE_DIR/host.out")")"
}
host_wirewise() { host_run "$1" 'Corvane Wirewise' "C:\\corvane\\${2:-wirewise}.exe"; }
host_window() { host_run "$1" 'Bench Window' 'C:\bench\bench_window.exe' Bench Window; }
wine_down() {
    e2e_session
    e2e_in_session wineserver -k 2>/dev/null || true
    e2e_in_session wineserver -w
}

# No Wine running: every start begins with Wine's own session. The first round only warms the
# system's file cache.
for ((r = 0; r <= startup_rounds; r++)); do
    wine_down
    host_wirewise cold_plain
    if [ -n "${BENCH_BEFORE:-}" ]; then
        wine_down
        host_wirewise cold_earlier earlier
    fi
    wine_down
    host_window cold_window
done
for f in "$CASE_DIR"/times.cold_*; do sed -i 1d "$f"; done
wine_down
e2e_in_session wineserver -p

# Warm-up: the first start of a program in a fresh session is no start-up of the program.
bench_run warmup 'C:\bench\bench_startup.exe' 'Bench Window' 'C:\bench\bench_window.exe Bench Window'
startup_wirewise warmup
[ -z "${BENCH_BEFORE:-}" ] || startup_wirewise warmup earlier

for ((r = 1; r <= startup_rounds; r++)); do
    startup_wirewise plain
    [ -z "${BENCH_BEFORE:-}" ] || startup_wirewise earlier earlier
    startup_window
    host_wirewise host_plain
    [ -z "${BENCH_BEFORE:-}" ] || host_wirewise host_earlier earlier
    host_window host_window
done

e2e_wine regedit /S 'C:\bench\subtree.reg' >>"$CASE_DIR/reg.out" 2>>"$CASE_DIR/wine.err" ||
    e2e_fail "importing the subtree failed"

# The walk and the search run back to back, so that each round's pair sees the same load.
for ((r = 1; r <= rounds; r++)); do
    bench_run walk 'C:\bench\bench_bare_walk.exe' "$subkey" "$adapter"
    walked="$keys keys, $values values, 1 matches, as Windows 4.10"
    [ "$out" = "bare walk $(bench_ms "$out") ms, $walked" ] ||
        e2e_fail "the bare walk saw another tree: $out"
    bench_record walk "$(bench_ms "$out")"

    bench_run search 'C:\bench\bench_search.exe' "$subkey" "$adapter"
    [ "$out" = "search $(bench_ms "$out") ms, 1 found, reason 0, as Windows 4.10" ] ||
        e2e_fail "the search found something else: $out"
    bench_record search "$(bench_ms "$out")"

    start=$(date +%s%N)
    (cd "$bench_dir" && e2e_wine reg query "HKLM\\$subkey" /s >"$CASE_DIR/query.raw" \
        2>>"$CASE_DIR/wine.err") || e2e_fail "reg query failed"
    bench_record query $((($(date +%s%N) - start) / 1000000))
    got=$(tr -d '\r' <"$CASE_DIR/query.raw" | grep -c '^    [^ ]' || true)
    [ "$got" = "$values" ] || e2e_fail "reg query listed $got values, not $values"

    startup_wirewise subtree
done

# min median max of one figure's rounds
bench_stats() {
    sort -n "$CASE_DIR/times.$1" | awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%d %d %d\n", v[1], m, v[NR] }'
}
# The start-up's share of one search, round by round against the median start-up without the
# subtree: two adapters, two searches.
read -r _ plain_median _ < <(bench_stats plain)
awk -v p="$plain_median" '{ printf "%d\n", ($1 - p) / 2 }' "$CASE_DIR/times.subtree" \
    >"$CASE_DIR/times.cost"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }'; }

echo
echo "Registry search benchmark: $keys keys, $values values under HKLM\\$subkey, $rounds round(s)"
echo "(start-ups without the subtree: $startup_rounds round(s))"
printf '%-46s %8s %8s %8s\n' "ms" min median max
for entry in "walk:bare walk (one open per key)" "query:reg query /s" \
    "search:search (wirewise's search class)" \
    "subtree:in Wine: wirewise to window, subtree" \
    "plain:in Wine: wirewise to window, no subtree" \
    "window:in Wine: bare window to window" \
    "cost:in Wine: start-up's share of one search" \
    "host_plain:from wine, Wine running: wirewise" \
    "host_window:from wine, Wine running: bare window" \
    "cold_plain:from wine, no Wine running: wirewise" \
    "cold_window:from wine, no Wine running: bare window" \
    "earlier:in Wine: earlier wirewise, no subtree" \
    "host_earlier:from wine, Wine running: earlier wirewise" \
    "cold_earlier:from wine, no Wine running: earlier wirewise"; do
    f=${entry%%:*}
    [ -s "$CASE_DIR/times.$f" ] || continue
    read -r lo mid hi < <(bench_stats "$f")
    printf '%-46s %8d %8d %8d\n' "${entry#*:}" "$lo" "$mid" "$hi"
    eval "${f}_min=\$lo ${f}_med=\$mid"
done
# Load from elsewhere mostly adds time: the minimums are the steadier figures.
# The median of the rounds' own ratios pairs figures timed close together.
printf '%-46s %8s %8s %8s\n' "ratios" medians minimums rounds
bench_ratio() { # TEXT A B GOAL: A / B for figures named A and B
    local am=${2}_med an=${2}_min bm=${3}_med bn=${3}_min paired
    paired=$(paste "$CASE_DIR/times.$2" "$CASE_DIR/times.$3" |
        awk '{ print $1 / ($2 > 0 ? $2 : 1) }' | sort -g |
        awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')
    printf '%-46s %8s %8s %8s  %s\n' "$1" "$(ratio "${!am}" "${!bm}")" "$(ratio "${!an}" "${!bn}")" \
        "$paired" "$4"
}
bench_ratio "search / bare walk" search walk "(goal <= 1.10)"
bench_ratio "reg query /s / search" query search "(goal >= 3)"
bench_ratio "in Wine: wirewise / bare window" plain window ""
bench_ratio "from wine, Wine running: wirewise / bare" host_plain host_window ""
bench_ratio "from wine, no Wine running: wirewise / bare" cold_plain cold_window "(goal <= 1.10)"
bench_ratio "in Wine: start-up's share of one search / walk" cost walk ""
if [ -n "${BENCH_BEFORE:-}" ]; then
    bench_ratio "in Wine: wirewise / earlier" plain earlier ""
    bench_ratio "from wine, Wine running: wirewise / earlier" host_plain host_earlier ""
    bench_ratio "from wine, no Wine running: wirewise / earlier" cold_plain cold_earlier ""
fi
echo "Start-up to window without the subtree: the goal is measured as a user starts the program,"
echo "from launching wine with no Wine running to the window on the display."
