#!/usr/bin/env python3
"""Generates resources/skins.xml, the embedded skin set of ninety skins.

Each skin is fifteen colours (see COLOURS).  Four rows are fixed by hand
(FIXED); the others come from family templates below, one template per
family, parameterised by hue.  After a skin is built its readable pairs are
checked with the WCAG 2 contrast ratio and, where a pair falls short of 4.5:1,
the text colour (and if that is not enough, the background) is moved in
lightness until it passes.  Fixed rows are never changed.

Usage: tools/gen_skins.py [output]   (default: resources/skins.xml)
       tools/gen_skins.py --report   (contrast table on stdout, no file)
"""
import colorsys
import os
import sys

COLOURS = ["windowBg", "windowFg", "compFg", "compDisabled", "groupBorder",
           "text", "textOutLineSpecific", "sliderBg", "listHeaderBg",
           "listHeaderFont", "listBg", "listFont", "listAlternate",
           "counter01", "counter02"]

NAMES = [
    "Fresh L", "Fresh W", "Fresh B", "Fresh M", "pastel pink",
    "pastel Yellow", "pastel blue", "pastel Green", "pastel Lavender",
    "Classic LG", "Classic YE", "Classic WG", "Classic OR", "Velvet PP",
    "Velvet RB", "Velvet GR", "Velvet BG", "Velvet BB", "Velvet PN",
    "Velvet LG", "Gray BL", "Gray YB", "Gray BB", "Gray WG", "Snowed Pink",
    "Snowed Green", "Snowed Blue", "Snowed Lavender", "Snowed Banana",
    "Pencil", "Pencil I", "Pencil I2", "Pencil II", "Sheer Indigo",
    "Sheer Red", "Sheer Black", "Sheer Purple", "Sheer Green", "Sheer Pink",
    "BLN RD", "BLN RG", "BLN GG", "BLN DP", "BLN OR", "BLN YE", "BLN PN",
    "BLN PP", "BLN BB", "BLN BG", "BLN GR", "Bento Box II", "Bento Box I",
    "Trans GR 70%", "Trans GR 60%", "Trans OR 60%", "Trans YE 60%",
    "Trans BL 60%", "Trans SR 60%", "Red Mail Box", "Red nylons 80%",
    "Red Beam", "Red Beam II", "Red Comet 2", "Soot RG", "Soot Blz",
    "Soot Brn", "Soot Flm", "Green 01", "Green 02", "Green 03", "Green 04",
    "Green 05", "Plastic BB", "Plastic PI", "Plastic YB", "Plastic PP",
    "Plastic BG", "Plastic BK", "Plastic RD", "Plastic RG", "Plastic YG",
    "Plastic OR", "Plastic GR", "Luminous Pink", "Deep Water", "Indigo Blue",
    "Purple Ray", "Lavender Water", "Black Black", "Black Black II",
]
assert len(NAMES) == 90

FIXED = {
    0: "E7E9ED E7E9ED 000000 BABABA 000000 000000 E7E9ED ADCE35 47463D FFFFFF "
       "F4F4F4 20201C FFFFFF F8DC2A ADCE35",
    9: "747474 747474 111111 565656 111111 FFFFFF 333333 A3C010 191919 C3EA00 "
       "313131 BFBFBF 383838 C3EA00 191919",
    52: "000000 8EDB00 8EDB00 2B2B2B 8EDB00 8EDB00 333333 8EDB00 8EDB00 000000 "
        "606060 B0FF1E 636363 444444 FFA500",
    89: "000000 333333 B0B0B0 333333 A0A0A0 D1D1D1 333333 999999 CCCCCC 000000 "
        "F9F9F9 000000 EAEAEA BCE519 FFA500",
}

# Pairs that carry text: (foreground, background).
PAIRS = [("listFont", "listBg"), ("listFont", "listAlternate"),
         ("listHeaderFont", "listHeaderBg"), ("text", "windowBg")]
TARGET = 4.5
FIX_TARGET = 4.6  # adjusted pairs get a small margin over TARGET


