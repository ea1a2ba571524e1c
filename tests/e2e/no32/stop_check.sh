# scripts/wine-env --stop answers 0 whether no machine ran or one stopped as asked; scripts/test
# ends with it, so any other answer would fail a run whose tests all passed.
#   stop_check.sh WINE_ENV
wine_env=$1
cache=$(mktemp -d)
machine=
trap '[ -z "$machine" ] || kill "$machine" 2>/dev/null; rm -rf "$cache"' EXIT
export WINE_ENV_CACHE=$cache
unset WINE_ENV_SHARE

"$wine_env" --stop || { echo "--stop without a cache answered $?" >&2; exit 1; }
mkdir "$cache/run"
"$wine_env" --stop || { echo "--stop without a machine answered $?" >&2; exit 1; }
state=$(echo "$cache"/run/*)
[ -d "$state" ] || { echo "no state folder under $cache/run" >&2; exit 1; }

# A stand-in for the machine's process, which ends once it is asked to stop, as the guest does.
mkdir -p "$state/ctl"
(while [ ! -e "$state/ctl/stop" ]; do sleep 0.05; done) &
machine=$!
echo "$machine" >"$state/qemu.pid"
"$wine_env" --stop || { echo "--stop of a machine that stopped as asked answered $?" >&2; exit 1; }
wait "$machine"
machine=
