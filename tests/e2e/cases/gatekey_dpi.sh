# At 120 dpi the login window and its controls keep their sizes in twips.
e2e_adapters none
e2e_prefix winxp gatekey.exe
e2e_reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d 120 /f
e2e_drive <<'EOS'
title "Corvane Gatekey"
start C:\corvane\gatekey.exe
window "Corvane - Gatekey"
settle
expect-client 6465 2985
expect-place Frame1 105 135 6255 2775
expect-place ledRouter 225 1335 3015 495
expect-place ledNet 3345 1335 2895 495
dump
close
expect-exit 0
EOS
grep -q '(dpi 120)' "$DRIVER_OUT" || e2e_fail "the session did not run at 120 dpi"
