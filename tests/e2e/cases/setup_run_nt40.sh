# Setup run, Windows NT 4 with "Clear Gateways" ticked: the gateways go; Wine's WMI has no methods, so the pass ends in its error box after "NIC setup" and the run says it could not finish.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
setup_run nt40 gates
