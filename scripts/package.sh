#!/bin/bash
# The package command: builds the download, a Release KOLVEK.EXE and
# Liesmich.txt in KOLVEK-<version>-win32.zip, with its SHA-256 beside it in
# KOLVEK-<version>-win32.zip.sha256 (for `sha256sum -c`).
#
#   bash scripts/package.sh
#
# Configures build/release (or KOLVEK_RELEASE_DIR) and builds the kolvek_zip
# target there, which builds nothing but KOLVEK.EXE and Liesmich.txt. The same
# commit gives the same zip, byte for byte (scripts/reproducible.sh); its file
# times are SOURCE_DATE_EPOCH when set, else the last commit's time.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KOLVEK_RELEASE_DIR:-$root/build/release}"

bash "$root/scripts/setup.sh" >/dev/null
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
log="$build/package.log"
if ! cmake --build "$build" --target kolvek_zip -j "$(nproc 2>/dev/null || echo 2)" >"$log" 2>&1; then
    cat "$log" >&2
    echo "package: the build failed" >&2
    exit 1
fi
# MakeZip.cmake's last line: "-- NAME.zip: SIZE bytes, SHA-256 HASH".
line="$(sed -n 's/^-- \(KOLVEK-.*-win32\.zip: .*\)/\1/p' "$log" | tail -n 1)"
echo "package: $build/$line"
