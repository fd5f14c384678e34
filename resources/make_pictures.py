#!/usr/bin/env python3
"""Draws the program icon (tarvin.ico: 16, 32 and 48 pixels) and the splash picture (splash.bmp:
150 x 78, 8 bits per pixel) that the device programs carry as resources.

The pictures are made of a few shapes, drawn with 4 x 4 samples per pixel for smooth edges, with
the standard library only. The same script always writes the same bytes, so the files beside it can
be checked against a fresh run:  python3 make_pictures.py --check
"""

import argparse
import math
import os
import struct
import sys

SAMPLES = 4  # per pixel and axis

# Colours (red, green, blue).
KEY_BODY = (31, 58, 95)  # the key of the remapped letter
KEY_FACE = (46, 111, 176)
PLAIN_BODY = (92, 104, 120)  # the key as the keyboard's maker printed it
PLAIN_FACE = (242, 244, 247)
INK_LIGHT = (255, 255, 255)
INK_DARK = (40, 46, 56)
ARROW = (224, 123, 36)
SMALL_KEY = (200, 207, 216)
SKY_TOP = (226, 236, 248)
SKY_BOTTOM = (255, 255, 255)


# ---- shapes: each takes a point (x, y) in picture units and says whether it covers it ----------

def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if x < left or x > right or y < top or y > bottom:
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
    return inside


def stroke(x0, y0, x1, y1, half_width):
    """A straight pen stroke with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2
    return inside


def ring(cx, cy, rx, ry, half_width):
    """An elliptic outline of the given pen width."""
    def inside(x, y):
        outer = ((x - cx) / (rx + half_width)) ** 2 + ((y - cy) / (ry + half_width)) ** 2
        inner = ((x - cx) / max(rx - half_width, 1e-6)) ** 2 + ((y - cy) / max(ry - half_width, 1e-6)) ** 2
        return outer <= 1.0 and inner >= 1.0
    return inside


def triangle(ax, ay, bx, by, cx, cy):
    def side(px, py, qx, qy, x, y):
        return (qx - px) * (y - py) - (qy - py) * (x - px)

    def inside(x, y):
        d1 = side(ax, ay, bx, by, x, y)
        d2 = side(bx, by, cx, cy, x, y)
        d3 = side(cx, cy, ax, ay, x, y)
        return (d1 >= 0 and d2 >= 0 and d3 >= 0) or (d1 <= 0 and d2 <= 0 and d3 <= 0)
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


# ---- letters, in a box of the given size whose top-left corner is (x, y) ------------------------

def letter_ef(x, y, size, pen):
    """The Cyrillic capital EF: a stem through an oval."""
    cx = x + size / 2
    return union(stroke(cx, y + size * 0.08, cx, y + size * 0.92, pen),
                 ring(cx, y + size / 2, size * 0.36, size * 0.24, pen))


def letter_a(x, y, size, pen):
    top = (x + size / 2, y + size * 0.1)
    return union(stroke(x + size * 0.16, y + size * 0.9, top[0], top[1], pen),
                 stroke(x + size * 0.84, y + size * 0.9, top[0], top[1], pen),
                 stroke(x + size * 0.31, y + size * 0.62, x + size * 0.69, y + size * 0.62, pen))


def key(left, top, size, body, face, letter, ink):
    """A key cap seen from the front: a darker body and a lighter face with the letter."""
    radius = size * 0.16
    inset = size * 0.08
    face_box = (left + inset, top + inset * 0.6, left + size - inset, top + size - inset * 1.9)
    glyph = (face_box[2] - face_box[0]) * 0.74
    gx = (face_box[0] + face_box[2] - glyph) / 2
    gy = (face_box[1] + face_box[3] - glyph) / 2
    return [
        (rounded_rect(left, top, left + size, top + size, radius), body),
        (rounded_rect(*face_box, radius * 0.7), face),
        (letter(gx, gy, glyph, max(size * 0.055, 0.9)), ink),
    ]


# ---- rendering ----------------------------------------------------------------------------------

def render(width, height, layers, background):
    """Paints the layers in order over the background (a colour, a function of y, or None for
    transparent); returns rows of (r, g, b, a) from the top."""
    rows = []
    step = 1.0 / SAMPLES
    for py in range(height):
        row = []
        for px in range(width):
            sums = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                y = py + (sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) * step
                    colour = background(y) if callable(background) else background
                    for shape, paint in layers:
                        if shape(x, y):
                            colour = paint
                    if colour is not None:
                        sums[0] += colour[0]
                        sums[1] += colour[1]
                        sums[2] += colour[2]
                        sums[3] += 1
            covered = sums[3]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(sums[0] / covered), round(sums[1] / covered), round(sums[2] / covered),
                            round(255 * covered / (SAMPLES * SAMPLES))))
        rows.append(row)
    return rows


def icon_layers(size):
    return key(0.5, 0.5, size - 1.0, KEY_BODY, KEY_FACE, letter_ef, INK_LIGHT)


def splash_layers():
    layers = []
    layers += key(14, 8, 48, PLAIN_BODY, PLAIN_FACE, letter_a, INK_DARK)
    layers += key(88, 8, 48, KEY_BODY, KEY_FACE, letter_ef, INK_LIGHT)
    arrow = union(stroke(66, 32, 76, 32, 2.2), triangle(75, 25.5, 84, 32, 75, 38.5))
    layers.append((arrow, ARROW))
    # A row of small keys: the keyboard the two keys belong to.
    for i in range(10):
        left = 6 + i * 14
        layers.append((rounded_rect(left, 64, left + 12, 72, 2), SMALL_KEY))
    return layers


def sky(y):
    t = min(max(y / 78.0, 0.0), 1.0)
    return tuple(SKY_TOP[i] + (SKY_BOTTOM[i] - SKY_TOP[i]) * t for i in range(3))


# ---- file formats -------------------------------------------------------------------------------

def icon_image(rows):
    """One picture of an icon file: a 32-bit bottom-up bitmap with its alpha, then the 1-bit mask
    (set where the picture is fully transparent) for systems that ignore alpha."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(pixels) + bytes(mask)


