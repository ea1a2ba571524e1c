# While a box of the setup run waits for an answer the pointer over the window is the normal
# arrow, not the hourglass of the busy run, so the program does not look hung: the settings
# pass's error box and the box saying the run could not finish (Windows XP road, where Wine's WMI
# has no methods), the boxes of the DHCP step, shown under the screen-wide hourglass, and the
# restart question (Windows 98 road).
incomplete="Setup could not finish setting up your network.*"
restart="Setup has finished setting up your network. Your PC needs to be rebooted before the changes can be applied. Please save your work and close any other applications.\r\n\r\nDo you wish to reboot now?\r\n\r\nSelect 'Yes' to reboot now. Select 'No' to reboot later."
error="An error occured in reading/writing the network"

e2e_prefix winxp
e2e_drive <<EOS
start \$PROGRAM
window "Corvane Wirewise"
settle
tick chkConnected
press cmdWrite
await-box "$error"
drag-box 0 0
expect-pointer Label2 arrow
expect-box "$error" ok
await-box "$incomplete"
drag-box 0 0
expect-pointer Label2 arrow
expect-pointer chkConnected arrow
expect-box "$incomplete" ok
settle
close
expect-exit 0
EOS

e2e_install wirewise_98.exe win98
e2e_reg add 'HKCU\Software\Wine\AppDefaults\wirewise_98.exe' /v Version /t REG_SZ /d win98 /f
e2e_drive <<EOS
start \$PROGRAM
window "Corvane Wirewise"
settle
tick chkConnected
press cmdWrite
await-box "ReleaseIP error 50, Err# is *"
drag-box 0 0
expect-pointer Label2 arrow
expect-box "ReleaseIP error 50, Err# is *" ok
await-box "IpRenewAddress error 50, Err# is *"
drag-box 0 0
expect-pointer Label2 arrow
expect-box "IpRenewAddress error 50, Err# is *" ok
await-box "$restart"
drag-box 0 0
expect-pointer Label2 arrow
expect-box "$restart" no
settle
close
expect-exit 0
EOS
