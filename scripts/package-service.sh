# The service a package is built for, from a packaging command's arguments:
#   . scripts/package-service.sh; package_service "$@"; set -- "${PACKAGE_REST[@]}"
# --service-url URL, or --demo for the demo service on 127.0.0.1:8765 (then
# PACKAGE_DEMO=1, and the package has to say so: on a shared machine any
# local user can take that port). At most one output folder may follow.
package_usage() {
    echo "usage: $0 --service-url URL [output folder]   or   $0 --demo [output folder]" >&2
    exit 2
}

package_service() {
    PACKAGE_DEMO=0
    case "${1:-}" in
    --service-url)
        [ $# -ge 2 ] || package_usage
        PACKAGE_SERVICE=$2
        shift 2
        ;;
    --demo)
        PACKAGE_SERVICE=http://127.0.0.1:8765
        PACKAGE_DEMO=1
        shift
        ;;
    *)
        echo "$(basename "$0"): say which service the package is for: --service-url URL, or --demo" >&2
        package_usage
        ;;
    esac
    [ $# -le 1 ] || package_usage
    PACKAGE_REST=("$@")
}
