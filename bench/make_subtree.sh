#!/usr/bin/env bash
# Writes a REGEDIT4 file of a synthetic Windows 9x PCI tree to stdout:
#   make_subtree.sh VENDORS DEVICES DESCRIPTION
# HKEY_LOCAL_MACHINE\Enum\PCI holds VENDORS vendor keys (one REG_DWORD each) of DEVICES device keys
# (DeviceDesc and HardwareID strings, ConfigFlags bytes each): 1 + VENDORS * (1 + DEVICES) keys and
# VENDORS * (1 + 3 * DEVICES) values. One device in the middle is described as DESCRIPTION, so a
# search for the adapter finds its key. 100 200 gives 20,101 keys and 60,100 values.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: make_subtree.sh VENDORS DEVICES DESCRIPTION" >&2; exit 2; }
awk -v vendors="$1" -v devices="$2" -v desc="$3" 'BEGIN {
    ORS = "\r\n"
    root = "HKEY_LOCAL_MACHINE\\Enum\\PCI"
    print "REGEDIT4"; print ""
    print "[" root "]"; print ""
    for (v = 0; v < vendors; v++) {
        ven = sprintf("VEN_%04X&DEV_%04X", 4096 + 7 * v, 32768 + v)
        print "[" root "\\" ven "]"
        printf "\"Count\"=dword:%08x\r\n\r\n", devices
        for (d = 0; d < devices; d++) {
            print "[" root "\\" ven "\\" sprintf("BUS_%02X&DEV_%02X&FUNC_00", int(d / 32), d % 32) "]"
            text = (v == int(vendors / 2) && d == 0) ? desc : sprintf("PCI Device %04X:%04X", v, d)
            print "\"DeviceDesc\"=\"" text "\""
            printf "\"HardwareID\"=\"PCI\\\\%s&SUBSYS_%08X&REV_%02X,PCI\\\\%s\"\r\n", ven, d, v % 256, ven
            printf "\"ConfigFlags\"=hex:%02x,00,00,00\r\n\r\n", d % 256
        }
    }
}'
