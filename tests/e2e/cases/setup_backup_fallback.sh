# Where the program's folder takes no restore file (here a folder stands where its temporary file
# would be written), it goes to the program's data folder under the common application data
# folder, never to the user's temporary folder; the log and the box of a run that could not
# finish name it. Where that folder cannot be had either (a file stands where it would be), the
# user is asked: No ends the run before any change, Yes goes on without a copy.
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
e2e_reg add "$ie" /v ProxyEnable /t REG_DWORD /d 1 /f
e2e_drive <<<"$run
click cmdWrite
close
expect-exit 0"
backup=$(log_lines | sed -n 's/^Backup = //p')
[ "$backup" = 'C:\ProgramData\Corvane\Wirewise\Setup-backup.reg' ] || e2e_fail "the restore file went to \"$backup\""
file=$PREFIX/drive_c/$(echo "${backup#C:\\}" | tr '\\' /)
[ -f "$file" ] || e2e_fail "no $file"
grep -q '^"ProxyEnable"=dword:00000001'$'\r''$' "$file" || e2e_fail "the restore file lacks ProxyEnable"
[ -z "$(ls "$PROGRAM_DIR" | grep -i '^Setup-backup.*\.reg$')" ] || e2e_fail "a restore file beside the program"
log_expect_order " *Set clicked*" "Backup = $backup" "Selected: eth0" "Setup incomplete" "<-"
[ "$(last_box)" = "$incomplete\\r\\n\\r\\nTo put your previous settings back, open $backup." ] ||
    e2e_fail "the last box is \"$(last_box)\""
reg_expect "$ie" ProxyEnable 0x0

[ -z "$(find "$PREFIX/drive_c/users" -iname 'Setup-backup*')" ] || e2e_fail "a restore file in a user's folder"

# No data folder to write to either: No changes nothing, Yes changes without a copy.
data_dir=$PREFIX/drive_c/ProgramData/Corvane/Wirewise
rm -rf "$data_dir"
touch "$data_dir"
e2e_reg add "$ie" /v ProxyEnable /t REG_DWORD /d 1 /f
for answer in no yes; do
    e2e_install wirewise.exe "$answer"
    mkdir "$PROGRAM_DIR/Setup-backup.reg.tmp"
    e2e_drive <<<"$run
press cmdWrite
expect-box \"$question\" $answer
settle
close
expect-exit 0"
    [ -z "$(ls "$PROGRAM_DIR" | grep -i '^Setup-backup.*\.reg$')" ] || e2e_fail "$answer: a restore file"
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
