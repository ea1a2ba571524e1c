# Setup run, A later NT build takes the Windows 9x road with the user name as key prefix; without the Windows 9x scan the adapter keeps its IP Helper name, so NetTrans\0001 stays.
source "$(dirname "${BASH_SOURCE[0]}")/../setup_run.sh"
setup_run win7
