#!/usr/bin/env bash
# Reference PNG images for the PNG decoder's conformance tests, from Debian's
# libpng1.6 source package, copied to build/deps/pngsuite:
#   *.png, interlaced/  PngSuite's basic, transparent and interlaced images
#   testpngs/          every colour type and depth, with and without gamma and tRNS
#   crashers/          damaged files (bad CRC, bad Adler-32, oversized chunks)
set -euo pipefail
. "$ROOT/scripts/lib.sh"
out="$DEPS/pngsuite"
[ -f "$out/.complete" ] && exit 0
src="$(fetch_source libpng1.6)"
rm -rf "$out"
mkdir -p "$out/interlaced" "$out/testpngs" "$out/crashers"
cp "$src"/contrib/pngsuite/*.png "$src"/pngtest.png "$out/"
cp "$src"/contrib/pngsuite/interlaced/*.png "$out/interlaced/"
cp "$src"/contrib/testpngs/*.png "$out/testpngs/"
cp "$src"/contrib/testpngs/crashers/*.png "$out/crashers/"
touch "$out/.complete"
echo "setup: PNG reference images in $out ($(find "$out" -name '*.png' | wc -l) files)"
