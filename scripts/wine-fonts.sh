#!/bin/sh
# Copies Wine's own TrueType fonts (Tahoma, Marlett, ...; Debian's package
# fonts-wine) into a Wine prefix's windows\Fonts folder. Wine as Debian builds
# it does not load them from where the package puts them: without the copies
# dialogs fall back to another font and the caption buttons show letters
# instead of their glyphs (Marlett).
#   wine-fonts.sh PREFIX
# Used where the demo, the tests and the benchmark make their prefixes; never
# on a prefix of the user's own.
set -e

source_dir=/usr/share/wine/fonts
fonts="$1/drive_c/windows/Fonts"
if [ ! -f "$source_dir/tahoma.ttf" ]; then
    echo "wine-fonts: no Wine fonts in $source_dir (package fonts-wine, scripts/setup.sh)" >&2
    exit 1
fi
if [ ! -d "$fonts" ]; then
    echo "wine-fonts: $fonts does not exist; is $1 a Wine prefix?" >&2
    exit 1
fi
cp "$source_dir"/*.ttf "$fonts/"
