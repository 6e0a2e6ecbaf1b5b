#!/usr/bin/python3
"""Writes the small pictures the image tests decode (tests/image/samples/).
Each has known pixels, so a test can check colours, alpha and the choice of
frame, not only that something decoded. Run it by hand after a change and
commit the files; the build does not run it.

  rgba.png     4 x 2, 8-bit RGBA: opaque, translucent and transparent pixels
  gray16.png   3 x 1, 16-bit grey: 0, half, full
  frames.ico   one solid colour per size: 16 red, 32 green, 48 blue (DIBs),
               256 yellow (PNG)
  palette.gif  5 x 3, one magenta pixel at (4, 2) on cyan
  plain.bmp    6 x 4, 24-bit, one red pixel at (0, 0) on grey
"""
import os
import sys

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from gen_artwork import icon_file  # noqa: E402

OUT = os.path.join(os.path.dirname(__file__), "samples")


def main():
    rgba = Image.new("RGBA", (4, 2))
    rgba.putdata([(255, 0, 0, 255), (0, 255, 0, 128), (255, 255, 255, 0), (0, 0, 255, 255),
                  (255, 255, 255, 255), (0, 0, 0, 255), (255, 0, 0, 64), (10, 20, 30, 255)])
    rgba.save(os.path.join(OUT, "rgba.png"))

    gray = Image.new("I;16", (3, 1))
    gray.putdata([0, 32896, 65535])
    gray.save(os.path.join(OUT, "gray16.png"))

    colours = {16: (255, 0, 0, 255), 32: (0, 255, 0, 255), 48: (0, 0, 255, 255), 256: (255, 255, 0, 255)}
    with open(os.path.join(OUT, "frames.ico"), "wb") as out:
        out.write(icon_file([Image.new("RGBA", (s, s), c) for s, c in colours.items()]))

    gif = Image.new("P", (5, 3))
    gif.putpalette([0, 255, 255, 255, 0, 255] + [0] * (256 * 3 - 6))
    gif.putpixel((4, 2), 1)
    gif.save(os.path.join(OUT, "palette.gif"))

    bmp = Image.new("RGB", (6, 4), (128, 128, 128))
    bmp.putpixel((0, 0), (255, 0, 0))
    bmp.save(os.path.join(OUT, "plain.bmp"))


if __name__ == "__main__":
    main()
