#!/bin/sh
# Runs one Windows program under Wine for CTest. Under scripts/test there are as many slots (a
# display and a Wine prefix each, build/test-slots/<n>.env) as programs CTest runs at once: the
# program takes the first slot no other program holds, marked by a folder made in one step, and
# gives it back when it ends. A mark whose holder is gone (a program killed at its time limit)
# counts as free. The defaults only keep a bare `ctest` from touching anyone's own ~/.wine.
here=$(cd "$(dirname "$0")/.." && pwd)
slots="$here/build/test-slots"
held=""
take_slot() {
    for env in "$slots"/*.env; do
        [ -f "$env" ] || return 1
        mark="${env%.env}.held"
        holder=$(cat "$mark/pid" 2>/dev/null)
        if [ -n "$holder" ] && ! kill -0 "$holder" 2>/dev/null; then rm -rf "$mark"; fi
        if mkdir "$mark" 2>/dev/null; then
            echo $$ > "$mark/pid"
            held="$mark"
            . "$env"
            return 0
        fi
    done
    return 2
}
if ls "$slots"/*.env >/dev/null 2>&1; then
    until take_slot; do sleep 0.2; done
    trap 'rm -rf "$held"' EXIT
    trap 'exit 143' TERM INT
fi
: "${WINEPREFIX:=$here/build/wineprefix-test}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
wine "$@"
