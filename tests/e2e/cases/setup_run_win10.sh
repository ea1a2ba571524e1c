# Setup run, a later NT build (Wine's win10, "OS = Unknown") with "Clear Gateways" ticked: the NT road clears gateways and name servers; Wine's WMI switches nothing, so the run ends with the error box and says it could not finish.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
setup_run win10 gates
