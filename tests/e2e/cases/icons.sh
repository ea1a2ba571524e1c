# Both programs carry their icon at 16 and 32 px (gatekey's also at 48) in 4-bit and 8-bit colour
# besides 32-bit, so Windows 98, 2000 and a 256-colour display draw them cleanly; each image is a
# whole bitmap of its size and depth with its mask, black wherever the mask is set (a 32-bit
# image's mask set exactly where its alpha is 0), so that a system drawing through the mask shows
# no specks.
e2e_prefix winxp gatekey.exe
e2e_install wirewise.exe corvane
e2e_drive <<'EOS'
expect-icons C:\corvane\wirewise.exe 16x16x4 32x32x4 48x48x4 16x16x8 32x32x8 48x48x8 16x16x32 32x32x32 48x48x32
expect-icons C:\corvane\gatekey.exe 16x16x4 32x32x4 48x48x4 16x16x8 32x32x8 48x48x8 16x16x32 32x32x32 48x48x32
EOS
