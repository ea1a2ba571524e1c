# ">>" shows the options (outer height 3330 twips), "<<" hides them again (2325 twips); the
# option boxes keep their values while hidden. Hidden, they are no tab stops: Tab goes round the
# visible controls and Space can tick nothing out of view; shown, they take their tab places.
e2e_prefix winxp
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
expect-in-view Frame1 0
expect-tab-order cboNIC chkConnected cmdWrite cmdToggle
expect-focus cboNIC
tab
tab
expect-focus cmdToggle
tab
expect-focus cboNIC
click cmdToggle
expect-text cmdToggle "<<"
expect-tooltip cmdToggle "Hide Options"
expect-outer-height 3330
expect-in-view Frame1 1
expect-text Frame1 "Options"
expect-text chkGates "Clear Gateways"
expect-text chkIEAuto "Set IE to Auto Detect"
expect-tab-order cboNIC chkConnected cmdWrite cmdToggle chkGates chkIEAuto
expect-focus cmdToggle
tab
expect-focus chkGates
keystroke space
settle
expect-checked chkGates 1
tab
expect-focus chkIEAuto
tab
expect-focus cboNIC
click cmdToggle
expect-focus cmdToggle
tab
expect-focus cboNIC
expect-text cmdToggle ">>"
expect-tooltip cmdToggle "Show Options"
expect-outer-height 2325
expect-in-view Frame1 0
expect-tab-order cboNIC chkConnected cmdWrite cmdToggle
expect-checked chkGates 1
expect-checked chkIEAuto 0
click cmdToggle
expect-outer-height 3330
expect-tab-order cboNIC chkConnected cmdWrite cmdToggle chkGates chkIEAuto
close
expect-exit 0
EOS
log_expect_last "<-"
