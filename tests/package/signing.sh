#!/usr/bin/env bash
# Signing a release with a throwaway certificate: both signatures of every program verify, the
# signed programs still pass the import check, removing the signatures gives back the unsigned
# bytes, and the password shows neither on a command line nor in the output. A wrong or missing
# password or certificate fails, leaving the programs unsigned.
# signing.sh SOURCE DIST IMPORT_CHECK IMPORT_TABLE
set -uo pipefail
source=$1 dist=$2 import_check=$3 import_table=$4
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/check.sh"
source "$here/signing_kit.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every call of osslsigncode goes through a stand-in that records its arguments.
mkdir "$work/bin"
cat >"$work/bin/osslsigncode" <<EOS
#!/usr/bin/env bash
printf '%s\n' "\$*" >>"$work/arguments"
exec $(command -v osslsigncode) "\$@"
EOS
chmod +x "$work/bin/osslsigncode"
PATH=$work/bin:$PATH make_signed_copy "$source" "$dist" "$work" >"$work/output" 2>&1 ||
    { cat "$work/output"; fail "signing failed"; finish; }

programs=(wirewise.exe iphlpapi_9x.dll iphlpapi_2k.dll iphlpapi_xp.dll gatekey.exe)
for program in "${programs[@]}"; do
    description="Corvane Wirewise"
    [ "$program" != gatekey.exe ] || description="Corvane Gatekey"
    verified=$(osslsigncode verify -CAfile "$work/cert.pem" -in "$work/signed/$program" 2>&1) ||
        fail "$program: verify failed: $verified"
    digests=$(grep '^Message digest algorithm  :' <<<"$verified" | awk '{print $NF}' | tr '\n' ' ')
    [ "$digests" = "SHA1 SHA256 " ] || fail "$program: signatures with digests $digests"
    grep -qx 'Number of verified signatures: 2' <<<"$verified" || fail "$program: not both signatures verified"
    [ "$(grep -c "Text description: $description\$" <<<"$verified")" -eq 2 ] ||
        fail "$program: the signatures do not name $description"
    osslsigncode remove-signature -in "$work/signed/$program" -out "$work/$program.bare" >/dev/null ||
        fail "$program: remove-signature failed"
    cmp -s "$work/$program.bare" "$dist/$program" || fail "$program: without its signatures it is not the release's file"
done
"$import_check" "$import_table" "$work/signed" >"$work/imports" 2>&1 ||
    { cat "$work/imports"; fail "the signed programs fail the import check"; }
