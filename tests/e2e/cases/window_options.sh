# ">>" shows the options (outer height 3330 twips), "<<" hides them again (2325 twips); the
# option boxes keep their values while hidden.
e2e_prefix winxp
e2e_drive <<'EOS'
start $PROGRAM
window "Corvane Wirewise"
settle
expect-in-view Frame1 0
click cmdToggle
expect-text cmdToggle "<<"
expect-tooltip cmdToggle "Hide Options"
expect-outer-height 3330
expect-in-view Frame1 1
expect-text Frame1 "Options"
expect-text chkGates "Clear Gateways"
expect-text chkIEAuto "Set IE to Auto Detect"
tick chkGates
click cmdToggle
expect-text cmdToggle ">>"
expect-tooltip cmdToggle "Show Options"
expect-outer-height 2325
expect-in-view Frame1 0
expect-checked chkGates 1
expect-checked chkIEAuto 0
click cmdToggle
expect-outer-height 3330
close
expect-exit 0
EOS
log_expect_last "<-"
