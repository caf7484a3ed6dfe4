#!/usr/bin/env bash
# Makes the small image files the thumbnail tests read (ImageMagick). The results are
# committed; run again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
# Four coloured quarters show orientation and nearest-pixel scaling.
quad() {  # WIDTH HEIGHT OUT
    local w=$(($1 / 2)) h=$(($2 / 2))
    convert \( -size ${w}x${h} xc:red -size ${w}x${h} xc:lime +append \) \
            \( -size ${w}x${h} xc:blue -size ${w}x${h} xc:yellow +append \) -append "$3"
}
quad 200 150 BMP3:quad200x150.bmp && convert quad200x150.bmp -type Palette BMP3:quad200x150.bmp
quad 400 300 quad400x300.jpg
quad 400 300 quad400x300.gif
quad 300 400 quad300x400.jpg
quad 500 500 quad500x500.jpg
quad 50 40 BMP3:quad50x40.bmp
convert -size 1000x1 xc:navy -type TrueColor BMP3:line1000x1.bmp
# Two frames: only the first (red) is shown.
convert -size 60x40 xc:red -size 60x40 xc:blue -set delay 50 anim60x40.gif
# Left half transparent: it must come out white.
convert -size 20x40 xc:none -size 20x40 xc:blue +append trans40x40.gif
convert -size 48x48 xc:lime icon48.ico
convert -size 20x20 xc:red image20.png
# Not an image for any loader: SOI, then noise.
printf '\xff\xd8\xff\xe0\x00\x10JFIF\x00garbage that is not a jpeg at all %.0s' 1 2 3 4 5 > damaged.jpg
head -c 700 quad400x300.jpg > truncated.jpg
printf '<html><body>Not Found</body></html>' > notimage.jpg
# A WebP file's first bytes are all the loader looks at.
printf 'RIFF\x24\x00\x00\x00WEBPVP8L\x18\x00\x00\x00\x2f\x00\x00\x00\x10\x07\x10\x11\x11\x88\x88\xfe\x07\x00\x00\x00\x00\x00\x00\x00\x00\x00' > image.webp
