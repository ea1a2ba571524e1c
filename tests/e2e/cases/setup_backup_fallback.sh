# A restore file left half made by a crash (a name ending in .tmp) costs no later run its copy:
# the run takes a temporary name of its own and leaves the other as it found it. Where neither the
# program's folder nor the program's data folder takes the file (every temporary name taken; Wine
# keeps no rights on a folder, so the data folder it makes reads back as one a user may write in
# and is refused), the user is asked: No ends the run before any change, Yes goes on without a
# copy. Nothing is ever written in the user's temporary folder or in the refused folder.
question="Setup could not save a copy of your current network settings.\\r\\n\\r\\nDo you want to change them anyway?"
incomplete="Setup could not finish setting up your network.\\r\\n\\r\\nSetup.log beside this program lists every setting before and after this run."
ie='HKU\S-1-5-21-0-0-0-1000\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
run='start $PROGRAM
window "Corvane Wirewise"
settle
tick chkConnected'
last_box() { tr -d '\r' <"$DRIVER_OUT" | sed -n 's/^box: //p' | tail -n 1; }

e2e_prefix winxp
mkdir "$PROGRAM_DIR/Setup-backup.reg.tmp"
printf 'a crashed run\r\n' >"$PROGRAM_DIR/Setup-backup.reg.2.tmp"
e2e_reg add "$ie" /v ProxyEnable /t REG_DWORD /d 1 /f
e2e_drive <<<"$run
click cmdWrite
close
expect-exit 0"
backup=$(log_lines | sed -n 's/^Backup = //p')
[ "$backup" = 'C:\corvane\Setup-backup.reg' ] || e2e_fail "the restore file went to \"$backup\""
grep -q '^"ProxyEnable"=dword:00000001'$'\r''$' "$PROGRAM_DIR/Setup-backup.reg" ||
    e2e_fail "the restore file lacks ProxyEnable"
[ -d "$PROGRAM_DIR/Setup-backup.reg.tmp" ] && [ -z "$(ls -A "$PROGRAM_DIR/Setup-backup.reg.tmp")" ] &&
    [ "$(cat "$PROGRAM_DIR/Setup-backup.reg.2.tmp")" = $'a crashed run\r' ] ||
    e2e_fail "a leftover was changed"
[ "$(ls "$PROGRAM_DIR" | grep -ic '\.tmp$')" = 2 ] || e2e_fail "a temporary file of the run's own was left"
log_expect_order " *Set clicked*" "Backup = $backup" "Selected: eth0" "Setup incomplete" "<-"
[ "$(last_box)" = "$incomplete\\r\\n\\r\\nTo put your previous settings back, open $backup." ] ||
    e2e_fail "the last box is \"$(last_box)\""
reg_expect "$ie" ProxyEnable 0x0

# Every temporary name taken beside the program, and the data folder refused.
e2e_reg add "$ie" /v ProxyEnable /t REG_DWORD /d 1 /f
for answer in no yes; do
    e2e_install wirewise.exe "$answer"
    mkdir "$PROGRAM_DIR/Setup-backup.reg.tmp" "$PROGRAM_DIR"/Setup-backup.reg.{2..99}.tmp
    e2e_drive <<<"$run
press cmdWrite
expect-box \"$question\" $answer
settle
close
expect-exit 0"
    [ -z "$(ls "$PROGRAM_DIR" | grep -i '^Setup-backup.*\.reg$')" ] || e2e_fail "$answer: a restore file"
    [ -z "$(ls -A "$PREFIX/drive_c/ProgramData/Corvane")" ] || e2e_fail "$answer: a file in the refused folder"
    if [ "$answer" = no ]; then
        [ "$(log_lines | sed -n '/^ \*Set clicked\*$/,$p')" = "$(printf '%s\n' " *Set clicked*" "Setup cancelled" "<-")" ] ||
            e2e_fail "no: the run went on after the question"
        reg_expect "$ie" ProxyEnable 0x1
    else
        log_expect_order " *Set clicked*" "Backup failed" "Selected: eth0" "Setting values" \
            " *Reading...*" "Setup incomplete" "<-"
        [ "$(last_box)" = "$incomplete" ] || e2e_fail "yes: the last box is \"$(last_box)\""
        reg_expect "$ie" ProxyEnable 0x0
    fi
done
[ -z "$(find "$PREFIX/drive_c/users" -iname 'Setup-backup*')" ] || e2e_fail "a restore file in a user's folder"
