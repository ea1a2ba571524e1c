#!/usr/bin/env bash
# The release folder as scripts/package leaves it: autorun.inf in the form every Windows reads
# (ANSI, CR LF, the three keys), the users' text in ANSI with CR LF, checksums that match, and one
# time in every program's header and on every file.
# dist_form.sh DIST
set -uo pipefail
dist=$1
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"

[ "$(cat "$dist/autorun.inf")" = $'[autorun]\r\nopen=wirewise.exe\r\nicon=wirewise.exe,0\r\nlabel=Corvane Router CD\r' ] ||
    fail "autorun.inf holds: $(od -c "$dist/autorun.inf")"
for text in autorun.inf README.txt; do
    ! LC_ALL=C grep -q $'[^\t\r -~]' "$dist/$text" || fail "$text is not plain ASCII"
    [ "$(tail -c 2 "$dist/$text" | od -An -tx1 | tr -d ' ')" = 0d0a ] || fail "$text does not end in CR LF"
    bare=$(LC_ALL=C grep -c $'[^\r]$\|^$' "$dist/$text")
    [ "$bare" -eq 0 ] || fail "$text: $bare line(s) without CR before LF"
done
# README.txt says what the CD does when it goes into the drive.
grep -q 'autorun.inf' "$dist/README.txt" || fail "README.txt does not name autorun.inf"
grep -qF '"Corvane Router CD"' "$dist/README.txt" || fail "README.txt does not give the CD's name"

files="wirewise.exe iphlpapi_9x.dll iphlpapi_2k.dll iphlpapi_xp.dll gatekey.exe README.txt autorun.inf"
[ "$(awk '{print $2}' "$dist/SHA256SUMS" | tr '\n' ' ')" = "$files " ] || fail "SHA256SUMS lists: $(cat "$dist/SHA256SUMS")"
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
[ "$(unzip -Z1 "$dist/corvane-cd.zip" | tr '\n' ' ')" = "$files SHA256SUMS " ] ||
    fail "the zip holds: $(unzip -Z1 "$dist/corvane-cd.zip" | tr '\n' ' ')"
[ "$(ls "$dist" | wc -l)" -eq 9 ] || fail "dist/ holds: $(ls "$dist" | tr '\n' ' ')"

epoch=$(stat -c %Y "$dist/wirewise.exe")
for f in "$dist"/*; do
    [ "$(stat -c %Y "$f")" = "$epoch" ] || fail "$(basename "$f") has another time"
done
for program in wirewise.exe iphlpapi_9x.dll iphlpapi_2k.dll iphlpapi_xp.dll gatekey.exe; do
    [ "$(pe_stamp_of "$dist/$program")" = "$epoch" ] || fail "$program: header stamp $(pe_stamp_of "$dist/$program"), not $epoch"
done
finish
