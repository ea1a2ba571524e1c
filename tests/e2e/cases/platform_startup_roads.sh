# Start-up on every road in one prefix, one copy of the program per road: the OS line; the user
# line with the user Wine runs as; on every NT build (the later ones "OS = Unknown") the SID line,
# which names the user's key under HKEY_USERS.
e2e_prefix winxp
user=$(id -un)
for entry in win98:Win98:no nt40:WinNT:yes win2k:Win2K:yes winxp:WinXP:yes win7:Unknown:yes \
    win10:Unknown:yes; do
    IFS=: read -r road os nt <<<"$entry"
    exe=wirewise_$road.exe
    cp "$WIREWISE_EXE" "$PROGRAM_DIR/$exe"
    e2e_reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe" /v Version /t REG_SZ /d "$road" /f
    rm -f "$LOG"
    e2e_drive <<EOS
start C:\\corvane\\$exe
window "Corvane Wirewise"
settle
close
expect-exit 0
EOS
    log_expect_line 1 "->"
    log_expect_line 3 "OS = $os"
    log_expect_line 5 "User: $user"
    sid=$(log_lines | sed -n 6p)
    if [ "$nt" = yes ]; then
        [[ $sid =~ ^S-1-5-21(-[0-9]+)+$ ]] || e2e_fail "$road: line 6 is \"$sid\", not a SID"
        e2e_wine reg query "HKU\\$sid" >/dev/null 2>>"$CASE_DIR/wine.err" ||
            e2e_fail "$road: HKEY_USERS has no key $sid"
    else
        if log_lines | grep -qE '^S-[0-9]+-'; then e2e_fail "$road: a SID line is logged"; fi
    fi
    log_expect_last "<-"
    cp "$LOG" "$CASE_DIR/Setup-$road.log"
done
