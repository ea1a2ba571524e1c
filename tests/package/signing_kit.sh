# A throwaway code-signing certificate and a signed copy of a release (sourced by the signing
# tests). The password has blanks and a quote, so that one split or unquoted use of it shows.
export CORVANE_SIGN_PASSWORD="throwaway pass 'n; word"

# make_signing_key DIR: DIR/cert.pem, DIR/key.pem and DIR/cert.pfx, valid for two days.
make_signing_key() {
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$1/key.pem" -out "$1/cert.pem" -days 2 \
        -subj "/CN=Corvane Test Signing" -addext keyUsage=critical,digitalSignature \
        -addext extendedKeyUsage=codeSigning 2>/dev/null &&
        openssl pkcs12 -export -inkey "$1/key.pem" -in "$1/cert.pem" -out "$1/cert.pfx" \
            -passout env:CORVANE_SIGN_PASSWORD
}

# make_signed_copy SOURCE DIST DIR: DIR/signed holds DIST's release signed as scripts/package
# --sign signs it, checksums and zip made afterwards.
make_signed_copy() {
    local source=$1 dist=$2 dir=$3
    source "$source/scripts/lib/release.sh"
    make_signing_key "$dir" || return
    mkdir "$dir/signed"
    cp "$dist"/{wirewise.exe,iphlpapi_9x.dll,iphlpapi_2k.dll,iphlpapi_xp.dll,gatekey.exe,README.txt,autorun.inf} "$dir/signed"/
    release_sign "$dir/signed" "$dir/cert.pfx" &&
        release_seal "$dir/signed" "$(stat -c %Y "$dist/wirewise.exe")"
}