# ---------------------------------------------------------------- colour maths

def hexc(s):
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


def hsl(h, s, l):
    """Hue in degrees, saturation and lightness in 0..1 -> 8-bit RGB."""
    r, g, b = colorsys.hls_to_rgb((h % 360) / 360.0, min(max(l, 0), 1),
                                  min(max(s, 0), 1))
    return (round(r * 255), round(g * 255), round(b * 255))


def to_hls(c):
    return colorsys.rgb_to_hls(c[0] / 255, c[1] / 255, c[2] / 255)


def lum(c):
    def ch(v):
        v /= 255.0
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (ch(v) for v in c)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def ratio(a, b):
    la, lb = lum(a), lum(b)
    if la < lb:
        la, lb = lb, la
    return (la + 0.05) / (lb + 0.05)


def with_l(c, l):
    h, _, s = to_hls(c)
    r, g, b = colorsys.hls_to_rgb(h, min(max(l, 0), 1), s)
    return (round(r * 255), round(g * 255), round(b * 255))


def push(fg, bg, target):
    """Move fg's lightness away from bg until the ratio reaches target.
    Returns the new fg, or None if even black/white is not enough."""
    darker = lum(bg) > 0.1791  # above this black contrasts better than white
    l = to_hls(fg)[1]
    c = fg
    for _ in range(200):
        if ratio(c, bg) >= target:
            return c
        l = l - 0.005 if darker else l + 0.005
        if l < 0 or l > 1:
            break
        c = with_l(fg, l)
    c = (0, 0, 0) if darker else (255, 255, 255)
    return c if ratio(c, bg) >= target else None


def auto_font(bg, h, s=0.35, dark_l=0.12, light_l=0.97):
    """A tinted dark or light font, whichever suits bg better."""
    dark, light = hsl(h, s, dark_l), hsl(h, s, light_l)
    return dark if ratio(dark, bg) >= ratio(light, bg) else light


def outline_for(text):
    """Outline colour opposite to the text, as the loader's default does."""
    return (238, 238, 238) if sum(text) < 234 else (51, 51, 51)


def sk(**kw):
    miss = [c for c in COLOURS if c not in kw]
    assert not miss, miss
    return {c: (hexc(v) if isinstance(v, str) else v) for c, v in kw.items()}


# ------------------------------------------------------------------ families

FRESH_ACCENT = {  # accent hue, accent sat, tint of the window
    "W": None,
    "B": (210, 0.75),
    "M": (318, 0.62),
}


def fresh(key):
    if FRESH_ACCENT[key] is None:  # white: white window, silver accent
        return sk(windowBg="F7F7F7", windowFg="F7F7F7", compFg="000000",
                  compDisabled="BDBDBD", groupBorder="000000", text="000000",
                  textOutLineSpecific="F7F7F7", sliderBg="C4C7CC",
                  listHeaderBg="4A4B4F", listHeaderFont="FFFFFF",
                  listBg="FFFFFF", listFont="1E1E20", listAlternate="F3F3F4",
                  counter01="F8DC2A", counter02="9EA3AB")
    h, s = FRESH_ACCENT[key]
    win = hsl(h, 0.12, 0.92)
    return sk(windowBg=win, windowFg=win, compFg="000000",
              compDisabled="BABABA", groupBorder="000000", text="000000",
              textOutLineSpecific=win, sliderBg=hsl(h, s, 0.55),
              listHeaderBg=hsl(h, 0.10, 0.26), listHeaderFont="FFFFFF",
              listBg=hsl(h, 0.15, 0.96), listFont=hsl(h, 0.08, 0.12),
              listAlternate="FFFFFF", counter01="F8DC2A",
              counter02=hsl(h, s, 0.55))


