#!/usr/bin/env bash
# Renders the program's icon, pacote/kelm.svg, into the PNGs kept in the repository: the
# 48 and 128 px icons that the install puts in the hicolor theme beside the SVG, and the
# window's own icon (src/ui/icones/kelm.png, a Qt resource). Run it again after changing the
# SVG. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"

for tamanho in 48 128; do
  rsvg-convert -w "$tamanho" -h "$tamanho" kelm.svg -o "kelm-$tamanho.png"
done
rsvg-convert -w 128 -h 128 kelm.svg -o ../src/ui/icones/kelm.png
