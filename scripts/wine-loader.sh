# shellcheck shell=sh
# Sourced by the scripts that run Wine (sh or bash).
#   runs_i386   true when this machine can execute i386 Linux programs, as
#               Wine's 32-bit loader and the dynamic loader that starts it
#               are; some virtual machines answer "Exec format error"
#   use_wine64  makes wine and wineboot go through Wine's 64-bit loader, for
#               a 64-bit build: Debian's `wine` takes the 32-bit loader
#               whenever it is installed, also where it cannot run

runs_i386() {
    /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

use_wine64() {
    WINELOADER=/usr/lib/wine/wine64
    export WINELOADER
    wine() { "$WINELOADER" "$@"; }
    wineboot() { "$WINELOADER" wineboot.exe "$@"; }
}
