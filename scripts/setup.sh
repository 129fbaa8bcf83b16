#!/bin/bash
# Installs everything the builds and tests need on Debian 12, as root.
# Idempotent: when every package is already there it changes nothing and
# does not touch apt at all.
set -euo pipefail

packages=(
    cmake ninja-build g++ libgtest-dev googletest
    g++-mingw-w64-i686
    wine wine32:i386 wine64 fonts-wine
    xvfb xauth x11-utils xdotool imagemagick
    python3 clang libclang-rt-14-dev hyperfine clang-format git
)

installed() {
    [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: all packages present"
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
    echo "setup: must run as root to install packages" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
# wine32 is an i386 package.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt-get update
apt-get install -y "${missing[@]}"
