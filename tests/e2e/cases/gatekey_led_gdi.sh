# The lamp painted by real GDI into a memory DC matches the pixel canvas of the unit tests,
# case for case (led_gdi_check.exe prints each check and a closing verdict).
e2e_prefix winxp gatekey.exe
CHECK_EXE=$E2E_WINDOWS_BUILD/tests/gatekey/win32/led_gdi_check.exe
[ -f "$CHECK_EXE" ] || e2e_fail "no $CHECK_EXE: build the windows build first"
cp "$CHECK_EXE" "$PROGRAM_DIR/"
status=0
e2e_wine 'C:\corvane\led_gdi_check.exe' </dev/null >"$CASE_DIR/check.raw" \
    2>>"$CASE_DIR/wine.err" || status=$?
tr -d '\r' <"$CASE_DIR/check.raw" >"$CASE_DIR/check.txt"
grep -q '^passed: 0 failed$' "$CASE_DIR/check.txt" && [ "$status" -eq 0 ] ||
    e2e_fail "the GDI check failed: $(grep -v '^ok' "$CASE_DIR/check.txt")"
