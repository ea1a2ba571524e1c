# Setup run, Windows XP with "Clear Gateways" unticked: gateways stay, name servers go; the pass ends in WMI's error box and the run says it could not finish.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
setup_run winxp
