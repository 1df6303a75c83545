#!/bin/sh
# Renders the theme's PNG icons from the scalable one; run after changing the SVG and commit the
# result. The 16 and 32 pixel icons are the windows' own pixel drawings, converted at build time.
set -eu
cd "$(dirname "$0")"
for size in 22 24 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" org.palimo.PalimoSuite.svg -o "hicolor/$size.png"
done
