#!/usr/bin/env bash
# The release's steps on copies of its files: the time it takes, the seal (checksums and zip) that
# must come out the same whatever the time, umask and time zone, and the comparison that names
# every file that differs between two releases.
# release_steps.sh SOURCE DIST
set -uo pipefail
source=$1 dist=$2
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"
source "$source/scripts/lib/release.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The time: SOURCE_DATE_EPOCH when it is a time the zip and the PE header can hold.
commit=$(git -C "$source" log -1 --format=%ct 2>/dev/null || echo none)
epochs=(
    "|0|$commit"
    "1796665882|0|1796665882"
    "315532800|0|315532800"
    "4294967295|0|4294967295"
    "315532799|1|package: SOURCE_DATE_EPOCH must be seconds since 1970 between 1980 and 2106, not '315532799'"
    "4294967296|1|package: SOURCE_DATE_EPOCH must be seconds since 1970 between 1980 and 2106, not '4294967296'"
    "12 May 2026|1|package: SOURCE_DATE_EPOCH must be seconds since 1970 between 1980 and 2106, not '12 May 2026'"
)
for row in "${epochs[@]}"; do
    IFS='|' read -r value status text <<<"$row"
    [ -n "$value" ] || [ "$commit" != none ] || continue
    expect_output "SOURCE_DATE_EPOCH='$value'" "$status" "$text" \
        env SOURCE_DATE_EPOCH="$value" bash -c 'source "$1/scripts/lib/release.sh"; release_epoch "$1"' _ "$source"
done
expect_output "no time at all" 1 "package: no SOURCE_DATE_EPOCH and no commit in $work to take the time from" \
    env -u SOURCE_DATE_EPOCH bash -c 'source "$1/scripts/lib/release.sh"; release_epoch "$2"' _ "$source" "$work"

# The seal of the same files, made at other times, under other umasks and time zones, from
# files with other times and modes: the same bytes.
seal_copy() { # seal_copy FOLDER UMASK TZ FILE_TIME
    mkdir "$1"
    cp "$dist"/{wirewise.exe,iphlpapi_9x.dll,iphlpapi_2k.dll,iphlpapi_xp.dll,gatekey.exe,README.txt,autorun.inf} "$1"/
    touch -d "$4" "$1"/*
    chmod 600 "$1"/gatekey.exe
    (umask "$2" && TZ=$3 release_seal "$1" 1796665882)
}
seal_copy "$work/a" 022 UTC "2001-01-01 00:00"
sleep 2
seal_copy "$work/b" 077 Pacific/Kiritimati "2030-06-01 12:00"
seal_copy "$work/c" 002 America/Los_Angeles "1999-12-31 23:59"
for copy in b c; do
    release_compare "$work/a" "$work/$copy" || fail "sealed in $copy, the release differs"
done
(cd "$work/a" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match its files"
names=$(cd "$work/a" && awk '{print $2}' SHA256SUMS | tr '\n' ' ')
[ "$names" = "wirewise.exe iphlpapi_9x.dll iphlpapi_2k.dll iphlpapi_xp.dll gatekey.exe README.txt autorun.inf " ] ||
    fail "SHA256SUMS lists: $names"
listing=$(TZ=UTC unzip -Z -T "$work/a/corvane-cd.zip" | awk '/^-/ && NF == 8 {print $1, $7, $8}')
expected=""
for name in wirewise.exe iphlpapi_9x.dll iphlpapi_2k.dll iphlpapi_xp.dll gatekey.exe README.txt autorun.inf SHA256SUMS; do
    expected+="-rw-r--r-- 20261207.175122 $name"$'\n'
done
[ "$listing" = "${expected%$'\n'}" ] || fail "the zip holds"$'\n'"$listing"
for f in "$work"/a/*; do
    [ "$(stat -c '%a %Y' "$f")" = "644 1796665882" ] || fail "$(basename "$f"): mode and time $(stat -c '%a %Y' "$f")"
done

# The comparison: silent on equal folders, else one line per file that differs or is missing.
compare_case() { # compare_case NAME CHANGE EXPECTED_STATUS EXPECTED_TEXT
    rm -rf "$work/x" "$work/y"
    cp -a "$work/a" "$work/x"
    cp -a "$work/a" "$work/y"
    (cd "$work/y" && eval "$2")
    expect_output "$1" "$3" "$4" release_compare "$work/x" "$work/y"
}
compare_case "same" ":" 0 ""
compare_case "one byte of a program" "printf '\\x01' | dd of=wirewise.exe bs=1 seek=199 conv=notrunc status=none" 1 \
    "reproducible: wirewise.exe differs (byte 200)"
compare_case "the last byte of the zip" "truncate -s -1 corvane-cd.zip && printf Z >>corvane-cd.zip" 1 \
    "reproducible: corvane-cd.zip differs (byte $(stat -c %s "$work/a/corvane-cd.zip"))"
compare_case "a shorter text" "truncate -s -2 README.txt" 1 \
    "reproducible: README.txt differs ($(stat -c %s "$work/a/README.txt") bytes in $work/x, $(($(stat -c %s "$work/a/README.txt") - 2)) in $work/y)"
compare_case "a missing and an extra file" "rm autorun.inf && touch desktop.ini" 1 \
    "reproducible: autorun.inf is only in $work/x"$'\n'"reproducible: desktop.ini is only in $work/y"
compare_case "two files" "printf '\\x00' | dd of=iphlpapi_xp.dll bs=1 seek=136 conv=notrunc status=none && sed -i '1s/^./x/' SHA256SUMS" 1 \
    "reproducible: SHA256SUMS differs (byte 1)"$'\n'"reproducible: iphlpapi_xp.dll differs (byte 137)"
finish
