#!/usr/bin/env python3
"""Draws the program icon, a small radio, and writes resources/ZaviRadio.ico.

    /usr/bin/python3 tools/make_icon.py [OUTPUT.ico]

The radio is drawn from simple shapes, rendered at each size with 4 x 4 supersampling,
then stored as the eleven images the executable carries, in this order: 48, 32 and 16 px
with 16 colours (the standard VGA palette) and with 256 colours (a median-cut palette of
the image's own colours), 256 px as PNG, and 128, 48, 32 and 16 px with 32-bit alpha.
Every palette image has a proper AND mask. Run it again only to change the artwork; the
build uses the committed .ico.
"""
import math
import struct
import sys
import zlib

# (size, bits per pixel, storage)
IMAGES = [(48, 4, "bmp"), (32, 4, "bmp"), (16, 4, "bmp"),
          (48, 8, "bmp"), (32, 8, "bmp"), (16, 8, "bmp"),
          (256, 32, "png"), (128, 32, "bmp"), (48, 32, "bmp"), (32, 32, "bmp"), (16, 32, "bmp")]

CRIMSON = (214, 28, 52)
NAVY = (16, 42, 112)
CREAM = (255, 244, 214)
SPEAKER = (38, 38, 44)
GRILLE = (140, 140, 150)
NEEDLE = (200, 20, 40)

# The standard 16-colour palette of Windows, as 16-colour displays show it.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def in_round_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_segment(x, y, x0, y0, x1, y1, half_width):
    dx, dy = x1 - x0, y1 - y0
    t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
    return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= half_width * half_width


def colour_at(x, y):
    """The radio at a point of the unit square, topmost shape first; None is see-through."""
    if in_round_rect(x, y, 0.585, 0.44, 0.815, 0.555, 0.03):
        if abs(x - 0.665) <= 0.018:
            return NEEDLE
        return CREAM
    if in_circle(x, y, 0.70, 0.715, 0.07):
        return CREAM
    if in_circle(x, y, 0.315, 0.615, 0.185):
        if in_circle(x, y, 0.315, 0.615, 0.075):
            return GRILLE
        return SPEAKER
    if in_round_rect(x, y, 0.11, 0.35, 0.89, 0.87, 0.09):
        return CRIMSON
    if in_round_rect(x, y, 0.05, 0.29, 0.95, 0.93, 0.14):
        return NAVY
    if in_circle(x, y, 0.84, 0.075, 0.065):
        return NAVY
    if in_segment(x, y, 0.56, 0.31, 0.84, 0.075, 0.035):
        return NAVY
    return None


def render(size, samples=4):
    """Straight-alpha RGBA rows, top row first, each pixel a 4-tuple of 0..255."""
    rows = []
    step = 1.0 / (size * samples)
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = covered = 0
            for sy in range(samples):
                y = (py * samples + sy + 0.5) * step
                for sx in range(samples):
                    c = colour_at((px * samples + sx + 0.5) * step, y)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        covered += 1
            if covered:
                row.append((round(r / covered), round(g / covered), round(b / covered),
                            round(255 * covered / (samples * samples))))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def nearest(colour, palette):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(colour, palette[i])))


def median_cut(colours, count):
    """Up to `count` colours that stand for the given ones (a list with repeats)."""
    boxes = [list(colours)]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(set(b)) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b)
                                                for i in range(3)))
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        middle = len(box) // 2
        boxes.remove(box)
        boxes += [box[:middle], box[middle:]]
    return [tuple(round(sum(c[i] for c in b) / len(b)) for i in range(3)) for b in boxes if b]


def opaque(pixel):
    return pixel[3] >= 128


def and_mask(rows, size):
    """1 bit per pixel, 1 where the screen shows through; bottom row first, rows padded."""
    stride = ((size + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, pixel in enumerate(row):
            if not opaque(pixel):
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def bitmap_header(size, bits, colours):
    # The height counts the colour bitmap and the mask together.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)


def palette_image(rows, size, bits):
    if bits == 4:
        palette = VGA
    else:
        palette = [(0, 0, 0)] + median_cut([p[:3] for r in rows for p in r if opaque(p)], 255)
        palette += [(0, 0, 0)] * (256 - len(palette))
    cache = {}
    indices = []
    for row in reversed(rows):
        line = []
        for pixel in row:
            if not opaque(pixel):
                line.append(0)  # black under a set mask bit: the screen shows unchanged
                continue
            key = pixel[:3]
            if key not in cache:
                cache[key] = nearest(key, palette)
            line.append(cache[key])
        indices.append(line)
    stride = ((size * bits + 31) // 32) * 4
    colour = bytearray()
    for line in indices:
        packed = bytearray(stride)
        for x, index in enumerate(line):
            if bits == 8:
                packed[x] = index
            else:
                packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        colour += packed
    table = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in palette)
    return bitmap_header(size, bits, len(palette)) + table + bytes(colour) + and_mask(rows, size)


def alpha_image(rows, size):
    colour = b"".join(struct.pack("BBBB", p[2], p[1], p[0], p[3])
                      for row in reversed(rows) for p in row)
    return bitmap_header(size, 32, 0) + colour + and_mask(rows, size)


def png_image(rows, size):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "resources/ZaviRadio.ico"
    renders = {}
    images = []
    for size, bits, storage in IMAGES:
        if size not in renders:
            renders[size] = render(size)
        rows = renders[size]
        if storage == "png":
            data = png_image(rows, size)
        elif bits == 32:
            data = alpha_image(rows, size)
        else:
            data = palette_image(rows, size, bits)
        images.append((size, bits, data))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, bits, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 16 if bits == 4 else 0,
                                 0, 1, bits, len(data), offset + len(body))
        body += data
    with open(output, "wb") as out:
        out.write(directory + body)
    print(f"{output}: {len(images)} images, {len(directory) + len(body)} bytes")


if __name__ == "__main__":
    main()
