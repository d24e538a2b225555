#!/usr/bin/env bash
# Regenerates the small pictures under data/ and, beside each, the same picture as ImageMagick
# decodes it (.ppm): the image tests compare our readers with those pixel for pixel.
# Needs ImageMagick's convert (Debian: imagemagick). Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/data"
CONVERT=${CONVERT:-convert}

# A 70 x 9 picture with gradients and a few hard edges: odd row lengths, long PICT rows.
python3 - <<'PY'
w, h = 70, 9
rows = []
for y in range(h):
    for x in range(w):
        r = (x * 255) // (w - 1)
        g = (y * 255) // (h - 1)
        b = ((x + y) * 37) % 256
        if 20 <= x < 24:
            r, g, b = 255, 255, 255
        if x == 40 and y % 2 == 0:
            r, g, b = 0, 0, 0
        rows.append(bytes((r, g, b)))
with open("source.ppm", "wb") as f:
    f.write(b"P6\n%d %d\n255\n" % (w, h))
    f.write(b"".join(rows))
PY

make() { # output, then convert's options
  local out=$1
  shift
  "$CONVERT" source.ppm "$@" "$out"
  "$CONVERT" "${out#*:}" -alpha off -depth 8 "${out#*:}.ppm"
}

# ImageMagick writes 16 and 32-bit BMPs only with bit fields; the tests build those themselves.
make BMP3:bmp1.bmp -type Palette -colors 2 -compress None
make BMP3:bmp4.bmp -type Palette -colors 16 -compress None
make BMP3:bmp8.bmp -type Palette -colors 200 -compress None
make BMP3:bmp24.bmp -type TrueColor -compress None
make PICT:direct.pict -type TrueColor
make PICT:palette.pict -type Palette -colors 16
make JPEG:colour.jpg -quality 85
make JPEG:grey.jpg -colorspace Gray -quality 85
make JPEG:progressive.jpg -interlace JPEG -quality 85
make JPEG:cmyk.jpg -colorspace CMYK -quality 90
# Adobe's CMYK files carry no JFIF segment of their own; give this one the identifier the reader
# looks for, then decode it again.
python3 - <<'PY'
data = open("cmyk.jpg", "rb").read()
jfif = bytes.fromhex("ffe000104a46494600010100000100010000")
open("cmyk.jpg", "wb").write(data[:2] + jfif + data[2:])
PY
"$CONVERT" cmyk.jpg -alpha off -depth 8 cmyk.jpg.ppm
# A larger picture with detail in its chroma, for loading parts of a JPEG: the decoder skips rows
# and crops columns, and what it keeps must match the whole picture. No reference is needed.
python3 - <<'PY'
w, h = 176, 144
rows = []
for y in range(h):
    for x in range(w):
        r = (x * 255) // (w - 1)
        g = (y * 255) // (h - 1)
        b = ((x + 2 * y) * 37) % 256
        if (x // 12 + y // 10) % 3 == 0:
            r, g, b = 255 - g, b, r
        if x % 50 == 17:
            r, g, b = 0, 0, 0
        rows.append(bytes((r, g, b)))
with open("wide.ppm", "wb") as f:
    f.write(b"P6\n%d %d\n255\n" % (w, h))
    f.write(b"".join(rows))
PY
"$CONVERT" wide.ppm -quality 75 -sampling-factor 2x2 JPEG:wide.jpg
"$CONVERT" wide.ppm -quality 75 -sampling-factor 2x2 -interlace JPEG JPEG:wide-progressive.jpg
rm -f wide.ppm
make PNG24:rgb.png
make PNG8:palette.png -colors 16
make PNG:grey.png -colorspace Gray -depth 8
make PNG:grey2.png -colorspace Gray -depth 2
make PNG32:rgba.png -alpha set -channel A -evaluate set 50% +channel
make PNG:greyalpha.png -colorspace Gray -alpha set -channel A -evaluate set 50% +channel -define png:color-type=4
make PNG48:rgb16.png -depth 16
make PNG24:interlaced.png -interlace PNG
make PNG8:interlaced-palette.png -colors 16 -interlace PNG
rm -f source.ppm
