# The release folder copied to a folder whose name the Western code page cannot write (Cyrillic
# and Japanese), on the Windows 10 road: the program finds its own path whole, loads its IP
# Helper library files from there, reads its version and writes Setup.log and the restore file
# beside itself; the log, being ANSI text, shows the characters it lacks as "?".
# The host's file names are UTF-8 (a locale that exists here), the Windows code page Western.
export LC_ALL=C.UTF-8
folder='Программы-日本語'
e2e_prefix win10 wirewise.exe "$folder"
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
expect-rows cboNIC 2
tick chkConnected
click cmdWrite
close
expect-exit 0
EOS
[ -f "$LOG" ] || e2e_fail "no Setup.log beside the program"
log_expect_first "->"
log_expect_line 2 "wirewise 1.0.10"
log_expect_count "Missing iphlpapi_xp.dll" 0
log_expect_order "->" "wirewise 1.0.10" " *Reading...*" " *Set clicked*" \
    're:Backup = C:\\\?{9}-\?{3}\\Setup-backup\.reg' "Setup incomplete" "<-"
[ -f "$PROGRAM_DIR/Setup-backup.reg" ] || e2e_fail "no restore file beside the program"
