#!/usr/bin/env bash
# Draws the About window's picture, 353 x 265 pixels: an evening sky, dark at
# the top where the pale-yellow greeting stands (a contrast above 4.5:1),
# lightening towards numbers and a pencil. Needs ImageMagick; the JPEG is
# kept in the repo.
set -euo pipefail
cd "$(dirname "$0")/../resources"
convert -size 353x265 xc:'#fdf6d8' \
  \( -size 353x70 gradient:'#0e1c38'-'#1c3560' \) -geometry +0+0 -composite \
  \( -size 353x195 gradient:'#1c3560'-'#fdf6d8' \) -geometry +0+70 -composite \
  -fill '#f4f1de' -draw 'circle 318,36 318,22' \
  -fill '#24406e' -draw 'circle 312,31 312,19' \
  -fill '#cfd8ea' -draw 'point 300,60' -draw 'point 270,66' -draw 'point 338,70' \
  -font DejaVu-Sans-Bold -pointsize 54 \
  -fill '#e8573f' -annotate +40+160 '1' \
  -fill '#3f8fe8' -annotate +95+180 '+' \
  -fill '#2e9d5b' -annotate +145+160 '2' \
  -fill '#8a52c8' -annotate +200+185 '=' \
  -fill '#f2a81d' -annotate +250+160 '3' \
  -stroke '#b5651d' -strokewidth 14 -draw 'line 60,235 230,215' \
  -stroke '#f2c94c' -strokewidth 12 -draw 'line 64,234 226,216' \
  -stroke '#333333' -strokewidth 4 -draw 'line 236,214 250,212' \
  -quality 92 about.jpg
