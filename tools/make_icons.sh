#!/usr/bin/env bash
# Draws the program icon (a slate with "1+2" and a pencil stroke) in the
# sizes the desktop uses. Needs ImageMagick; the PNGs are kept in the repo.
set -euo pipefail
cd "$(dirname "$0")/../resources/icons"
convert -size 256x256 xc:none -fill '#2e7d6b' -draw 'roundrectangle 8,8 248,248 40,40' \
  -fill '#fff8d0' -font DejaVu-Sans-Bold -pointsize 110 -gravity center -annotate +0-10 '1+2' \
  -stroke '#f2b233' -strokewidth 18 -draw 'line 60,210 196,210' numbrook-256.png
for size in 16 32 48 64 128; do
  convert numbrook-256.png -resize ${size}x${size} numbrook-${size}.png
done
