#!/usr/bin/env bash
# pe-stamp on copies of the release's programs: it writes the stamp into the header and the
# export directory and recomputes the checksum exactly as the linker does; it refuses what is no
# PE file, leaving it as it was.
# pe_stamp.sh PE_STAMP DIST
set -uo pipefail
pe_stamp=$(realpath "$1") dist=$2
source "$(dirname "${BASH_SOURCE[0]}")/check.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for program in wirewise.exe gatekey.exe iphlpapi_9x.dll iphlpapi_2k.dll iphlpapi_xp.dll; do
    cp "$dist/$program" "$work/$program"
    own=$(pe_stamp_of "$work/$program")
    # The file's own stamp again: the recomputed checksum must be the one already there.
    "$pe_stamp" "$own" "$work/$program" || fail "$program: pe-stamp failed"
    cmp -s "$dist/$program" "$work/$program" || fail "$program: restamped with its own stamp, it changed"

    "$pe_stamp" 1000000000 "$work/$program" || fail "$program: pe-stamp failed"
    [ "$(pe_stamp_of "$work/$program")" = 1000000000 ] || fail "$program: header stamp not set"
    dump=$(i686-w64-mingw32-objdump -p "$work/$program")
    grep -q $'^Time/Date\t\tSun Sep  9 01:46:40 2001$' <<<"$dump" || fail "$program: objdump's date"
    case $program in
    *.dll) grep -qx $'Time/Date stamp \t\t3b9aca00' <<<"$dump" || fail "$program: export stamp not set" ;;
    esac
    "$pe_stamp" "$own" "$work/$program"
    cmp -s "$dist/$program" "$work/$program" || fail "$program: stamped back, it is not the original"
done

# What pe-stamp refuses, and the message it gives.
printf 'plain text, no program\n' >"$work/text.txt"
head -c 300 "$dist/wirewise.exe" >"$work/short.exe"
head -c 4096 "$dist/iphlpapi_9x.dll" >"$work/short.dll"
printf 'MZ' >"$work/mz.exe"
head -c 62 /dev/zero >>"$work/mz.exe"
printf '\xff\xff\x00\x00' >>"$work/mz.exe"
cp "$dist/wirewise.exe" "$work/copy.exe"
refusals=(
    "text.txt|1000000000|pe-stamp: text.txt: not an MZ file"
    "short.exe|1000000000|pe-stamp: short.exe: ends within its headers"
    "short.dll|1000000000|pe-stamp: short.dll: section 5 lies beyond the end of the file"
    "mz.exe|1000000000|pe-stamp: mz.exe: no PE header"
    "copy.exe|yesterday|pe-stamp: usage: pe-stamp EPOCH FILE..."
    "copy.exe|4294967296|pe-stamp: usage: pe-stamp EPOCH FILE..."
)
for row in "${refusals[@]}"; do
    IFS='|' read -r file epoch message <<<"$row"
    cp "$work/$file" "$work/before"
    expect_output "$file $epoch" 1 "$message" bash -c 'cd "$1" && "$2" "$3" "$4"' _ "$work" "$pe_stamp" "$epoch" "$file"
    cmp -s "$work/before" "$work/$file" || fail "$file: changed although refused"
done
finish