def pastel(h, s=0.75):
    win = hsl(h, s, 0.89)
    return sk(windowBg=win, windowFg=win, compFg=hsl(h, 0.30, 0.32),
              compDisabled=hsl(h, 0.25, 0.72), groupBorder=hsl(h, 0.35, 0.50),
              text=hsl(h, 0.35, 0.15), textOutLineSpecific=hsl(h, s, 0.96),
              sliderBg=hsl(h, s * 0.8, 0.74), listHeaderBg=hsl(h, s * 0.7, 0.78),
              listHeaderFont=hsl(h, 0.40, 0.14), listBg=hsl(h, s, 0.975),
              listFont=hsl(h, 0.30, 0.15), listAlternate=hsl(h, s, 0.935),
              counter01=hsl(h, s, 0.66), counter02=hsl(h + 40, s, 0.70))


def classic(acc, slider):
    return sk(windowBg="747474", windowFg="747474", compFg="111111",
              compDisabled="565656", groupBorder="111111", text="FFFFFF",
              textOutLineSpecific="333333", sliderBg=slider,
              listHeaderBg="191919", listHeaderFont=acc, listBg="313131",
              listFont="BFBFBF", listAlternate="383838", counter01=acc,
              counter02="191919")


def velvet(h, s=0.55, depth=1.0, acc_h=None):
    """Deep, rich window in the hue; light text; darker lists."""
    a = h if acc_h is None else acc_h
    win = hsl(h, s, 0.22 * depth)
    return sk(windowBg=win, windowFg=hsl(h, s, 0.27 * depth),
              compFg=hsl(h, 0.35, 0.76), compDisabled=hsl(h, 0.22, 0.40),
              groupBorder=hsl(a, 0.45, 0.56), text=hsl(h, 0.30, 0.95),
              textOutLineSpecific=hsl(h, s, 0.08), sliderBg=hsl(a, 0.60, 0.48),
              listHeaderBg=hsl(h, s, 0.34 * depth),
              listHeaderFont=hsl(h, 0.40, 0.93), listBg=hsl(h, s, 0.13 * depth),
              listFont=hsl(h, 0.25, 0.86), listAlternate=hsl(h, s, 0.17 * depth),
              counter01=hsl(a, 0.80, 0.65), counter02=hsl(a + 35, 0.85, 0.60))


def gray(slider, head_bg, head_font, acc2):
    return sk(windowBg="B9BBBE", windowFg="B9BBBE", compFg="1E1E1E",
              compDisabled="8C8E91", groupBorder="4A4C50", text="000000",
              textOutLineSpecific="E6E6E6", sliderBg=slider,
              listHeaderBg=head_bg, listHeaderFont=head_font, listBg="EDEEEF",
              listFont="1A1A1A", listAlternate="E2E3E5", counter01=slider,
              counter02=acc2)


def snowed(h, s=0.80):
    win = hsl(h, s * 0.6, 0.965)
    head = hsl(h, s * 0.75, 0.50)
    return sk(windowBg=win, windowFg=hsl(h, s * 0.5, 0.90),
              compFg=hsl(h, 0.35, 0.40), compDisabled=hsl(h, 0.20, 0.80),
              groupBorder=hsl(h, s * 0.6, 0.68), text=hsl(h, 0.40, 0.14),
              textOutLineSpecific="FFFFFF", sliderBg=hsl(h, s * 0.75, 0.70),
              listHeaderBg=head, listHeaderFont=auto_font(head, h),
              listBg="FFFFFF", listFont=hsl(h, 0.30, 0.15),
              listAlternate=hsl(h, s * 0.7, 0.955),
              counter01=hsl(h, s, 0.60), counter02=hsl(h, 0.30, 0.85))


