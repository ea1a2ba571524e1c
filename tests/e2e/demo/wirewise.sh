# wirewise for the demo: a setup run on Windows XP over the registry of a PC set up for another
# network, with both option boxes ticked; the window before "Setup Network" and after the run
# saved as PNG screenshots in $E2E_SHOTS, and Setup.log printed (its NULs shown as \0). Run
# through run-case.sh, like the cases.
: "${E2E_SHOTS:?set E2E_SHOTS to the folder for the screenshots}"
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
sr_prepare winxp gates
mkdir -p "$E2E_SHOTS"

# Saves the screen when the driver reaches checkpoint NAME, then lets it go on.
wirewise_shoot() {
    local ready=$PREFIX/drive_c/e2e/$1.ready
    for _ in $(seq 600); do
        [ -f "$ready" ] && break
        kill -0 "$drive_pid" 2>/dev/null || e2e_fail "the driver ended before checkpoint $1"
        sleep 0.05
    done
    [ -f "$ready" ] || e2e_fail "no checkpoint $1"
    DISPLAY=":$DISPLAY_NUMBER" import -window root "$E2E_SHOTS/$2"
    touch "$PREFIX/drive_c/e2e/$1.go"
    echo "wirewise: $E2E_SHOTS/$2"
}

{
    sr_steps_before_setup gates
    printf '%s\n' "checkpoint options" "click cmdWrite" "checkpoint done" close "expect-exit 0"
} | e2e_drive &
drive_pid=$!
wirewise_shoot options wirewise-options.png
wirewise_shoot done wirewise-done.png
wait "$drive_pid" || e2e_fail "the demo's driver failed"
echo "--- message boxes, each answered with its default (No to the restart)"
tr -d '\r' <"$CASE_DIR/driver1.out" | sed -n 's/^box: //p'
echo "--- Setup.log"
tr -d '\r' <"$LOG" | sed 's/\x0/\\0/g'
