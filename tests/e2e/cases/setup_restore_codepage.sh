# On a Japanese Windows (ANSI code page 932) the second byte of many characters is 0x5C, the
# backslash. The restore file keeps such a character whole, and regedit brings the value back
# as it was: "http://p/" with the character for "table" (95 5C) ends in that character, not in
# a doubled backslash that regedit would read as an escaped quote.
export LC_ALL=ja_JP.UTF-8
ie='HKU\S-1-5-21-0-0-0-1000\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
e2e_prefix winxp
# Seeded from a Unicode registry file: a command line would reach Wine through the host's locale.
{
    printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"AutoConfigURL"="http://p/表"\r\n' \
        "${ie/HKU/HKEY_USERS}" | iconv -f UTF-8 -t UTF-16LE
} >"$PREFIX/drive_c/e2e/seed.reg"
e2e_wine regedit /s 'C:\e2e\seed.reg' 2>>"$CASE_DIR/wine.err" || e2e_fail "the seed was refused"
before=$(reg_value "$ie" AutoConfigURL)
[ -n "$before" ] || e2e_fail "AutoConfigURL was not seeded"
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
tick chkConnected
click cmdWrite
close
expect-exit 0
EOS
log_expect_order " *Set clicked*" 'Backup = C:\corvane\Setup-backup.reg' "<-"
[ -z "$(reg_value "$ie" AutoConfigURL)" ] || e2e_fail "the run left AutoConfigURL as it was"
grep -qaF "\"AutoConfigURL\"=\"http://p/$(printf '\x95\x5c')\"$(printf '\r')" \
    "$PROGRAM_DIR/Setup-backup.reg" || e2e_fail "the restore file does not keep 95 5C whole"
e2e_wine regedit /s 'C:\corvane\Setup-backup.reg' 2>>"$CASE_DIR/wine.err" ||
    e2e_fail "regedit refused the restore file"
after=$(reg_value "$ie" AutoConfigURL)
[ "$after" = "$before" ] || e2e_fail "regedit brought back \"$after\", not \"$before\""
