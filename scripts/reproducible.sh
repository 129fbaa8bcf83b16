#!/bin/bash
# Checks that the download is reproducible: clones this repository twice, into
# two folders of different names and depths, builds the zip in each with the
# package command (scripts/package.sh: only KOLVEK.EXE, Liesmich.txt, the zip),
# once in the time zone UTC with umask 022 and once at UTC+14 with umask 077,
# and compares the two zips byte for byte. Each zip must also pass
# tools/check_release.py: named after the version in project(), the same
# version everywhere inside, its SHA-256 beside it, and neither clone's source
# or build folder named in KOLVEK.EXE.
#
#   bash scripts/reproducible.sh      (part of scripts/test.sh)
#
# The clones hold the last commit: uncommitted changes are not checked.
# Works in build/reproducible; prints the zip's name, size and SHA-256.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$root/build/reproducible"
version="$(sed -n 's/^project(KOLVEK VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
if [ -z "$version" ]; then
    echo "reproducible: no version in project() in CMakeLists.txt" >&2
    exit 1
fi
zip_name="KOLVEK-${version}-win32.zip"

if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "reproducible: note: uncommitted changes are not in the clones; this checks the last commit"
fi

rm -rf "$work"
mkdir -p "$work"

# build_clone FOLDER TZ UMASK: clones and runs the package command there; the
# zip ends up in FOLDER/build/release.
build_clone() {
    local source="$1" zone="$2" mask="$3"
    git clone --quiet "$root" "$source"
    (
        umask "$mask"
        export TZ="$zone"
        unset SOURCE_DATE_EPOCH KOLVEK_RELEASE_DIR
        bash "$source/scripts/package.sh" >"$source.log" 2>&1
    ) || {
        cat "$source.log" >&2
        echo "reproducible: the build in $source failed" >&2
        return 1
    }
    python3 "$root/tools/check_release.py" "$source/build/release/$zip_name" "$version" \
        "$source" "$source/build/release"
}

first="$work/one/KOLVEK"
second="$work/the/second/clone"
echo "reproducible: building $zip_name in $first"
build_clone "$first" UTC0 022
echo "reproducible: building $zip_name in $second"
build_clone "$second" 'UTC-14' 077

a="$first/build/release/$zip_name"
b="$second/build/release/$zip_name"
if ! cmp -s "$a" "$b"; then
    echo "reproducible: the two zips differ:" >&2
    sha256sum "$a" "$b" >&2
    cmp "$a" "$b" >&2 || true
    exit 1
fi
echo "reproducible: both builds gave $zip_name, $(stat -c %s "$a") bytes, SHA-256 $(sha256sum "$a" | cut -d' ' -f1)"