def pencil(key):
    if key == "":  # light: paper and graphite
        return sk(windowBg="DCDCD8", windowFg="DCDCD8", compFg="2E2E2E",
                  compDisabled="A6A6A2", groupBorder="5E5E5C", text="1C1C1C",
                  textOutLineSpecific="F4F4F0", sliderBg="8C8C8A",
                  listHeaderBg="4C4C4A", listHeaderFont="F2F2EE",
                  listBg="FBFBF8", listFont="262626", listAlternate="F0F0EB",
                  counter01="6E6E6C", counter02="2E2E2E")
    if key == "I":  # mid graphite window, black lead header
        return sk(windowBg="A7A7A5", windowFg="A7A7A5", compFg="1A1A1A",
                  compDisabled="7C7C7A", groupBorder="2E2E2E", text="000000",
                  textOutLineSpecific="E4E4E2", sliderBg="5C5C5A",
                  listHeaderBg="262626", listHeaderFont="E8E8E4",
                  listBg="F4F4F1", listFont="1E1E1E", listAlternate="E8E8E4",
                  counter01="404040", counter02="D8D8D4")
    if key == "I2":  # as I, with the cool tint of a blue-grey lead
        return sk(windowBg="A2A8B0", windowFg="A2A8B0", compFg="182028",
                  compDisabled="787E86", groupBorder="2A3038", text="000000",
                  textOutLineSpecific="E2E6EA", sliderBg="58606A",
                  listHeaderBg="232A33", listHeaderFont="E6EAF0",
                  listBg="F2F4F7", listFont="1A2028", listAlternate="E5E9EE",
                  counter01="3C4550", counter02="D4DAE2")
    # II: dark graphite window, paper lists
    return sk(windowBg="3A3A39", windowFg="4A4A49", compFg="C8C8C4",
              compDisabled="646462", groupBorder="9A9A96", text="EDEDE9",
              textOutLineSpecific="262626", sliderBg="8A8A86",
              listHeaderBg="D2D2CE", listHeaderFont="1A1A1A", listBg="F2F2EE",
              listFont="1E1E1E", listAlternate="E6E6E1", counter01="B4B4B0",
              counter02="262626")


def sheer(h, s=0.35):
    """Thin veil of colour over grey: mid-dark muted window, light lists."""
    win = hsl(h, s, 0.36)
    return sk(windowBg=win, windowFg=hsl(h, s, 0.42), compFg=hsl(h, 0.20, 0.88),
              compDisabled=hsl(h, s * 0.6, 0.52), groupBorder=hsl(h, s + 0.2, 0.70),
              text="FFFFFF", textOutLineSpecific=hsl(h, s, 0.18),
              sliderBg=hsl(h, min(s + 0.3, 1), 0.62),
              listHeaderBg=hsl(h, min(s + 0.15, 1), 0.24),
              listHeaderFont=hsl(h, 0.30, 0.95), listBg=hsl(h, s * 0.8, 0.95),
              listFont=hsl(h, s, 0.13), listAlternate=hsl(h, s * 0.8, 0.905),
              counter01=hsl(h, min(s + 0.4, 1), 0.68),
              counter02=hsl(h, 0.15, 0.85))


def balloon(h, s=0.85, head_l=0.50, win_s=None):
    """Bright balloon colour on a light window of the same hue; white lists."""
    ws = s if win_s is None else win_s
    head = hsl(h, s, head_l)
    return sk(windowBg=hsl(h, ws, 0.86), windowFg=hsl(h, s, 0.55),
              compFg=hsl(h, s, 0.42), compDisabled=hsl(h, ws * 0.6, 0.72),
              groupBorder=hsl(h, s, 0.50), text=hsl(h, 0.50, 0.10),
              textOutLineSpecific="EEEEEE", sliderBg=hsl(h, s, 0.58),
              listHeaderBg=head, listHeaderFont=auto_font(head, h, 0.5),
              listBg="FFFFFF", listFont=hsl(h, 0.40, 0.10),
              listAlternate=hsl(h, ws, 0.95), counter01=hsl(h, s, 0.45),
              counter02="FFA500")


def trans(acc, font, alt_counter="FFA500"):
    """Dark see-through look (60%): as Trans GR 70%, with a lighter veil."""
    return sk(windowBg="000000", windowFg=acc, compFg=acc,
              compDisabled="2B2B2B", groupBorder=acc, text=acc,
              textOutLineSpecific="333333", sliderBg=acc, listHeaderBg=acc,
              listHeaderFont="000000", listBg="555555", listFont=font,
              listAlternate="595959", counter01="444444",
              counter02=alt_counter)


