#!/usr/bin/env bash
# talvane.exe under Wine behind a company proxy, as the user's Internet
# settings name it: a proxy that asks who the user is (407 for Negotiate and
# NTLM, which Wine cannot answer), a configuration script, a proxy named by
# hand with a bypass list, and automatic detection with no WPAD anywhere.
# The proxy stand-in sits on 127.0.0.2 (Wine talks to a proxy on the
# service's own address as to the service) and logs what it is asked.
#   proxy_wine.sh TALVANE_EXE DEMO_SERVICE ARTIFACT_DIR
. "$(dirname "$0")/../../lib/desktop.sh"
. "$(dirname "$0")/../../lib/wine-desktop.sh"

wine_setup "$1" "$2" "$3" proxy
trap 'stop_proxy; wine_teardown' EXIT
# One Wine server for the whole check: the settings written and the
# program started meet in it, with no server ending in between.
wineserver -p
start_demo --data "$(dirname "$0")/../../e2e/data/e2e-data.txt"
SERVICE=$TALVANE_SERVICE_URL
printf '[systemsetting]\r\nsysNumber=000422026120910000000042\r\n' >"$WORK/app/setting.ini"
: >"$WORK/proxy.log"

stop_proxy() {
    [ -n "${PROXY_PID:-}" ] && kill "$PROXY_PID" 2>/dev/null && wait "$PROXY_PID" 2>/dev/null
    PROXY_PID=""
}

# start_proxy [--ask-who-you-are]: sets PROXY (host:port)
start_proxy() {
    stop_proxy
    rm -f "$WORK/proxy.out"  # the last one's port must not be read
    python3 "$(dirname "$0")/proxy-standin.py" --bind 127.0.0.2 --log "$WORK/proxy.log" "$@" \
        >"$WORK/proxy.out" 2>&1 &
    PROXY_PID=$!
    wait_until 30 grep -q 'listening on' "$WORK/proxy.out" || fail "the proxy stand-in did not start"
    PROXY=$(sed -n 's#.*listening on http://\([0-9.:]*\).*#\1#p' "$WORK/proxy.out")
}

# internet_settings FLAGS PROXY BYPASS SCRIPT: the user's Internet settings
# in both forms Windows keeps; WinHTTP reads the binary record (flags: 1
# direct, 2 proxy named by hand, 4 script address, 8 detect automatically).
SETTINGS_COUNTER=0
internet_settings() {
    local key='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
    le32() { printf '%02x%02x%02x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }
    text() { le32 ${#1}; printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
    SETTINGS_COUNTER=$((SETTINGS_COUNTER + 1))
    local record
    record=$(le32 70)$(le32 $SETTINGS_COUNTER)$(le32 "$1")$(text "$2")$(text "$3")$(text "$4")$(printf '0%.0s' $(seq 64))
    {
        "$WINE" reg add "$key\\Connections" /v DefaultConnectionSettings /t REG_BINARY /d "$record" /f
        "$WINE" reg add "$key" /v ProxyEnable /t REG_DWORD /d $((($1 & 2) / 2)) /f
        "$WINE" reg add "$key" /v ProxyServer /t REG_SZ /d "$2" /f
        "$WINE" reg add "$key" /v ProxyOverride /t REG_SZ /d "$3" /f
        "$WINE" reg add "$key" /v AutoConfigURL /t REG_SZ /d "$4" /f
    } >>"$WORK/reg.log" 2>&1 || fail "the Internet settings could not be written"
}

# start_exe NAME: the program in the background (APP_PID); STARTED in µs,
# FROM the first line of the service's log that is new.
start_exe() {
    FROM=$(($(wc -l <"$WORK/requests.log") + 1))
    PROXY_FROM=$(($(wc -l <"$WORK/proxy.log") + 1))
    STARTED=${EPOCHREALTIME/./}
    run_exe >"$WORK/$1-output.txt" 2>&1 &
    APP_PID=$!
}
# Ends the program through Wine's server, which drops its lock at once (a
# process killed from outside keeps it there for a moment, and the next
# start would take it for a running instance).
stop_exe() {
    "$WINE" taskkill /F /IM talvane.exe >>"$WORK/reg.log" 2>&1
    wait_until 30 sh -c "! kill -0 $APP_PID 2>/dev/null" || kill "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
    APP_PID=""
}
served() { tail -n +"$FROM" "$WORK/requests.log" | grep -q "$1"; }
proxied() { tail -n +"$PROXY_FROM" "$WORK/proxy.log" | grep -c "$1"; }
asked_for() { [ "$(proxied "^ASKED $SERVICE$1")" -ge 1 ]; }

# --- A proxy that asks who the user is: the program runs, its icon shows,
# each request ends after at most one answer per scheme ------------------
start_proxy --ask-who-you-are
internet_settings 3 "$PROXY" "" ""
start_exe asks
wait_until 60 asked_for /EndUsers/Clientnew.aspx ||
    fail "the event-list request never reached the proxy: $(cat "$WORK/proxy.log")"
wait_for_icon 30 || fail "no tray icon behind a proxy that asks who the user is"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended behind a proxy that asks who the user is"
shot 0-asks
asked=$(proxied '^ASKED')
[ "$asked" -le 6 ] || fail "$asked requests for the two start-up pages: $(cat "$WORK/proxy.log")"
! served Clientnew.aspx || fail "a request passed the proxy unanswered"
stop_exe

# --- A configuration script names the proxy ------------------------------
start_proxy
internet_settings 5 "" "" "http://$PROXY/proxy.pac"
start_exe script
wait_until 60 served Clientnew.aspx || fail "no event-list request through the script's proxy"
for page in visit.aspx Clientnew.aspx; do
    [ "$(proxied "^FORWARD $SERVICE/EndUsers/$page")" = 1 ] ||
        fail "$page did not go through the script's proxy: $(cat "$WORK/proxy.log")"
done
[ "$(proxied '^SCRIPT')" = 1 ] || fail "the script was read $(proxied '^SCRIPT') times for two requests"
stop_exe

# --- A proxy named by hand: hosts on the bypass list go direct -----------
internet_settings 3 "$PROXY" "127.0.0.3;127.0.0.1" ""
start_exe bypassed
wait_until 60 served Clientnew.aspx || fail "no event-list request with the service on the bypass list"
[ "$(proxied '^FORWARD')" = 0 ] || fail "a request for a bypassed host went through the proxy"
stop_exe
internet_settings 3 "$PROXY" "127.0.0.3" ""
start_exe named
wait_until 60 served Clientnew.aspx || fail "no event-list request through the proxy named by hand"
[ "$(proxied "^FORWARD $SERVICE/EndUsers/Clientnew.aspx")" = 1 ] ||
    fail "the event-list request did not go through the proxy named by hand"
stop_exe

# --- Automatic detection with no WPAD anywhere: direct, without delay -----
internet_settings 9 "" "" ""
start_exe detect
wait_until 60 served Clientnew.aspx || fail "no event-list request with automatic detection"
took=$(((${EPOCHREALTIME/./} - STARTED) / 1000))
echo "automatic detection: start-up requests done $took ms after the start"
[ "$(proxied '^FORWARD')" = 0 ] || fail "automatic detection found a proxy"
# A lookup held to the request's 30 s deadline would show here.
[ "$took" -lt 20000 ] || fail "start-up took $took ms with automatic detection"
stop_exe

internet_settings 1 "" "" ""
e2e_pass
