# Setup run, Windows 98 with both options ticked ("Clear Gateways" is never consulted there): both Internet Settings keys, the blobs, MSTCP and NetTrans\0001 found through the device-key chain; Wine's lease calls answer 50 and the adapter keeps its address, so the run is done ("DHCP = True", "Outcome = Done") and the restart question follows; the restore file brings every touched key back.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
setup_run win98 gates
