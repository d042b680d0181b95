#!/bin/sh
# Draws the program's icon and banner (ImageMagick). The PNGs are committed;
# run this again only to change the artwork.
set -eu
cd "$(dirname "$0")"
SERIF=/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf

# Icon: a gold rune-stone "Q" on a deep red shield.
convert -size 256x256 xc:none \
  -fill '#2a0b08' -stroke '#c9a24a' -strokewidth 10 \
  -draw "path 'M 128,14 L 226,50 L 214,150 Q 196,214 128,244 Q 60,214 42,150 L 30,50 Z'" \
  -fill '#7a1e14' -stroke none \
  -draw "path 'M 128,34 L 206,62 L 196,148 Q 181,200 128,224 Q 75,200 60,148 L 50,62 Z'" \
  -font "$SERIF" -pointsize 150 -fill '#e8c766' -stroke '#5a3a08' -strokewidth 3 \
  -gravity center -annotate +0+6 'Q' \
  icon256.png
# 8 bits per channel: the pictures decode at every start.
convert icon256.png -depth 8 PNG32:icon256.png
convert icon256.png -resize 128x128 -depth 8 PNG32:icon128.png
for s in 16 22 24 32 48 64; do convert icon256.png -resize ${s}x${s} -depth 8 PNG32:icon${s}.png; done

# Banner: the product name on a dark ember gradient that fades out below, where
# the window's own texts and the first group stand (the lower third stays clear).
# Drawn at twice the size it finally has, then stored at about the size the
# window shows it at scale 1 and at twice that (@2x) for screens at scale 2:
# the window reads only the one its screens need and scales it smoothly.
convert -size 1760x236 xc:none \
  \( -size 1760x220 gradient:'#3d120c'-'#120605' \) -geometry +0+0 -composite \
  \( -size 1760x16 gradient:'#120605'-'#12060500' \) -geometry +0+220 -composite \
  -fill none -stroke '#c9a24a' -strokewidth 6 -draw "line 48,196 1712,196" \
  -font "$SERIF" -pointsize 148 -fill '#e8c766' -stroke '#4a2a06' -strokewidth 4 \
  -gravity north -annotate +0+16 'QUARVINEL' \
  -resize 1056x142 -depth 8 PNG32:banner145@2x.png
convert banner145@2x.png -filter Lanczos -resize 528x71 -depth 8 PNG32:banner145.png

# Unfiltered rows: much cheaper to decode at start, same pixels.
./unfilter-png.py icon*.png banner145*.png