(cd "$work/signed" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the signed files"
[ "$(unzip -Z1 "$work/signed/corvane-cd.zip" | wc -l)" -eq 8 ] || fail "the zip of the signed release"

# Two signings per program, the second nested; the password only through a file descriptor.
[ "$(grep -c -- '-h sha1 ' "$work/arguments")" -eq 5 ] && [ "$(grep -c -- '-h sha256 .*-nest ' "$work/arguments")" -eq 5 ] ||
    fail "osslsigncode was called with"$'\n'"$(cat "$work/arguments")"
grep -v -- '-readpass /dev/fd/[0-9]' "$work/arguments" && fail "a call without the password's file descriptor"
grep -F -- "$CORVANE_SIGN_PASSWORD" "$work/arguments" "$work/output" && fail "the password was shown"

# With a time stamp server each signature asks it; here none answers, so signing fails whole.
rm -f "$work/arguments"
mkdir "$work/stamped"
cp "$dist/wirewise.exe" "$work/stamped/"
(source "$source/scripts/lib/release.sh" && release_programs=(wirewise.exe) &&
    PATH=$work/bin:$PATH release_sign "$work/stamped" "$work/cert.pfx" http://127.0.0.1:9/tsa) >/dev/null 2>&1 &&
    fail "signing with an unreachable time stamp server succeeded"
grep -q -- '-h sha1 .*-ts http://127.0.0.1:9/tsa' "$work/arguments" || fail "the server was not asked: $(cat "$work/arguments")"
cmp -s "$work/stamped/wirewise.exe" "$dist/wirewise.exe" || fail "a failed signing changed the program"
[ "$(ls "$work/stamped")" = wirewise.exe ] || fail "a failed signing left: $(ls "$work/stamped" | tr '\n' ' ')"

# A time stamp server that answers countersigns both signatures of every program.
mkdir "$work/tsa"
printf '01\n' >"$work/tsa/serial"
cat >"$work/tsa/tsa.cnf" <<EOS
[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = $work/tsa/serial
crypto_device = builtin
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha1, sha256
accuracy = secs:1
ess_cert_id_chain = no
ess_cert_id_alg = sha256
EOS
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/tsa/tsa.key" -out "$work/tsa/tsa.pem" -days 2 \
    -subj "/CN=Corvane Test Time Stamps" -addext extendedKeyUsage=critical,timeStamping 2>/dev/null
perl "$here/tsa_server.pl" "$work/tsa" &
tsa_pid=$!
trap 'kill "$tsa_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/tsa/port" ] && break; sleep 0.1; done
rm -rf "$work/stamped" && mkdir "$work/stamped"
cp "$dist"/{wirewise.exe,iphlpapi_9x.dll} "$work/stamped/"
(source "$source/scripts/lib/release.sh" && release_programs=(wirewise.exe iphlpapi_9x.dll) &&
    release_sign "$work/stamped" "$work/cert.pfx" "http://127.0.0.1:$(cat "$work/tsa/port")/") >"$work/output" 2>&1 ||
    fail "signing with a time stamp server failed: $(cat "$work/output")"
for program in wirewise.exe iphlpapi_9x.dll; do
    verified=$(osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$work/tsa/tsa.pem" \
        -in "$work/stamped/$program" 2>&1) || fail "$program: verify failed: $verified"
    [ "$(grep -c '^Timestamp Server Signature verification: ok$' <<<"$verified")" -eq 2 ] ||
        fail "$program: not both signatures countersigned: $verified"
done
[ "$(wc -l <"$work/tsa/answered")" -eq 4 ] || fail "the server answered $(wc -l <"$work/tsa/answered") queries, not 4"

# What fails before anything is signed, and what it says.
sign_case() { # sign_case NAME PASSWORD|- PFX EXPECTED_LAST_LINE
    rm -rf "$work/case" && mkdir "$work/case" && cp "$dist"/*.exe "$dist"/*.dll "$work/case"/
    local out status=0
    out=$(
        source "$source/scripts/lib/release.sh"
        if [ "$2" = - ]; then unset CORVANE_SIGN_PASSWORD; else CORVANE_SIGN_PASSWORD=$2; fi
        release_sign "$work/case" "$3" 2>&1
    ) || status=$?
    [ "$status" -eq 1 ] || fail "$1: exit status $status"
    [ "$(tail -n 1 <<<"$out")" = "$4" ] || fail "$1: said"$'\n'"$out"
    for program in "${programs[@]}"; do
        cmp -s "$work/case/$program" "$dist/$program" || fail "$1: $program changed"
    done
    [ "$(ls "$work/case" | wc -l)" -eq 5 ] || fail "$1: left $(ls "$work/case" | tr '\n' ' ')"
}
sign_case "wrong password" "not the password" "$work/cert.pfx" "package: could not sign wirewise.exe (sha1)"
sign_case "no password" - "$work/cert.pfx" "package: --sign needs the certificate's password in CORVANE_SIGN_PASSWORD"
sign_case "no certificate" "$CORVANE_SIGN_PASSWORD" "$work/none.pfx" "package: cannot read the certificate $work/none.pfx"

# scripts/package refuses a signing it cannot do before it builds anything.
expect_output "--timestamp without --sign" 2 \
    "usage: scripts/package [--check-reproducible] [--sign CERT.pfx [--timestamp URL]]" \
    "$source/scripts/package" --timestamp http://127.0.0.1:9/tsa
expect_output "--sign without a password" 1 \
    "package: --sign needs the certificate's password in CORVANE_SIGN_PASSWORD" \
    env -u CORVANE_SIGN_PASSWORD "$source/scripts/package" --sign "$work/cert.pfx"
expect_output "--sign without a certificate" 1 "package: cannot read the certificate $work/none.pfx" \
    "$source/scripts/package" --sign "$work/none.pfx"
finish
