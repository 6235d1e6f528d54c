#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the SVG sources into the committed PNG and JPEG files. Run by hand
# after changing a source (needs librsvg2-bin and imagemagick); the build
# itself uses only the committed results.
set -euo pipefail
src=$(cd "$(dirname "$0")" && pwd)
out=$(dirname "$src")

for svg in "$src"/icons/*.svg; do
  rsvg-convert -w 32 -h 32 "$svg" -o "$out/icons/$(basename "${svg%.svg}").png"
done

# The application icon of the installed program (desktop menus): the
# processor, at the two sizes installed beside the SVG.
mkdir -p "$out/appicon"
for size in 48 256; do
  rsvg-convert -w "$size" -h "$size" "$src/icons/PROCESSOR.svg" -o "$out/appicon/$size.png"
done

# Tool-bar image list by index: 0 processor, 1 memory, 2 video, 3 hard disk,
# 4 about, 5 overview, 6 database, 7 all tests.
toolbar=(icons/PROCESSOR icons/MEMORY icons/VIDEO icons/HDD
         toolbar/ABOUT toolbar/OVERVIEW toolbar/DATABASE toolbar/ALLTESTS)
for i in "${!toolbar[@]}"; do
  rsvg-convert -w 24 -h 24 "$src/${toolbar[$i]}.svg" -o "$out/toolbar/$i.png"
done

render_jpeg() {  # <svg> <jpeg>
  local tmp
  tmp=$(mktemp --suffix=.png)
  rsvg-convert "$1" -o "$tmp"
  convert "$tmp" -background black -flatten -strip -quality 92 "$2"
  rm -f "$tmp"
}
render_jpeg "$src/pictures/background.svg" "$out/pictures/background.jpg"
render_jpeg "$src/pictures/splash.svg" "$out/pictures/splash.jpg"
render_jpeg "$src/pictures/about.svg" "$out/pictures/about.jpg"

# The tool-bar band: light brushed metal, seamless when tiled, 256 colours.
# Only its top 34 rows show, so the shading runs over those.
convert \( -size 128x34 gradient:'#ffffff'-'#c4cad4' -size 128x94 xc:'#c4cad4' -append \) \
  \( -size 128x128 xc:gray50 +noise Random -virtual-pixel tile -blur 0x0.6 -motion-blur 0x24+0 \
     -colorspace Gray +level 40%,60% \) \
  -compose SoftLight -composite -colors 256 -strip "PNG8:$out/pictures/band.png"
