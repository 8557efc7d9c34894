#!/usr/bin/env python3
"""Writes flags/XX.png, 25 by 15 pixels, for every country of countries.crv.

Each flag is scaled from the small flag images of the flag package; a
country the package lacks gets a neutral plate showing its code, so the
program finds an image for every index of its table.

    make_flags.py COUNTRIES_CRV FLAG_SOURCE_DIR OUTPUT_DIR
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 25, 15
PLATE_FILL = (232, 232, 232)
PLATE_EDGE = (150, 150, 150)
PLATE_TEXT = (90, 90, 90)


def read_codes(path):
    codes = []
    with open(path, "rb") as f:
        for raw in f.read().decode("latin-1").splitlines():
            if not raw:
                break  # the program's reader ends the table here too
            code = raw.split("\t", 1)[0]
            codes.append(code)
    return codes


def scaled_flag(path):
    with Image.open(path) as src:
        return src.convert("RGB").resize((WIDTH, HEIGHT), Image.LANCZOS)


def neutral_plate(code):
    img = Image.new("RGB", (WIDTH, HEIGHT), PLATE_FILL)
    draw = ImageDraw.Draw(img)
    draw.rectangle((0, 0, WIDTH - 1, HEIGHT - 1), outline=PLATE_EDGE)
    font = ImageFont.load_default()
    left, top, right, bottom = draw.textbbox((0, 0), code, font=font)
    x = (WIDTH - (right - left)) // 2 - left
    y = (HEIGHT - (bottom - top)) // 2 - top
    draw.text((x, y), code, fill=PLATE_TEXT, font=font)
    return img


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    countries, source_dir, out_dir = argv[1:]
    os.makedirs(out_dir, exist_ok=True)
    for code in read_codes(countries):
        src = os.path.join(source_dir, code.lower() + ".png")
        img = scaled_flag(src) if os.path.isfile(src) else neutral_plate(code)
        dest = os.path.join(out_dir, code + ".png")
        tmp = dest + ".tmp"
        img.save(tmp, "PNG")
        os.replace(tmp, dest)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