def soot(h, acc, acc2, s=0.08):
    """Sooty charcoal window with an ember-like accent."""
    head = hexc(acc)
    return sk(windowBg=hsl(h, s, 0.16), windowFg=hsl(h, s, 0.24),
              compFg=hsl(h, 0.12, 0.72), compDisabled=hsl(h, s, 0.34),
              groupBorder=hsl(h, 0.15, 0.48), text=hsl(h, 0.20, 0.90),
              textOutLineSpecific="1A1A1A", sliderBg=acc, listHeaderBg=acc,
              listHeaderFont=auto_font(head, h, 0.3, 0.08, 0.98),
              listBg=hsl(h, s, 0.21), listFont=hsl(h, 0.15, 0.86),
              listAlternate=hsl(h, s, 0.25), counter01=acc, counter02=acc2)


def green(h, l, s=0.50):
    """Green 01 .. 05: one structure, from light to deep."""
    win = hsl(h, s, l)
    light = l > 0.5
    text = hsl(h, 0.45, 0.10) if light else hsl(h, 0.30, 0.95)
    head = hsl(h, s + 0.1, 0.28 if light else 0.62)
    return sk(windowBg=win, windowFg=win,
              compFg=hsl(h, s, 0.22 if light else 0.80),
              compDisabled=hsl(h, s * 0.5, l - 0.15 if light else l + 0.15),
              groupBorder=hsl(h, s, 0.35 if light else 0.65), text=text,
              textOutLineSpecific=outline_for(text),
              sliderBg=hsl(h, s + 0.2, 0.45), listHeaderBg=head,
              listHeaderFont=auto_font(head, h, 0.4),
              listBg=hsl(h, 0.40, 0.97) if light else hsl(h, s, 0.12),
              listFont=hsl(h, 0.40, 0.12) if light else hsl(h, 0.30, 0.88),
              listAlternate=hsl(h, 0.40, 0.92) if light else hsl(h, s, 0.16),
              counter01=hsl(h, 0.80, 0.55), counter02="F8DC2A")


def plastic(h, s=0.80, l=0.48, dark_h=None, dark_s=None):
    """Glossy toy plastic: saturated window, dark moulded header, white lists."""
    dh = h if dark_h is None else dark_h
    ds = s if dark_s is None else dark_s
    win = hsl(h, s, l)
    text = auto_font(win, h, 0.5, 0.08, 0.98)
    head = hsl(dh, ds, 0.20)
    return sk(windowBg=win, windowFg=hsl(h, s, l + 0.08),
              compFg=hsl(dh, ds, 0.18), compDisabled=hsl(h, s * 0.4, 0.66),
              groupBorder=hsl(dh, ds, 0.25), text=text,
              textOutLineSpecific=outline_for(text),
              sliderBg=hsl(dh, ds, 0.34), listHeaderBg=head,
              listHeaderFont=hsl(h, 0.6, 0.95), listBg=hsl(h, s * 0.3, 0.985),
              listFont=hsl(dh, 0.5, 0.12), listAlternate=hsl(h, s * 0.6, 0.93),
              counter01=hsl(h, s, min(l + 0.12, 0.7)), counter02="FFFFFF")


# ------------------------------------------------------------------ the table

