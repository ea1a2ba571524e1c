# At 120 dpi the window, its controls and the two heights keep their sizes in twips.
e2e_prefix winxp
e2e_reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d 120 /f
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
expect-client 7185 1845
expect-place Label2 120 120 6975 255
expect-place chkConnected 120 840 5295 615
expect-place cmdWrite 5520 840 1575 495
expect-place cmdToggle 6720 1440 375 255
expect-place Frame1 120 1920 6975 615
expect-place chkGates 240 2160 1455 255
expect-place chkIEAuto 1920 2160 1935 255
click cmdToggle
expect-outer-height 3330
expect-in-view Frame1 1
click cmdToggle
expect-outer-height 2325
dump
close
expect-exit 0
EOS
grep -q '(dpi 120)' "$DRIVER_OUT" || e2e_fail "the session did not run at 120 dpi"
