# Setup run, Windows 2000 with "Clear Gateways" unticked: the gateways go all the same; the pass ends in WMI's error box and the run says it could not finish.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
setup_run win2k
