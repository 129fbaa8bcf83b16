#!/bin/bash
# Installs everything the builds and tests need on Debian 12, as root.
# Idempotent: when every package and the de_DE.UTF-8 locale are already
# there it changes nothing and does not touch apt at all.
set -euo pipefail

packages=(
    cmake ninja-build g++ libgtest-dev googletest
    g++-mingw-w64-i686 g++-mingw-w64-x86-64-posix
    wine wine32:i386 wine64 fonts-wine
    xvfb xauth x11-utils xdotool imagemagick
    python3 clang libclang-rt-14-dev hyperfine clang-format git
    locales
)

installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done

require_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: must run as root to $1" >&2
        exit 1
    fi
}

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages present"
else
    echo "setup: installing ${missing[*]}"
    require_root "install packages"
    export DEBIAN_FRONTEND=noninteractive
    # wine32 is an i386 package.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update
    apt-get install -y "${missing[@]}"
fi

# The second Wine prefix plays a German Windows (ANSI 1252, OEM 850) through
# LC_ALL=de_DE.UTF-8; without the generated glibc locale Wine falls back to
# a 7-bit charset instead.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
    echo "setup: generating the locale de_DE.UTF-8"
    require_root "generate locales"
    if ! grep -qx 'de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'de_DE.UTF-8 UTF-8' >>/etc/locale.gen
    fi
    locale-gen
fi
