#!/bin/sh
# Runs one Windows program under Wine for CTest. scripts/test sets the prefix, display and
# wineserver; these defaults only keep a bare `ctest` from touching anyone's own ~/.wine.
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$here/build/wineprefix-test}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=;winedbg.exe=d}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
exec wine "$@"
