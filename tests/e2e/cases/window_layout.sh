# Every control at its place (twips turned into pixels at the system's DPI) and in tab order (the
# hidden options out of it); the first in tab order has the focus when the window is shown, and a
# message box gives the focus back to the control that had it.
e2e_prefix winxp
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
expect-tab-order cboNIC chkConnected cmdWrite cmdToggle
expect-focus cboNIC
tab
expect-focus chkConnected
tick chkConnected
tab
expect-focus cmdWrite
click cmdWrite
expect-focus cmdWrite
close
expect-exit 0
EOS
