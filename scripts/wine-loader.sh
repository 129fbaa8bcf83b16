# shellcheck shell=sh
# Sourced by the scripts that run Wine (sh or bash).
#   runs_i386   true when this machine runs Wine's 32-bit loader, an i386
#               Linux program, and the dynamic loader that starts it; false
#               where the kernel refuses i386 programs ("Exec format error"),
#               as some virtual machines do. Where either loader is not
#               installed it ends the calling script: that is a missing
#               install step (scripts/setup.sh), not a kind of machine.
#               Takes the two loaders' paths for its tests; Debian's by default.
#   use_wine64  makes wine and wineboot go through Wine's 64-bit loader, for
#               a 64-bit build: Debian's `wine` takes the 32-bit loader
#               whenever it is installed, also where it cannot run

runs_i386() {
    i386_ld="${1:-/lib/ld-linux.so.2}"
    i386_wine="${2:-/usr/lib/wine/wine}"
    if [ ! -f "$i386_ld" ]; then
        echo "${0##*/}: $i386_ld is missing: the i386 C library is not installed; run scripts/setup.sh as root" >&2
        exit 1
    fi
    i386_answer="$(
        LC_ALL=C
        export LC_ALL
        "$i386_ld" --version 2>&1
    )" && i386_status=0 || i386_status=$?
    if [ "$i386_status" -ne 0 ]; then
        case "$i386_answer" in
        *"Exec format error"*) return 1 ;;
        esac
        echo "${0##*/}: $i386_ld does not run (status $i386_status): $i386_answer" >&2
        exit 1
    fi
    if [ ! -f "$i386_wine" ]; then
        echo "${0##*/}: $i386_wine is missing: Wine's 32-bit loader (wine32:i386) is not installed; run scripts/setup.sh as root" >&2
        exit 1
    fi
}

use_wine64() {
    WINELOADER=/usr/lib/wine/wine64
    export WINELOADER
    wine() { "$WINELOADER" "$@"; }
    wineboot() { "$WINELOADER" wineboot.exe "$@"; }
}
