#!/usr/bin/python3
"""Draws the program's own pictures and its icon from one drawing.

  resources/banner.jpg    700 x 230, resource "IDR_JPG" 131
  resources/upright.jpg   230 x 700, resource "IDR_JPG" 132
  resources/purgo.ico     icon group 128: 16, 24, 32, 48, 64, 128 and 256
                          pixels, 32-bit with alpha; 256 stored as PNG

The mark is a teal disc with a white broom handle and bristles swept to the
lower left and three yellow sparkles to the upper right. The pictures put the
mark on a teal-to-blue gradient beside the name.

Needs Debian's python3-pil (scripts/packages.sh), hence /usr/bin/python3
rather than whatever python3 comes first on the PATH. Everything is drawn at
four times the final size and reduced with a Lanczos filter, so that edges
are smooth at every size. The output is deterministic: run it again and
commit the files only if the drawing changed.

Usage: tools/gen_artwork.py [folder]   (default: resources)
"""
import io
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

TEAL = (16, 122, 138)
DEEP = (18, 52, 96)
WHITE = (255, 255, 255)
SPARK = (255, 214, 92)
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SUPER = 4


def sparkle(draw, cx, cy, r, fill):
    """A four-pointed star: two thin diamonds crossed."""
    w = r * 0.28
    draw.polygon([(cx, cy - r), (cx + w, cy), (cx, cy + r), (cx - w, cy)], fill=fill)
    draw.polygon([(cx - r, cy), (cx, cy - w), (cx + r, cy), (cx, cy + w)], fill=fill)


def mark(size, small=False):
    """The program's mark on a transparent square, drawn at size x size.

    Small icons (24 pixels and less) get a thicker handle and round sparkles,
    which stay legible where the star points would blur away."""
    img = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    s = size / 100.0
    d.ellipse([2 * s, 2 * s, 98 * s, 98 * s], fill=TEAL + (255,))
    # A lighter rim towards the top left gives the disc some depth.
    d.arc([6 * s, 6 * s, 94 * s, 94 * s], 160, 290, fill=(80, 178, 190, 255), width=max(1, int(3 * s)))
    # The handle: from the upper right down to the middle.
    width = (12 if small else 8) * s
    x0, y0, x1, y1 = 70 * s, 26 * s, 42 * s, 56 * s
    angle = math.atan2(y1 - y0, x1 - x0)
    nx, ny = -math.sin(angle) * width / 2, math.cos(angle) * width / 2
    d.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], fill=WHITE + (255,))
    d.ellipse([x0 - width / 2, y0 - width / 2, x0 + width / 2, y0 + width / 2], fill=WHITE + (255,))
    # The bristles: a fan opening to the lower left of the handle's end.
    d.polygon([(36 * s, 50 * s), (48 * s, 62 * s), (36 * s, 80 * s), (18 * s, 78 * s), (20 * s, 62 * s)],
              fill=WHITE + (255,))
    if not small:
        for i in range(3):
            t = 0.25 + i * 0.25
            ax, ay = 36 * s + (20 * s - 36 * s) * t, 50 * s + (70 * s - 50 * s) * t
            bx, by = 48 * s + (36 * s - 48 * s) * t, 62 * s + (80 * s - 62 * s) * t
            d.line([(ax + 2 * s, ay + 2 * s), (bx - 2 * s, by - 2 * s)], fill=TEAL + (255,), width=max(1, int(1.6 * s)))
    # The sparkles.
    for cx, cy, r in ((78 * s, 48 * s, 9 * s), (58 * s, 18 * s, 7 * s), (84 * s, 24 * s, 5 * s)):
        if small:
            d.ellipse([cx - r * 0.7, cy - r * 0.7, cx + r * 0.7, cy + r * 0.7], fill=SPARK + (255,))
        else:
            sparkle(d, cx, cy, r, SPARK + (255,))
    return img


def icon_image(size):
    return mark(size * SUPER, small=size <= 24).resize((size, size), Image.LANCZOS)


def dib_entry(img):
    """A 32-bit icon image as Windows stores it: a BITMAPINFOHEADER of double
    height (colour rows then mask rows), rows bottom up, BGRA, then a 1-bit AND
    mask that is 1 where the image is transparent, rows padded to 4 bytes."""
    size = img.width
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = img.load()
    colour = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = px[x, y]
            colour += bytes((b, g, r, a))
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(colour) + bytes(mask)


def png_entry(img):
    out = io.BytesIO()
    img.save(out, "PNG", optimize=True)
    return out.getvalue()


def icon_file(images):
    """An ICO file from RGBA images, one per size; 256 pixels and more as PNG
    (what Windows Vista and later store there), the rest as DIBs, which every
    version reads."""
    entries = [(img.width, png_entry(img) if img.width >= 256 else dib_entry(img)) for img in images]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, data in entries:
        byte = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", byte, byte, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in entries)


