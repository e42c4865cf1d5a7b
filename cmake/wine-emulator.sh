#!/bin/sh
# Runs one Windows program under Wine for CTest. Under scripts/test, CTest names the slot the
# test was given (CTEST_RESOURCE_GROUP_0_SLOTS="id:N,slots:1") and the slot's file gives its
# display and prefix. The defaults only keep a bare `ctest` from touching anyone's own ~/.wine.
here=$(cd "$(dirname "$0")/.." && pwd)
slot=${CTEST_RESOURCE_GROUP_0_SLOTS:-}
slot=${slot#id:}
slot=${slot%%,*}
if [ -n "$slot" ] && [ -f "$here/build/test-slots/$slot.env" ]; then
    . "$here/build/test-slots/$slot.env"
fi
: "${WINEPREFIX:=$here/build/wineprefix-test}"
: "${WINEDEBUG:=-all}"
: "${WINEDLLOVERRIDES:=mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d}"
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
exec wine "$@"
