# Checks shared by the release tests (sourced): each failure is counted and named, and the test
# ends with the count, so that one run shows every case that fails.
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
# expect_output NAME EXPECTED_STATUS EXPECTED_TEXT COMMAND...: status and output, exactly.
expect_output() {
    local name=$1 status=$2 text=$3 out got=0
    shift 3
    out=$("$@" 2>&1) || got=$?
    [ "$got" -eq "$status" ] || fail "$name: exit status $got, not $status: $out"
    [ "$out" = "$text" ] || fail "$name: output"$'\n'"$out"$'\n'"not"$'\n'"$text"
}
# The 32-bit little-endian number at OFFSET of FILE.
u32_at() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
# The PE header's time stamp.
pe_stamp_of() { u32_at "$1" $(($(u32_at "$1" 60) + 8)); }
finish() {
    [ "$failures" -eq 0 ] || { echo "$failures check(s) failed" >&2; exit 1; }
    echo "all checks passed"
}
