# Setup run, a later NT build (Wine's win7, "OS = Unknown") with "Clear Gateways" unticked: the NT road with the SID as key prefix, gateways stay, name servers go; Wine's WMI switches nothing, so the run ends with the error box and says it could not finish.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
setup_run win7
