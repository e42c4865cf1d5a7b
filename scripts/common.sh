# Shared by scripts/build, scripts/test and scripts/run: packages, build, display and Wine.
# Sourced, not run.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR="$ROOT/build/release"
DIST_DIR="$ROOT/build/dist"

PACKAGES=(cmake ninja-build mingw-w64 mingw-w64-tools wine wine64 libwine-dev xvfb googletest
          imagemagick xdotool x11-utils fonts-wqy-microhei nsis ccache)
# fonts-wqy-microhei: Wine has no font with Chinese characters of its own; without one the
# Chinese interface texts show as boxes.

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "== Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build_release() {
    # Compiler results are kept between builds and shared by checkouts that sit side by side
    # (paths inside the parent folder are hashed as relative ones).
    if command -v ccache >/dev/null 2>&1; then
        export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
        export CCACHE_BASEDIR="$(dirname "$ROOT")" CCACHE_MAXSIZE=5G
    fi
    # Configured every time (a few seconds): it finds tools installed since the last build.
    cmake --preset release >/dev/null
    cmake --build --preset release
    build_installer
}

# CMake makes the setup with the programs; this only says where it is.
build_installer() {
    local setup="$ROOT/build/LanternhopSetup.exe"
    [ -f "$setup" ] && echo "== Setup: $setup"
    return 0
}

# Starts a private X display; sets DISPLAY and XVFB_PID. Xvfb picks a free display number itself
# (-displayfd), so checkouts that test side by side never race for the same one.
XVFB_PID=""
start_display() {
    local numfile
    numfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$numfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 100); do
        if [ -s "$numfile" ] && grep -q . "$numfile"; then
            export DISPLAY=":$(head -n1 "$numfile" | tr -dc 0-9)"
            rm -f "$numfile"
            return 0
        fi
        sleep 0.1
    done
    rm -f "$numfile"
    echo "Xvfb did not start" >&2
    return 1
}

# Prepares a Wine prefix and keeps its wineserver running; sets WINESERVER_PID.
WINESERVER_PID=""
start_wine() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    # No Mono or Gecko install offers (the tests need neither), no debugger that would wait
    # on a crashing test instead of letting it fail, and no menu entries in the Unix home for
    # the Start menu shortcuts the setup makes.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
    export WINEARCH=win64
    mkdir -p "$WINEPREFIX"
    # In the foreground (-f), so the pid is the server's own and can be stopped by it.
    wineserver -f -p >/dev/null 2>&1 &
    WINESERVER_PID=$!
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "== Preparing the Wine prefix $WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        # Xvfb runs no window manager: without this, Wine waits two seconds for one on every
        # hide or destruction of a top-level window that it would let a manager handle.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
        # The Chinese faces Windows links to its dialog fonts come from the installed CJK font.
        local face
        for face in SimSun NSimSun "Microsoft YaHei" "Microsoft YaHei UI" "MS UI Gothic" PMingLiU; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d 'WenQuanYi Micro Hei' /f \
                >/dev/null 2>&1 || true
        done
    fi
    own_desktop_folder
}

# Wine links the prefix's desktop to the Unix home folder; tidying the desktop under Wine would
# then list and move the home folder's files. The prefix gets a desktop folder of its own.
own_desktop_folder() {
    local desktop
    for desktop in "$WINEPREFIX"/drive_c/users/*/Desktop; do
        if [ -L "$desktop" ]; then
            rm -f "$desktop"
            mkdir -p "$desktop"
        fi
    done
}

# Test slots: each runs one test program at a time on a display and a Wine prefix of its own,
# so two programs can run side by side without seeing each other's windows, files or registry.
# Writes build/test-slots/<n>.env, one per slot; cmake/wine-emulator.sh takes a free one for
# each test program it starts.
SLOT_XVFB_PIDS=()
SLOT_PREFIXES=()
start_test_slots() {
    local count=$1 dir="$ROOT/build/test-slots" n prefix
    rm -rf "$dir"
    mkdir -p "$dir"
    local preparing=()
    for n in $(seq 0 $((count - 1))); do
        prefix="$ROOT/build/wineprefix-test-$n"
        rm -rf "$prefix"
        start_display
        SLOT_XVFB_PIDS+=("$XVFB_PID")
        XVFB_PID=""
        SLOT_PREFIXES+=("$prefix")
        # Prefixes are prepared side by side: each takes a minute of mostly waiting.
        # The mark by which tests that change the user's data, desktop or registry know they
        # are in a throwaway prefix; anywhere else they refuse to run.
        ( start_wine "$prefix" && : > "$prefix/drive_c/lanternhop-test-prefix" ) &
        preparing+=($!)
        printf 'export DISPLAY=%q WINEPREFIX=%q\n' "$DISPLAY" "$prefix" > "$dir/$n.env"
    done
    wait "${preparing[@]}" || true
    for prefix in "${SLOT_PREFIXES[@]}"; do
        [ -f "$prefix/drive_c/lanternhop-test-prefix" ] || { echo "Wine prefix $prefix failed" >&2; return 1; }
    done
}

stop_started() {
    local prefix pid
    for prefix in "${SLOT_PREFIXES[@]}"; do
        WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    done
    for pid in "${SLOT_XVFB_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    if [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
    if [ -n "$WINESERVER_PID" ]; then kill "$WINESERVER_PID" 2>/dev/null || true; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$ROOT/build/test-slots"
}