def icon_file(pictures):
    directory = struct.pack('<HHH', 0, 1, len(pictures))
    offset = 6 + 16 * len(pictures)
    entries = b''
    images = b''
    for size, data in pictures:
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        images += data
        offset += len(data)
    return directory + entries + images


def quantize(rows):
    """An 8-bit picture needs at most 256 colours: channels lose low bits until they fit."""
    for bits in range(8, 0, -1):
        shift = 8 - bits
        half = (1 << shift) >> 1

        def cut(c):
            return min(255, ((c + half) >> shift) << shift)
        mapped = [[(cut(r), cut(g), cut(b)) for r, g, b, _ in row] for row in rows]
        colours = sorted({c for row in mapped for c in row})
        if len(colours) <= 256:
            return mapped, colours
    raise AssertionError('unreachable: one bit per channel gives 8 colours')


def bitmap_8bit(rows):
    mapped, colours = quantize(rows)
    index = {c: i for i, c in enumerate(colours)}
    width, height = len(rows[0]), len(rows)
    stride = (width + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(mapped):
        line = bytearray(index[c] for c in row)
        pixels += line + bytes(stride - width)
    palette = bytearray()
    for r, g, b in colours:
        palette += bytes((b, g, r, 0))
    palette += bytes(4 * (256 - len(colours)))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + bytes(palette) + bytes(pixels)


def pictures():
    icon = icon_file([(size, icon_image(render(size, size, icon_layers(size), None))) for size in (16, 32, 48)])
    splash = bitmap_8bit(render(150, 78, splash_layers(), sky))
    return {'tarvin.ico': icon, 'splash.bmp': splash}


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--check', action='store_true', help='compare with the files on disk, write nothing')
    parser.add_argument('--out', default=os.path.dirname(os.path.abspath(__file__)), help='folder to write to')
    args = parser.parse_args()
    stale = []
    for name, data in pictures().items():
        path = os.path.join(args.out, name)
        if args.check:
            try:
                with open(path, 'rb') as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        else:
            with open(path, 'wb') as f:
                f.write(data)
    if stale:
        print('out of date: ' + ', '.join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
