#!/usr/bin/env bash
# Renders the program icon (tervolin.svg) to the PNG sizes the program and the package use.
# Needs ImageMagick (Debian package imagemagick); the PNGs are committed.
set -euo pipefail
cd "$(dirname "$0")"
for s in 16 32 48 64 128 256; do
  convert -background none -density $((96 * s / 48)) tervolin.svg -resize "${s}x${s}" -strip "icon-$s.png"
done
