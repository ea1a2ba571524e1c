# Under the stand-in for a kernel that runs no 32-bit programs, the 32-bit loader cannot run and
# scripts/wine-env takes the emulated route by itself.
#   route_check.sh REFUSE_32BIT WINE_ENV
refuse=$1 wine_env=$2
if "$refuse" /lib/i386-linux-gnu/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "a 32-bit program ran under the stand-in" >&2
    exit 1
fi
got=$(env -u WINE_ENV_ROUTE "$refuse" "$wine_env" --route 2>/dev/null)
[ "$got" = vm ] || { echo "without 32-bit programs the route is \"$got\", expected vm" >&2; exit 1; }
# A forced route still holds there.
got=$(WINE_ENV_ROUTE=native "$refuse" "$wine_env" --route)
[ "$got" = native ] || { echo "WINE_ENV_ROUTE=native gave \"$got\"" >&2; exit 1; }
