# Text going out through the ANSI calls: what the code page holds keeps its byte, what it cannot
# show becomes its default character "?", never a look-alike letter ("ā" is not "a").
e2e_prefix winxp
cp "$E2E_WINDOWS_BUILD/tests/e2e/platform_probe/platform_probe.exe" "$PREFIX/drive_c/e2e/"
# "é€ā" and "Ωx" in UTF-8
(cd "$PREFIX/drive_c/e2e" && e2e_wine 'C:\e2e\platform_probe.exe' --to-ansi c3a9e282acc481 \
    >"$CASE_DIR/ansi1.raw" 2>>"$CASE_DIR/wine.err") || e2e_fail "the probe did not run"
(cd "$PREFIX/drive_c/e2e" && e2e_wine 'C:\e2e\platform_probe.exe' --to-ansi cea978 \
    >"$CASE_DIR/ansi2.raw" 2>>"$CASE_DIR/wine.err") || e2e_fail "the probe did not run"
got=$(tr -d '\r' <"$CASE_DIR/ansi1.raw")
[ "$got" = "e9 80 3f " ] || e2e_fail "\"é€ā\" became \"$got\", expected \"e9 80 3f \""
got=$(tr -d '\r' <"$CASE_DIR/ansi2.raw")
[ "$got" = "3f 78 " ] || e2e_fail "\"Ωx\" became \"$got\", expected \"3f 78 \""