def build():
    t = {}
    t[1] = fresh("W")
    t[2] = fresh("B")
    t[3] = fresh("M")
    t[4] = pastel(342, 0.80)
    t[5] = pastel(52, 0.90)
    t[6] = pastel(205, 0.75)
    t[7] = pastel(112, 0.55)
    t[8] = pastel(265, 0.60)
    t[10] = classic("FFD21F", "D6AE0A")
    t[11] = classic("E8E8E8", "B4B4B4")
    t[12] = classic("FF9A1F", "D9780A")
    t[13] = velvet(282)
    t[14] = velvet(352, 0.55, 0.75)                 # red-black
    t[15] = velvet(135, 0.50)
    t[16] = velvet(182, 0.55)
    t[17] = velvet(224, 0.50, 0.70)                 # blue-black
    t[18] = velvet(330, 0.55)
    t[19] = velvet(84, 0.50)
    t[20] = gray("4F86C6", "2B4E7E", "FFFFFF", "F8DC2A")
    t[21] = gray("F2C200", "141414", "FFD21F", "141414")
    t[22] = gray("3A4F78", "121826", "9CC0FF", "F8DC2A")
    t[23] = gray("DDDDDD", "F4F4F4", "2A2A2A", "777777")
    t[24] = snowed(345)
    t[25] = snowed(120, 0.55)
    t[26] = snowed(208)
    t[27] = snowed(265, 0.55)
    t[28] = snowed(53, 0.95)
    t[29] = pencil("")
    t[30] = pencil("I")
    t[31] = pencil("I2")
    t[32] = pencil("II")
    t[33] = sheer(240, 0.40)
    t[34] = sheer(355, 0.45)
    t[35] = sheer(0, 0.0)
    t[36] = sheer(282, 0.35)
    t[37] = sheer(135, 0.30)
    t[38] = sheer(330, 0.40)
    t[39] = balloon(355, 0.85)
    t[40] = balloon(0, 0.28, 0.50, 0.18)            # red-grey
    t[41] = balloon(140, 0.18, 0.45, 0.14)          # grey-green
    t[42] = balloon(272, 0.70, 0.32, 0.55)          # deep purple
    t[43] = balloon(28, 0.95)
    t[44] = balloon(50, 0.95)
    t[45] = balloon(330, 0.85)
    t[46] = balloon(285, 0.65)
    t[47] = balloon(222, 0.60, 0.18, 0.45)          # blue-black
    t[48] = balloon(180, 0.75)
    t[49] = balloon(120, 0.60)
    # Bento box: red and black lacquer, gold, rice-coloured compartments.
    t[50] = sk(windowBg="1C1616", windowFg="2A2020", compFg="D8C8B0",
               compDisabled="4A3C3A", groupBorder="A3161A", text="F2E6D8",
               textOutLineSpecific="0E0A0A", sliderBg="A3161A",
               listHeaderBg="A3161A", listHeaderFont="FFF4E0", listBg="F6EEE2",
               listFont="2A1A14", listAlternate="ECE0CC", counter01="E0B858",
               counter02="A3161A")
    t[51] = sk(windowBg="9E1519", windowFg="B01C20", compFg="1A1212",
               compDisabled="6E2A2C", groupBorder="E0B858", text="FFFFFF",
               textOutLineSpecific="3A0A0C", sliderBg="D4A640",
               listHeaderBg="141010", listHeaderFont="E8C26A", listBg="1E1717",
               listFont="F0E2D0", listAlternate="292020", counter01="E8C26A",
               counter02="1E1717")
    t[53] = trans("8EDB00", "B0FF1E")
    t[54] = trans("FF9A1F", "FFCF8A", "FFE14D")
    t[55] = trans("FFDD00", "FFF27A")
    t[56] = trans("3AA8FF", "B4E0FF")
    t[57] = trans("C4C8CC", "F4F6F8")
    # Red family.
    t[58] = sk(windowBg="C8102E", windowFg="D62040", compFg="2A0508",
               compDisabled="8C3A46", groupBorder="F6C4CC", text="FFFFFF",
               textOutLineSpecific="4A0510", sliderBg="8E0B20",
               listHeaderBg="1E1E1E", listHeaderFont="FFFFFF", listBg="FFFFFF",
               listFont="141414", listAlternate="FBE8EB", counter01="FFD700",
               counter02="1E1E1E")
    t[59] = sk(windowBg="140205", windowFg="B5122E", compFg="D01A3A",
               compDisabled="3A1A1F", groupBorder="B5122E", text="FF9AAA",
               textOutLineSpecific="330A10", sliderBg="D01A3A",
               listHeaderBg="C8183A", listHeaderFont="FFFFFF", listBg="4A2A30",
               listFont="FFD2DA", listAlternate="523238", counter01="444444",
               counter02="FF4060")
    t[60] = sk(windowBg="101010", windowFg="2A2A2A", compFg="FF2A2A",
               compDisabled="3A2A2A", groupBorder="FF2A2A", text="FFFFFF",
               textOutLineSpecific="333333", sliderBg="FF2A2A",
               listHeaderBg="FF2A2A", listHeaderFont="000000", listBg="1C1C1C",
               listFont="F0F0F0", listAlternate="262626", counter01="FF2A2A",
               counter02="FFA500")
    t[61] = sk(windowBg="2E2E2E", windowFg="3C3C3C", compFg="FF3B3B",
               compDisabled="4E3C3C", groupBorder="C02020", text="FFE4E4",
               textOutLineSpecific="141414", sliderBg="C02020",
               listHeaderBg="141414", listHeaderFont="FF5A5A", listBg="0E0E0E",
               listFont="FF8A8A", listAlternate="181818", counter01="FF3B3B",
               counter02="FFFFFF")
    t[62] = sk(windowBg="17121E", windowFg="2A2234", compFg="FF9A6A",
               compDisabled="3E3446", groupBorder="E0502A", text="FFE8DC",
               textOutLineSpecific="0A060E", sliderBg="E0502A",
               listHeaderBg="C23A18", listHeaderFont="FFFFFF", listBg="211A2A",
               listFont="F4DCD0", listAlternate="2A2234", counter01="FFB02A",
               counter02="E0502A")
    t[63] = soot(0, "A85A58", "C8C8C8", 0.04)       # red-grey
    t[64] = soot(18, "FF5A1F", "FFC02A")            # blaze
    t[65] = soot(28, "9A6434", "D8B080", 0.12)      # brown
    t[66] = soot(36, "FFAA1E", "FF5A1F")            # flame
    t[67] = green(105, 0.86, 0.55)
    t[68] = green(110, 0.62, 0.45)
    t[69] = green(140, 0.24, 0.40)
    t[70] = green(78, 0.28, 0.40)
    t[71] = green(158, 0.18, 0.55)
    t[72] = plastic(222, 0.70, 0.30, 225, 0.55)     # blue-black
    t[73] = plastic(335, 0.85, 0.66)
    t[74] = plastic(48, 1.00, 0.52, 0, 0.0)         # yellow-black
    t[75] = plastic(280, 0.60, 0.45)
    t[76] = plastic(182, 0.75, 0.40)
    t[77] = plastic(0, 0.0, 0.16, 0, 0.0)           # black
    t[78] = plastic(356, 0.85, 0.46)
    t[79] = plastic(0, 0.28, 0.50)                  # red-grey
    t[80] = plastic(72, 0.85, 0.48)
    t[81] = plastic(28, 1.00, 0.52)
    t[82] = plastic(128, 0.65, 0.40)
    # Singles.
    t[83] = sk(windowBg="1C0A16", windowFg="2E1226", compFg="FF6EC0",
               compDisabled="4A2A40", groupBorder="FF3EA5", text="FF9AD4",
               textOutLineSpecific="0E040A", sliderBg="FF3EA5",
               listHeaderBg="FF3EA5", listHeaderFont="1A0010", listBg="2A1424",
               listFont="FFD0EC", listAlternate="341A2E", counter01="FF3EA5",
               counter02="FFE14D")
    t[84] = sk(windowBg="0B2E4F", windowFg="134066", compFg="9FD4F4",
               compDisabled="2E4C66", groupBorder="2A9FD6", text="D6ECFF",
               textOutLineSpecific="041626", sliderBg="2A9FD6",
               listHeaderBg="1B6D9E", listHeaderFont="FFFFFF", listBg="06203A",
               listFont="BFE3FF", listAlternate="0A2846", counter01="3FD0FF",
               counter02="FFA500")
    t[85] = sk(windowBg="2B318F", windowFg="363DA6", compFg="D8DBFF",
               compDisabled="5A5E9E", groupBorder="9CA3FF", text="FFFFFF",
               textOutLineSpecific="14174A", sliderBg="5A63E0",
               listHeaderBg="181C5E", listHeaderFont="E4E6FF", listBg="F0F1FF",
               listFont="15174A", listAlternate="E2E4FA", counter01="7C86FF",
               counter02="FFD21F")
    t[86] = sk(windowBg="1C0F2E", windowFg="2C1A46", compFg="C99AFF",
               compDisabled="40305A", groupBorder="B266FF", text="EAD8FF",
               textOutLineSpecific="0C0616", sliderBg="B266FF",
               listHeaderBg="B266FF", listHeaderFont="12061E", listBg="2A1A40",
               listFont="E6D2FF", listAlternate="32204C", counter01="D6A6FF",
               counter02="FFE14D")
    t[87] = sk(windowBg="E4E2F6", windowFg="E4E2F6", compFg="3A3470",
               compDisabled="B4B0D4", groupBorder="8E86D6", text="241F4C",
               textOutLineSpecific="F6F5FD", sliderBg="7FC4D6",
               listHeaderBg="A49CE2", listHeaderFont="16123A", listBg="F8F7FE",
               listFont="241F4C", listAlternate="E8F3F7", counter01="9A8FE0",
               counter02="5CC0D0")
    t[88] = sk(windowBg="000000", windowFg="333333", compFg="B0B0B0",
               compDisabled="333333", groupBorder="B0B0B0", text="FFFFFF",
               textOutLineSpecific="333333", sliderBg="999999",
               listHeaderBg="CCCCCC", listHeaderFont="000000", listBg="FFFFFF",
               listFont="000000", listAlternate="EEEEEE", counter01="BCE519",
               counter02="FFA500")
    return t


