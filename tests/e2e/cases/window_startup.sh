# The version resource and manifest; start-up marks, version and date lines; the window's controls
# as first shown; "<-" on close.
e2e_prefix winxp
e2e_drive <<'EOS'
expect-version $PROGRAM FileDescription "Setup your network"
expect-version $PROGRAM FileVersion "1.00.0010"
expect-version $PROGRAM ProductVersion "1.00.0010"
expect-version $PROGRAM fixed "1.0.0.10 1.0.0.10"
expect-manifest $PROGRAM "Microsoft.Windows.Common-Controls"
expect-manifest $PROGRAM "level=\"requireAdministrator\""
expect-manifest $PROGRAM "<dpiAware"
start $PROGRAM
window "Corvane Wirewise"
settle
expect-client 7185 1845
expect-text Label2 "Network Adapters:"
expect-text chkConnected "Please check that the adapter you have selected is connected to the router. When you have done so, tick this box."
expect-checked chkConnected 0
expect-enabled cmdWrite 0
expect-text cmdWrite "Setup Network"
expect-text cmdToggle ">>"
expect-tooltip cmdToggle "Show Options"
expect-tooltip chkConnected "Tick when the network adapter is connected to the router"
expect-tooltip chkGates "Force Gateways to be cleared"
expect-tooltip chkIEAuto "Set Internet Explorer to Automatically Detect Settings"
expect-in-view Frame1 0
dump
close
expect-exit 0
EOS
log_expect_first "->"
log_expect_line 2 "wirewise 1.0.10"
log_expect_order "->" "wirewise 1.0.10" 're:[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}' \
    're:User: .*' " *Reading...*" "<-"
log_expect_last "<-"
log_expect_count "->" 1
