#!/usr/bin/env python3
"""Writes the program's own palettes into resources/palettes/.

face.pal: 256 entries of (blue, green, red, 0). Entry 0 is pure green, the
background key of every face; then ramps for skin, hair, robes, armour and greys.
treasures.pal: 80 palettes of the same layout, one per treasure picture, each a
ramp around its own hue so that every treasure has a colour of its own.
Run once by hand; the files it writes are committed.
"""
import colorsys
import os

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'palettes')


def ramp(dark, light, n):
    return [tuple(round(d + (l - d) * i / (n - 1)) for d, l in zip(dark, light)) for i in range(n)]


def entry(rgb):
    r, g, b = rgb
    return bytes((b, g, r, 0))


def face_palette():
    colours = [(0, 255, 0)]
    colours += ramp((92, 52, 30), (255, 226, 196), 63)     # 1..63 skin
    colours += ramp((10, 8, 8), (120, 84, 52), 32)         # 64..95 hair and beards
    colours += ramp((60, 8, 12), (240, 90, 80), 32)        # 96..127 red robes
    colours += ramp((8, 20, 60), (110, 160, 240), 32)      # 128..159 blue robes
    colours += ramp((10, 40, 24), (120, 200, 150), 32)     # 160..191 green and jade
    colours += ramp((70, 50, 8), (255, 230, 120), 32)      # 192..223 gold and armour
    colours += ramp((0, 0, 0), (255, 255, 255), 32)        # 224..255 greys
    assert len(colours) == 256
    return b''.join(entry(c) for c in colours)


def treasure_palette(k):
    hue = (k * 0.381966) % 1.0
    colours = [(24, 20, 16)]
    for i in range(1, 256):
        band, step = divmod(i - 1, 64)
        h = (hue + band * 0.08) % 1.0
        s = 0.75 - band * 0.15
        v = 0.15 + 0.85 * step / 63
        colours.append(tuple(round(255 * x) for x in colorsys.hsv_to_rgb(h, s, v)))
    return b''.join(entry(c) for c in colours)


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, 'face.pal'), 'wb') as f:
        f.write(face_palette())
    with open(os.path.join(OUT, 'treasures.pal'), 'wb') as f:
        f.write(b''.join(treasure_palette(k) for k in range(80)))


if __name__ == '__main__':
    main()
