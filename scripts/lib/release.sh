# The steps that make a release folder, sourced by scripts/package and by the tests that check a
# release's bytes and signatures. Every step works on a folder named by its caller, so that a
# second build can be made beside dist/ and compared with it byte for byte.

# What a router CD carries, in the order of SHA256SUMS and of the zip.
release_programs=(wirewise.exe iphlpapi_9x.dll iphlpapi_2k.dll iphlpapi_xp.dll gatekey.exe)
release_texts=(README.txt autorun.inf)
release_sums=SHA256SUMS
release_zip=corvane-cd.zip
# Only these targets make the programs; the tests' helpers need not be built a second time.
release_targets=(wirewise gatekey)

release_fail() {
    echo "package: $*" >&2
    return 1
}

# release_epoch SOURCE: the time every file of the release carries, in seconds since 1970:
# SOURCE_DATE_EPOCH when set, else the time of the last commit.
release_epoch() {
    local epoch=${SOURCE_DATE_EPOCH:-}
    if [ -z "$epoch" ]; then
        epoch=$(git -C "$1" log -1 --format=%ct 2>/dev/null) ||
            release_fail "no SOURCE_DATE_EPOCH and no commit in $1 to take the time from" || return
    fi
    # The zip's DOS times begin in 1980; the PE header holds 32 bits.
    if ! [[ $epoch =~ ^[0-9]{1,10}$ ]] || [ "$epoch" -lt 315532800 ] || [ "$epoch" -gt 4294967295 ]; then
        release_fail "SOURCE_DATE_EPOCH must be seconds since 1970 between 1980 and 2106, not '$epoch'"
        return
    fi
    echo "$epoch"
}

# release_configure SOURCE BUILD: the windows build's folder, configured as every release is.
release_configure() {
    cmake -S "$1" -B "$2" -G Ninja -DCMAKE_BUILD_TYPE=Release --no-warn-unused-cli \
          -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-i686.cmake" >/dev/null
}

# release_text SOURCE_FILE OUT_FILE: Windows 9x's Notepad shows only ANSI text with CR LF line ends.
release_text() {
    if LC_ALL=C grep -q $'[^\t -~]' "$1"; then
        release_fail "$1 must be plain ASCII text" || return
    fi
    sed 's/$/\r/' "$1" >"$2"
}

# release_collect BUILD SOURCE OUT: the programs of the windows build BUILD and the texts of
# SOURCE/package, copied into the empty folder OUT.
release_collect() {
    local build=$1 source=$2 out=$3 text
    cp "$build"/wirewise/win32/{wirewise.exe,iphlpapi_9x.dll,iphlpapi_2k.dll,iphlpapi_xp.dll} "$out"/
    cp "$build"/gatekey/gatekey.exe "$out"/
    for text in "${release_texts[@]}"; do
        release_text "$source/package/$text" "$out/$text" || return
    done
}

# release_stamp OUT EPOCH: the programs' time stamps say when their commit was made.
release_stamp() {
    (cd "$1" && "$release_lib_dir/../pe-stamp" "$2" "${release_programs[@]}")
}

# What the elevation prompt of Vista and later names as the signed program.
release_description() {
    case $1 in
    gatekey.exe) echo "Corvane Gatekey" ;;
    *) echo "Corvane Wirewise" ;;
    esac
}

