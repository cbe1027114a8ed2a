# Authenticode signing for the Windows packages, with osslsigncode:
#   . scripts/sign-windows.sh
#   sign_option NAME VALUE ...; sign_check_options; sign_files FILE...; sign_report
# A key in a PKCS#12 file (--sign-pkcs12, --sign-password-file) or on a
# token through its PKCS#11 module (--sign-pkcs11-module, --sign-key, and
# --sign-cert unless the token holds the certificate). Every failure ends
# the calling script.
SIGN_PKCS12="" SIGN_PASSWORD_FILE="" SIGN_PKCS11_MODULE="" SIGN_KEY="" SIGN_CERT=""
SIGN_TIMESTAMP_URL="" SIGN_SIGNED=0

sign_fail() {
    echo "$(basename "$0"): signing: $*" >&2
    exit 1
}

sign_option() {  # sign_option --sign-... VALUE
    case "$1" in
    --sign-pkcs12) SIGN_PKCS12=$2 ;;
    --sign-password-file) SIGN_PASSWORD_FILE=$2 ;;
    --sign-pkcs11-module) SIGN_PKCS11_MODULE=$2 ;;
    --sign-key) SIGN_KEY=$2 ;;
    --sign-cert) SIGN_CERT=$2 ;;
    --timestamp-url) SIGN_TIMESTAMP_URL=$2 ;;
    *) sign_fail "unknown option $1" ;;
    esac
}

# Settled before anything is built: a missing file must not cost a build.
sign_check_options() {
    if [ -n "$SIGN_PKCS12" ] && [ -n "$SIGN_PKCS11_MODULE$SIGN_KEY" ]; then
        sign_fail "choose either --sign-pkcs12 or --sign-pkcs11-module with --sign-key"
    fi
    if [ -n "$SIGN_PKCS12" ]; then
        [ -n "$SIGN_PASSWORD_FILE" ] || sign_fail "--sign-pkcs12 needs --sign-password-file"
    elif [ -n "$SIGN_PKCS11_MODULE$SIGN_KEY" ]; then
        [ -n "$SIGN_PKCS11_MODULE" ] && [ -n "$SIGN_KEY" ] ||
            sign_fail "a token needs both --sign-pkcs11-module and --sign-key"
    elif [ -n "$SIGN_PASSWORD_FILE$SIGN_CERT$SIGN_TIMESTAMP_URL" ]; then
        sign_fail "no key: add --sign-pkcs12 or --sign-pkcs11-module with --sign-key"
    else
        return 0
    fi
    local file
    for file in "$SIGN_PKCS12" "$SIGN_PASSWORD_FILE" "$SIGN_PKCS11_MODULE" "$SIGN_CERT"; do
        [ -z "$file" ] || [ -r "$file" ] || sign_fail "cannot read $file"
    done
    command -v osslsigncode >/dev/null || sign_fail "osslsigncode is not installed"
    SIGN_SIGNED=1
}

# Each file is signed in place; without signing options nothing happens.
sign_files() {
    [ "$SIGN_SIGNED" = 1 ] || return 0
    local args=(sign -h sha256 -n Talvane)
    if [ -n "$SIGN_PKCS12" ]; then
        args+=(-pkcs12 "$SIGN_PKCS12" -readpass "$SIGN_PASSWORD_FILE")
    else
        args+=(-pkcs11module "$SIGN_PKCS11_MODULE" -key "$SIGN_KEY")
        if [ -n "$SIGN_CERT" ]; then
            args+=(-certs "$SIGN_CERT")
        else
            args+=(-pkcs11cert "${SIGN_KEY//type=private/type=cert}")
        fi
        [ -z "$SIGN_PASSWORD_FILE" ] || args+=(-readpass "$SIGN_PASSWORD_FILE")
    fi
    [ -z "$SIGN_TIMESTAMP_URL" ] || args+=(-ts "$SIGN_TIMESTAMP_URL")
    local file log
    log=$(mktemp)
    for file in "$@"; do
        rm -f "$file.signed"
        if ! osslsigncode "${args[@]}" -in "$file" -out "$file.signed" >"$log" 2>&1; then
            rm -f "$file.signed"
            sign_fail "$(basename "$file") was not signed: $(grep -v '^$' "$log" | tail -n 3 | tr '\n' ' ')"
        fi
        mv "$file.signed" "$file"
    done
    rm -f "$log"
}

sign_report() {
    [ "$SIGN_SIGNED" = 1 ] || echo "$(basename "$0"): the packages are unsigned (see --sign-pkcs12)" >&2
}
