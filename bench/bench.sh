# The registry search benchmark, run as an end-to-end case on the common rig (run-case.sh sources
# it after lib.sh; scripts/bench is the command). On the Windows 98 road, in one Wine session, it
# times over several rounds: the bare walk of a synthetic HKLM\Enum\PCI subtree, Wine's
# "reg query /s" of it, one search of wirewise's search class over it, wirewise's start-up to its
# window with and without the subtree (two adapters: two searches), and a bare window's start-up;
# then it prints min/median/max of each and the ratios that matter.
#   BENCH_SIZE   full (default: 20,101 keys, 60,100 values, 3 rounds) or smoke (a small tree,
#                1 round: only checks that everything runs and finds what it should)
#   BENCH_ROUNDS rounds instead of the size's default
bench_src=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
case ${BENCH_SIZE:-full} in
full) vendors=100 devices=200 rounds=${BENCH_ROUNDS:-3} ;;
smoke) vendors=2 devices=5 rounds=${BENCH_ROUNDS:-1} ;;
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
# The bare window starts on the same road: Wine loads more for a program it runs as Windows 98.
e2e_reg add 'HKCU\Software\Wine\AppDefaults\bench_window.exe' /v Version /t REG_SZ /d win98 /f

# bench_run NAME WINDOWS-PROGRAM ARGS...: runs a program from C:\bench; its output, CR removed,
# in $CASE_DIR/NAME.out and $out.
bench_run() {
    local name=$1
    shift
    (cd "$bench_dir" && e2e_wine "$@" >"$CASE_DIR/$name.raw" 2>>"$CASE_DIR/wine.err") ||
        e2e_fail "$name failed: $(cat "$CASE_DIR/$name.raw")"
    tr -d '\r' <"$CASE_DIR/$name.raw" >"$CASE_DIR/$name.out"
    out=$(cat "$CASE_DIR/$name.out")
}

# bench_record NAME MS: one round's figure.
bench_record() { echo "$2" >>"$CASE_DIR/times.$1"; }

# bench_ms TEXT: the number before " ms" in a program's line.
bench_ms() { sed -n 's/.* \([0-9][0-9]*\) ms.*/\1/p' <<<"$1"; }

startup_wirewise() {
    bench_run startup 'C:\bench\bench_startup.exe' 'Corvane Wirewise' 'C:\corvane\wirewise.exe'
    bench_record "$1" "$(bench_ms "$out")"
}
startup_window() {
    bench_run startup 'C:\bench\bench_startup.exe' 'Bench Window' 'C:\bench\bench_window.exe Bench Window'
    bench_record window "$(bench_ms "$out")"
}

# Warm-up: the first start of a program in a fresh session is no start-up of the program.
bench_run warmup 'C:\bench\bench_startup.exe' 'Bench Window' 'C:\bench\bench_window.exe Bench Window'
bench_run warmup 'C:\bench\bench_startup.exe' 'Corvane Wirewise' 'C:\corvane\wirewise.exe'

for ((r = 1; r <= rounds; r++)); do
    startup_wirewise plain
    startup_window
done

e2e_wine regedit /S 'C:\bench\subtree.reg' >>"$CASE_DIR/reg.out" 2>>"$CASE_DIR/wine.err" ||
    e2e_fail "importing the subtree failed"

# The walk and the search run back to back, so that each round's pair sees the same load.
for ((r = 1; r <= rounds; r++)); do
    bench_run walk 'C:\bench\bench_bare_walk.exe' "$subkey" "$adapter"
    [ "$out" = "bare walk $(bench_ms "$out") ms, $keys keys, $values values, 1 matches" ] ||
        e2e_fail "the bare walk saw another tree: $out"
    bench_record walk "$(bench_ms "$out")"

    bench_run search 'C:\bench\bench_search.exe' "$subkey" "$adapter"
    [ "$out" = "search $(bench_ms "$out") ms, 1 found, reason 0" ] ||
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
# The start-up's share of one search, round by round: two adapters, two searches.
paste "$CASE_DIR/times.subtree" "$CASE_DIR/times.plain" |
    awk '{ printf "%d\n", ($1 - $2) / 2 }' >"$CASE_DIR/times.cost"

# min median max of one figure's rounds
bench_stats() {
    sort -n "$CASE_DIR/times.$1" | awk '{ v[NR] = $1 }
        END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%d %d %d\n", v[1], m, v[NR] }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }'; }

echo
echo "Registry search benchmark: $keys keys, $values values under HKLM\\$subkey, $rounds round(s)"
printf '%-46s %8s %8s %8s\n' "ms" min median max
for entry in "walk:bare walk (one open per key)" "query:reg query /s" \
    "search:search (wirewise's search class)" "subtree:wirewise start-up to window, subtree" \
    "plain:wirewise start-up to window, no subtree" "window:bare window start-up to window" \
    "cost:start-up's share of one search"; do
    f=${entry%%:*}
    read -r lo mid hi < <(bench_stats "$f")
    printf '%-46s %8d %8d %8d\n' "${entry#*:}" "$lo" "$mid" "$hi"
    eval "${f}_min=\$lo ${f}_med=\$mid"
done
# Load from elsewhere only ever adds time: the minimums are the steadier figures.
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
bench_ratio "start-up no subtree / bare window" plain window "(goal <= 1.10)"
bench_ratio "start-up's share of one search / bare walk" cost walk ""