# release_sign OUT PFX [TIMESTAMP_URL]: signs every program in OUT with the key and certificate
# of PFX, whose password is in CORVANE_SIGN_PASSWORD: a SHA-1 signature, which Windows XP SP2
# and older read, with a SHA-256 signature nested in it for later Windows (98 ignores both).
# The password reaches osslsigncode through a pipe, never its command line, so no process list
# or log shows it. TIMESTAMP_URL names an RFC 3161 time stamp server that countersigns both.
release_sign() {
    local out=$1 pfx=$2 url=${3:-} program digest
    [ "${CORVANE_SIGN_PASSWORD+set}" = set ] ||
        release_fail "--sign needs the certificate's password in CORVANE_SIGN_PASSWORD" || return
    [ -r "$pfx" ] || release_fail "cannot read the certificate $pfx" || return
    local stamp=()
    [ -z "$url" ] || stamp=(-ts "$url")
    for program in "${release_programs[@]}"; do
        local signed="$out/$program" nest=()
        for digest in sha1 sha256; do
            osslsigncode sign -pkcs12 "$pfx" -readpass <(printf '%s' "$CORVANE_SIGN_PASSWORD") \
                -h "$digest" -n "$(release_description "$program")" "${stamp[@]}" "${nest[@]}" \
                -in "$signed" -out "$out/$program.$digest" >"$out/$program.log" 2>&1 || {
                sed 's/^/  /' "$out/$program.log" >&2
                rm -f "$out/$program".*
                release_fail "could not sign $program ($digest)" || return
            }
            [ "$signed" = "$out/$program" ] || rm -f "$signed"
            signed="$out/$program.$digest"
            nest=(-nest)
        done
        mv "$signed" "$out/$program"
        rm -f "$out/$program.log"
    done
}

# release_seal OUT EPOCH: SHA256SUMS of every file and the zip of them all, with every file's
# time set to EPOCH and its mode to 644, so that neither the time nor the place nor the umask
# of a build shows in the bytes. The zip takes its names in a fixed order and its DOS times in
# UTC; -X leaves out the owner and the extra time fields.
release_seal() {
    local out=$1 epoch=$2
    local files=("${release_programs[@]}" "${release_texts[@]}")
    rm -f "$out/$release_sums" "$out/$release_zip"
    (
        cd "$out" || exit
        chmod 644 "${files[@]}"
        touch -d "@$epoch" "${files[@]}"
        sha256sum "${files[@]}" >"$release_sums"
        chmod 644 "$release_sums"
        touch -d "@$epoch" "$release_sums"
        TZ=UTC zip -q -X "$release_zip" "${files[@]}" "$release_sums"
        chmod 644 "$release_zip"
        touch -d "@$epoch" "$release_zip"
    )
}

# release_compare A B: 0 when both folders hold the same files with the same bytes; otherwise
# one line for each file that only one of them holds or that differs, and 1.
release_compare() {
    local a=$1 b=$2 name status=0 where
    while IFS= read -r name; do
        if [ ! -e "$a/$name" ]; then
            echo "reproducible: $name is only in $b"
            status=1
        elif [ ! -e "$b/$name" ]; then
            echo "reproducible: $name is only in $a"
            status=1
        elif [ "$(stat -c %s "$a/$name")" != "$(stat -c %s "$b/$name")" ]; then
            echo "reproducible: $name differs ($(stat -c %s "$a/$name") bytes in $a, $(stat -c %s "$b/$name") in $b)"
            status=1
        elif ! where=$(cmp -- "$a/$name" "$b/$name" 2>&1); then
            where=${where#*differ: }
            echo "reproducible: $name differs (${where%%,*})"
            status=1
        fi
    done < <({ (cd "$a" && ls -A) && (cd "$b" && ls -A); } | LC_ALL=C sort -u)
    return "$status"
}

# release_build_again SOURCE WORK EPOCH: a second release of SOURCE's files, built from a copy in
# WORK (another folder, another time, another umask and time zone) into WORK/dist.
release_build_again() {
    local source=$1 work=$2 epoch=$3
    git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1 ||
        release_fail "--check-reproducible copies the files git knows, and $source is no git checkout" ||
        return
    mkdir -p "$work/source" "$work/dist"
    # Exactly the files of the checkout (tracked, and new ones not ignored), not its build folders.
    (cd "$source" && git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
        tar --null -T - -cf -) | tar -C "$work/source" -xf -
    (
        umask 027
        export TZ=Pacific/Kiritimati
        release_configure "$work/source" "$work/windows" || exit
        cmake --build "$work/windows" -j "$(nproc)" --target "${release_targets[@]}" \
            >"$work/build.log" 2>&1 || {
            tail -n 40 "$work/build.log" >&2
            release_fail "the second build failed"
            exit
        }
        release_collect "$work/windows" "$work/source" "$work/dist" &&
            release_stamp "$work/dist" "$epoch" &&
            release_seal "$work/dist" "$epoch"
    )
}

release_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