def fix(skin, log, idx):
    for fg, bg in PAIRS:
        if ratio(skin[fg], skin[bg]) >= TARGET:
            continue  # designed pairs that pass are kept as they are
        new = push(skin[fg], skin[bg], FIX_TARGET)
        if new is None:  # text already black/white: move the background
            other = (0, 0, 0) if lum(skin[bg]) > 0.1791 else (255, 255, 255)
            skin[fg] = other
            skin[bg] = push(skin[bg], other, FIX_TARGET)
            log.append((idx, bg, "background moved"))
        else:
            log.append((idx, fg, "text moved"))
            skin[fg] = new
    return skin


def all_skins():
    t = build()
    log = []
    skins = []
    for i in range(90):
        if i in FIXED:
            vals = FIXED[i].split()
            skins.append({c: hexc(v) for c, v in zip(COLOURS, vals)})
        else:
            skins.append(fix(t[i], log, i))
    return skins, log


def esc(s):
    return (s.replace("&", "&amp;").replace("<", "&lt;")
            .replace('"', "&quot;"))


def xml(skins):
    out = ["<SkinSetXml>", "  <SkinSet>",
           '    <ThinWindow numOfSkins="%d"></ThinWindow>' % len(skins)]
    for i, (name, s) in enumerate(zip(NAMES, skins)):
        out.append('    <ThinWindow_%d name="%s">' % (i, esc(name)))
        for c in COLOURS:
            r, g, b = s[c]
            out.append('      <%s R="%d" G="%d" B="%d"></%s>' % (c, r, g, b, c))
        out.append("    </ThinWindow_%d>" % i)
    out += ["  </SkinSet>", "</SkinSetXml>", ""]
    return "\n".join(out)


def main():
    skins, log = all_skins()
    if "--report" in sys.argv:
        for idx, col, what in log:
            print("adjusted %2d %-14s %-15s %s" % (idx, NAMES[idx], col, what))
        for fg, bg in PAIRS:
            rs = [(ratio(s[fg], s[bg]), i) for i, s in enumerate(skins)]
            lo = min(rs)
            print("%-14s on %-13s min %.2f (%d %s)" % (fg, bg, lo[0], lo[1],
                                                        NAMES[lo[1]]))
            for r, i in rs:
                if r < TARGET:
                    print("   below %.1f: %d %s %.2f" % (TARGET, i, NAMES[i], r))
        return
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, "..", "resources", "skins.xml")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(xml(skins))


if __name__ == "__main__":
    main()