def gradient(width, height, horizontal):
    """TEAL at the start, DEEP at the end, along the long side; a faint
    diagonal shading across it keeps the surface from looking flat."""
    img = Image.new("RGB", (width, height))
    px = img.load()
    for y in range(height):
        for x in range(width):
            t = x / (width - 1) if horizontal else y / (height - 1)
            u = (y / (height - 1)) if horizontal else (x / (width - 1))
            shade = 1.0 - 0.10 * u
            px[x, y] = tuple(int((a + (b - a) * t) * shade) for a, b in zip(TEAL, DEEP))
    return img


def scatter_sparkles(img, points):
    d = ImageDraw.Draw(img, "RGBA")
    for cx, cy, r, alpha in points:
        sparkle(d, cx, cy, r, SPARK + (alpha,))


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def swoosh(img, box, start, end):
    """A broad, faint arc: the sweep of the broom across the picture."""
    d = ImageDraw.Draw(img, "RGBA")
    d.arc(box, start, end, fill=(255, 255, 255, 38), width=10 * SUPER)
    d.arc([box[0] + 22 * SUPER, box[1] + 22 * SUPER, box[2] - 22 * SUPER, box[3] - 22 * SUPER], start, end,
          fill=(255, 255, 255, 22), width=5 * SUPER)


def banner():
    W, H = 700 * SUPER, 230 * SUPER
    img = gradient(W // SUPER, H // SUPER, True).resize((W, H), Image.BICUBIC)
    swoosh(img, [-260 * SUPER, 40 * SUPER, 520 * SUPER, 640 * SUPER], 250, 330)
    m = mark(150 * SUPER)
    img.paste(m, (40 * SUPER, 40 * SUPER), m)
    d = ImageDraw.Draw(img, "RGBA")
    d.text((220 * SUPER, 62 * SUPER), "Oxle Purgo", font=font("DejaVuSans-Bold.ttf", 56 * SUPER), fill=WHITE)
    d.line([(222 * SUPER, 140 * SUPER), (560 * SUPER, 140 * SUPER)], fill=SPARK + (255,), width=3 * SUPER)
    d.text((222 * SUPER, 152 * SUPER), "1.25", font=font("DejaVuSans.ttf", 22 * SUPER), fill=(220, 236, 240))
    scatter_sparkles(img, [(610 * SUPER, 52 * SUPER, 14 * SUPER, 230), (648 * SUPER, 96 * SUPER, 8 * SUPER, 200),
                           (585 * SUPER, 176 * SUPER, 10 * SUPER, 160), (660 * SUPER, 190 * SUPER, 6 * SUPER, 140)])
    return img.resize((700, 230), Image.LANCZOS)


def upright():
    W, H = 230 * SUPER, 700 * SUPER
    img = gradient(W // SUPER, H // SUPER, False).resize((W, H), Image.BICUBIC)
    swoosh(img, [-420 * SUPER, 260 * SUPER, 330 * SUPER, 1010 * SUPER], 285, 350)
    m = mark(160 * SUPER)
    img.paste(m, (35 * SUPER, 70 * SUPER), m)
    d = ImageDraw.Draw(img, "RGBA")
    f = font("DejaVuSans-Bold.ttf", 44 * SUPER)
    for i, word in enumerate(("Oxle", "Purgo")):
        w = d.textlength(word, font=f)
        d.text(((W - w) / 2, (290 + i * 56) * SUPER), word, font=f, fill=WHITE)
    d.line([(55 * SUPER, 410 * SUPER), (175 * SUPER, 410 * SUPER)], fill=SPARK + (255,), width=3 * SUPER)
    v = font("DejaVuSans.ttf", 22 * SUPER)
    w = d.textlength("1.25", font=v)
    d.text(((W - w) / 2, 424 * SUPER), "1.25", font=v, fill=(220, 236, 240))
    scatter_sparkles(img, [(60 * SUPER, 560 * SUPER, 14 * SUPER, 220), (170 * SUPER, 600 * SUPER, 9 * SUPER, 190),
                           (110 * SUPER, 650 * SUPER, 7 * SUPER, 150), (185 * SUPER, 40 * SUPER, 8 * SUPER, 170)])
    return img.resize((230, 700), Image.LANCZOS)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources")
    # Baseline JPEG without subsampling of the colour: the thin yellow lines
    # and the text edges stay clean.
    banner().save(os.path.join(folder, "banner.jpg"), "JPEG", quality=92, subsampling=0, optimize=True)
    upright().save(os.path.join(folder, "upright.jpg"), "JPEG", quality=92, subsampling=0, optimize=True)
    with open(os.path.join(folder, "purgo.ico"), "wb") as out:
        out.write(icon_file([icon_image(size) for size in ICON_SIZES]))


if __name__ == "__main__":
    main()
