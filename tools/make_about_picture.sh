#!/usr/bin/env bash
# Draws the About window's picture: numbers and a pencil on a soft sky,
# 353 x 265 pixels. Needs ImageMagick; the JPEG is kept in the repo.
set -euo pipefail
cd "$(dirname "$0")/../resources"
convert -size 353x265 gradient:'#7fc8e8'-'#fdf6d8' \
  -fill '#ffffff' -draw 'circle 300,60 330,60' \
  -font DejaVu-Sans-Bold -pointsize 54 \
  -fill '#e8573f' -annotate +40+150 '1' \
  -fill '#3f8fe8' -annotate +95+170 '+' \
  -fill '#2e9d5b' -annotate +145+150 '2' \
  -fill '#8a52c8' -annotate +200+175 '=' \
  -fill '#f2a81d' -annotate +250+150 '3' \
  -stroke '#b5651d' -strokewidth 14 -draw 'line 60,225 230,205' \
  -stroke '#f2c94c' -strokewidth 12 -draw 'line 64,224 226,206' \
  -stroke '#333333' -strokewidth 4 -draw 'line 236,204 250,202' \
  -quality 90 about.jpg
