#!/bin/sh
# Remakes the small image fixtures of the page scan tests with ImageMagick.
set -e
cd "$(dirname "$0")"
convert -size 64x48 gradient:red-blue photo.jpg
convert -size 40x30 xc:green -fill yellow -draw "circle 20,15 20,5" image.gif
convert -size 30x20 gradient:white-black BMP3:pic.bmp
convert -size 20x20 xc:orange pic.png
convert -size 20x20 xc:purple pic.webp
convert -size 30x60 gradient:yellow-navy tall.jpg
