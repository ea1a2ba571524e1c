# wirewise for the demo: a setup run on Windows XP over the registry of a PC set up for another
# network. The window with the options hidden, with them shown (both boxes ticked) and after the
# run is saved as PNG screenshots in $E2E_SHOTS; every message box is answered with its default
# (Wine's WMI switches no adapter, so the run ends saying it could not finish); Setup.log is
# printed (its NULs shown as \0). Run through run-case.sh, like the cases.
: "${E2E_SHOTS:?set E2E_SHOTS to the folder for the screenshots}"
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
sr_prepare winxp gates
mkdir -p "$E2E_SHOTS"

# Saves the window when the driver reaches checkpoint NAME, then lets it go on.
wirewise_shoot() {
    local ready=$PREFIX/drive_c/e2e/$1.ready id
    for _ in $(seq $((600 * E2E_SCALE))); do
        [ -f "$ready" ] && break
        kill -0 "$drive_pid" 2>/dev/null || e2e_fail "the driver ended before checkpoint $1"
        sleep 0.05
    done
    [ -f "$ready" ] || e2e_fail "no checkpoint $1"
    id=$(DISPLAY=":$DISPLAY_NUMBER" xdotool search --name '^Corvane Wirewise$' | head -n 1)
    DISPLAY=":$DISPLAY_NUMBER" import -window "${id:-root}" "$E2E_SHOTS/$2"
    touch "$PREFIX/drive_c/e2e/$1.go"
    echo "wirewise: $E2E_SHOTS/$2"
}

e2e_drive <<EOS &
start $PROGRAM
window "Corvane Wirewise"
settle
select cboNIC 0
expect-text cboNIC "$SR_NIC"
tick chkConnected
checkpoint hidden
click cmdToggle
expect-outer-height 3330
tick chkGates
tick chkIEAuto
checkpoint shown
click cmdWrite
checkpoint done
close
expect-exit 0
EOS
drive_pid=$!
wirewise_shoot hidden wirewise-options-hidden.png
wirewise_shoot shown wirewise-options-shown.png
wirewise_shoot done wirewise-done.png
wait "$drive_pid" || e2e_fail "the demo's driver failed"
echo "--- message boxes, each answered with its default"
tr -d '\r' <"$CASE_DIR/driver1.out" | sed -n 's/^box: //p'
echo "--- Setup.log"
tr -d '\r' <"$LOG" | sed 's/\x0/\\0/g'
log_expect_first "->"
log_expect_line 2 "wirewise 1.0.10"
log_expect_order " *Set clicked*" " -- Ipconfig complete --" "Setup incomplete" "<-"
log_expect_last "<-"
