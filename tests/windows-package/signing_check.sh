#!/usr/bin/env bash
# Signed Windows packages: a throwaway certificate chain made here with
# openssl signs both packages through scripts/package-windows.sh; the exe and
# the DLL in the zip, the MSI and the exe inside the MSI verify against the
# chain's root; the signed exe still starts under Wine. A wrong password or a
# missing key file ends the script with an error and writes no package, and
# an unsigned build says so in one line. With SoftHSM installed the same
# key on a software token signs through its PKCS#11 module.
#   arguments: Windows build folder (or a folder holding the two binaries),
#              artifact dir, work dir, expected version
set -uo pipefail
WINDOWS_BUILD=$1
ARTIFACTS=$2/signing_check
WORK=$3
VERSION=$4
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
rm -rf "$WORK" "$ARTIFACTS"
mkdir -p "$WORK" "$ARTIFACTS"
fail() {
    echo "FAIL: $*" >&2
    cp "$WORK"/*.log "$ARTIFACTS/" 2>/dev/null
    exit 1
}
export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME=$WORK/home
mkdir -p "$HOME"
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wineboot --init >"$WORK/wineboot.log" 2>&1 &
BOOT_PID=$!

# --- a root, and a code-signing leaf issued by it -------------------------
ca=$WORK/ca
mkdir "$ca"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$ca/root.key" -out "$ca/root.pem" -days 2 \
    -subj "/CN=Talvane Test Root" -addext "basicConstraints=critical,CA:TRUE" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" >"$WORK/openssl.log" 2>&1 || fail "root: $(cat "$WORK/openssl.log")"
openssl req -newkey rsa:2048 -nodes -keyout "$ca/leaf.key" -out "$ca/leaf.csr" \
    -subj "/CN=Talvane Test Signer" >>"$WORK/openssl.log" 2>&1 || fail "leaf request"
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$ca/leaf.ext"
openssl x509 -req -in "$ca/leaf.csr" -CA "$ca/root.pem" -CAkey "$ca/root.key" -CAcreateserial \
    -out "$ca/leaf.pem" -days 2 -extfile "$ca/leaf.ext" >>"$WORK/openssl.log" 2>&1 || fail "leaf"
echo 'throwaway pass' >"$ca/pass"
echo 'not the pass' >"$ca/wrong"
openssl pkcs12 -export -inkey "$ca/leaf.key" -in "$ca/leaf.pem" -certfile "$ca/root.pem" \
    -out "$ca/leaf.p12" -passout file:"$ca/pass" >>"$WORK/openssl.log" 2>&1 || fail "pkcs12"

package() {  # package OUTPUT-FOLDER [options...]: the script's status
    local out=$1
    shift
    TALVANE_PACKAGE_SKIP_SETUP=1 TALVANE_WINDOWS_BUILD_DIR=$WINDOWS_BUILD \
        "$ROOT/scripts/package-windows.sh" "$@" --demo "$out" >"$WORK/package.out" 2>"$WORK/package.err"
}
verified() {  # verified FILE: its signature chains to the test root
    osslsigncode verify -CAfile "$ca/root.pem" -in "$1" >"$WORK/verify.log" 2>&1
}
signed_with() { osslsigncode verify -CAfile "$ca/root.pem" -in "$1" 2>/dev/null | grep -q 'Talvane Test Signer'; }

# --- signed ---------------------------------------------------------------
package "$WORK/signed" --sign-pkcs12 "$ca/leaf.p12" --sign-password-file "$ca/pass" ||
    fail "signed packaging failed: $(cat "$WORK/package.err")"
MSI=$WORK/signed/talvane-$VERSION-x64.msi
ZIP=$WORK/signed/talvane-$VERSION-x64.zip
! grep -q unsigned "$WORK/package.err" || fail "a signed build says it is unsigned"
mkdir "$WORK/zip" "$WORK/msi"
unzip -q "$ZIP" -d "$WORK/zip" || fail "cannot unpack the zip"
(cd "$WORK/msi" && msiextract "$MSI" >/dev/null) || fail "cannot unpack the MSI"
msi_exe=$(find "$WORK/msi" -name talvane.exe | head -n1)
for file in "$WORK/zip/talvane-$VERSION/talvane.exe" "$WORK/zip/talvane-$VERSION/Flarebox.DisplayMsg.dll" \
    "$MSI" "$msi_exe"; do
    verified "$file" || fail "$(basename "$file") does not verify: $(tail -n 5 "$WORK/verify.log")"
    signed_with "$file" || fail "$(basename "$file") is not signed by the test leaf"
done
# The same key signs the machine's package.
package "$WORK/machine" --per-machine --sign-pkcs12 "$ca/leaf.p12" --sign-password-file "$ca/pass" ||
    fail "signed per-machine packaging failed: $(cat "$WORK/package.err")"
verified "$WORK/machine/talvane-$VERSION-x64-machine.msi" || fail "the machine's MSI does not verify"

wait "$BOOT_PID" || fail "wineboot failed: $(tail -n 5 "$WORK/wineboot.log")"
# Signing rewrote the file: Wine must still load and run it. Without a
# display or a console the program's own answer is its status: 2 for an
# unexpected argument (a file the loader refused ends otherwise).
(unset DISPLAY && timeout 120 wine "$WORK/zip/talvane-$VERSION/talvane.exe" --no-such-option >"$WORK/run.log" 2>&1)
status=$?
[ "$status" = 2 ] || fail "the signed exe ended with status $status: $(cat "$WORK/run.log")"

# --- signing failures: an error and no package at all ---------------------
refused() {  # refused CASE options...
    local case=$1
    shift
    package "$WORK/$case" "$@" && fail "$case: the script succeeded"
    grep -q 'signing' "$WORK/package.err" || fail "$case: no signing error: $(cat "$WORK/package.err")"
    [ -z "$(ls -A "$WORK/$case" 2>/dev/null)" ] || fail "$case: packages written: $(ls "$WORK/$case")"
}
refused wrong-password --sign-pkcs12 "$ca/leaf.p12" --sign-password-file "$ca/wrong"
refused missing-key --sign-pkcs12 "$ca/missing.p12" --sign-password-file "$ca/pass"
refused missing-password --sign-pkcs12 "$ca/leaf.p12"
refused half-token --sign-pkcs11-module /nonexistent/module.so
refused missing-module --sign-pkcs11-module "$ca/missing.so" --sign-key 'pkcs11:object=k;type=private'

# --- a key on a token: SoftHSM through its PKCS#11 module ---------------------
softhsm=/usr/lib/softhsm/libsofthsm2.so
if [ -f "$softhsm" ] && command -v softhsm2-util >/dev/null && command -v pkcs11-tool >/dev/null; then
    export SOFTHSM2_CONF=$WORK/softhsm2.conf
    mkdir "$WORK/tokens"
    printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$WORK/tokens" >"$SOFTHSM2_CONF"
    echo 246810 >"$ca/pin"
    {
        softhsm2-util --init-token --free --label talvane --pin 246810 --so-pin 13579 &&
            openssl pkcs8 -topk8 -nocrypt -in "$ca/leaf.key" -out "$ca/leaf.p8" &&
            softhsm2-util --import "$ca/leaf.p8" --token talvane --label signer --id 01 --pin 246810 &&
            openssl x509 -in "$ca/leaf.pem" -outform der -out "$ca/leaf.der" &&
            pkcs11-tool --module "$softhsm" --token-label talvane --login --pin 246810 \
                --write-object "$ca/leaf.der" --type cert --id 01 --label signer
    } >"$WORK/token.log" 2>&1 || fail "cannot set up the software token: $(tail -n 5 "$WORK/token.log")"
    key='pkcs11:token=talvane;object=signer;type=private'
    # The certificate from the token itself.
    package "$WORK/token" --sign-pkcs11-module "$softhsm" --sign-key "$key" --sign-password-file "$ca/pin" ||
        fail "signing through the token failed: $(cat "$WORK/package.err")"
    verified "$WORK/token/talvane-$VERSION-x64.msi" && signed_with "$WORK/token/talvane-$VERSION-x64.msi" ||
        fail "the MSI signed through the token does not verify"
    unzip -q -o "$WORK/token/talvane-$VERSION-x64.zip" -d "$WORK/token-zip"
    verified "$WORK/token-zip/talvane-$VERSION/talvane.exe" || fail "the exe signed through the token does not verify"
    refused wrong-pin --sign-pkcs11-module "$softhsm" --sign-key "$key" --sign-password-file "$ca/wrong"
    refused missing-object --sign-pkcs11-module "$softhsm" --sign-key 'pkcs11:token=talvane;object=nobody;type=private' \
        --sign-cert "$ca/leaf.pem" --sign-password-file "$ca/pin"
    echo "signing through a PKCS#11 token checked"
else
    echo "SoftHSM or pkcs11-tool missing: signing through a token not checked"
fi

# --- unsigned: one line says so ---------------------------------------------
package "$WORK/unsigned" || fail "unsigned packaging failed: $(cat "$WORK/package.err")"
[ "$(grep -c unsigned "$WORK/package.err")" = 1 ] || fail "unsigned build: $(cat "$WORK/package.err")"
osslsigncode verify -in "$WORK/unsigned/talvane-$VERSION-x64.msi" >/dev/null 2>&1 && fail "the unsigned MSI has a signature"
[ "$(tail -n 2 "$WORK/package.out" | xargs -n1 basename | tr '\n' ' ')" = "talvane-$VERSION-x64.msi talvane-$VERSION-x64.zip " ] ||
    fail "the last two lines name the packages: $(cat "$WORK/package.out")"
echo PASS
