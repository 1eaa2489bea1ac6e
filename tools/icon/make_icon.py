#!/usr/bin/env python3
"""Draws the Quorvel program icon and writes it as a Windows .ico file.

The picture is a film frame (a dark strip with sprocket holes around a blue
picture) with a magnifying lens over its lower right corner. The icon holds
seven images: 16, 32 and 48 pixels at 8 bits per pixel (palettised DIBs with
an AND mask), the same sizes at 32 bits per pixel (BGRA DIBs with alpha) and
one 256 x 256 image stored as PNG.

The build does not run this script: the generated console/Quorvel.ico is
committed. Run it again after changing the drawing:

    tools/icon/make_icon.py console/Quorvel.ico --preview /tmp/quorvel-icon.png

--preview writes every image, enlarged, on a checkerboard into one PNG.
Only the Python standard library is used.
"""

import argparse
import math
import struct
import zlib

# Solid colours of the drawing, RGB.
TRANSPARENT = None
FILM = (0x26, 0x2A, 0x35)
HOLE = (0xEC, 0xE6, 0xD6)
PICTURE = (0x2F, 0x7D, 0xD1)
HILL = (0x3B, 0xA5, 0x5C)
LENS = (0xCF, 0xEC, 0xFF)
RIM = (0xF2, 0xA9, 0x00)
HANDLE = (0xB8, 0x4A, 0x1A)

# The order of the colours in the palette of the 8-bit images; index 0 is the
# black that transparent pixels carry under their AND mask bit.
PALETTE = [(0, 0, 0), FILM, HOLE, PICTURE, HILL, LENS, RIM, HANDLE]

LENS_CENTRE = (0.60, 0.56)
LENS_RADIUS = 0.23
RIM_WIDTH = 0.065
HANDLE_END = (0.93, 0.93)
HANDLE_WIDTH = 0.115


def rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    dx = max(left + radius - x, 0.0, x - (right - radius))
    dy = max(top + radius - y, 0.0, y - (bottom - radius))
    return dx * dx + dy * dy <= radius * radius


def distance_to_segment(x, y, start, end):
    sx, sy = start
    ex, ey = end
    vx, vy = ex - sx, ey - sy
    t = ((x - sx) * vx + (y - sy) * vy) / (vx * vx + vy * vy)
    t = min(1.0, max(0.0, t))
    return math.hypot(x - (sx + t * vx), y - (sy + t * vy))


def sprocket_hole(x, y, holes):
    """Rows of holes along the top and bottom edges of the strip."""
    pitch = 0.80 / holes
    for row_top in (0.145, 0.785):
        if row_top <= y <= row_top + 0.07:
            column = (x - 0.10) / pitch
            index = math.floor(column)
            if 0 <= index < holes and column - index <= 0.55:
                return True
    return False


def colour_at(x, y, holes):
    """The colour of the drawing at a point of the unit square (y downwards)."""
    lx, ly = LENS_CENTRE
    from_lens = math.hypot(x - lx, y - ly)
    if from_lens <= LENS_RADIUS - RIM_WIDTH:
        # Through the lens the picture looks brighter.
        return LENS
    if from_lens <= LENS_RADIUS:
        return RIM
    handle_start = (lx + LENS_RADIUS * 0.72, ly + LENS_RADIUS * 0.72)
    if distance_to_segment(x, y, handle_start, HANDLE_END) <= HANDLE_WIDTH / 2:
        return HANDLE
    if not rounded_rect(x, y, 0.05, 0.10, 0.95, 0.90, 0.07):
        return TRANSPARENT
    if sprocket_hole(x, y, holes):
        return HOLE
    if rounded_rect(x, y, 0.12, 0.26, 0.88, 0.74, 0.03):
        hill_top = 0.60 - 0.10 * math.cos((x - 0.30) * 4.0)
        return HILL if y >= hill_top else PICTURE
    return FILM


def holes_for(size):
    return {16: 3, 32: 4, 48: 5}.get(size, 6)


def samples(size, grid):
    """Sample colours of each pixel, rows top to bottom."""
    holes = holes_for(size)
    step = 1.0 / (size * grid)
    for row in range(size):
        for column in range(size):
            yield [colour_at((column * grid + i + 0.5) * step, (row * grid + j + 0.5) * step, holes)
                   for j in range(grid) for i in range(grid)]


def rgba_pixels(size, grid=4):
    """Anti-aliased pixels as (r, g, b, a), rows top to bottom."""
    pixels = []
    for colours in samples(size, grid):
        opaque = [c for c in colours if c is not TRANSPARENT]
        if not opaque:
            pixels.append((0, 0, 0, 0))
            continue
        r, g, b = (round(sum(c[k] for c in opaque) / len(opaque)) for k in range(3))
        pixels.append((r, g, b, round(255 * len(opaque) / len(colours))))
    return pixels


def palette_pixels(size, grid=4):
    """Pixels as palette indexes, None for transparent: each pixel takes the
    colour that covers most of it; on a tie, opaque before transparent, then
    the earlier palette colour."""
    def rank(colours, c):
        return (colours.count(c), c is not TRANSPARENT, -PALETTE.index(c) if c else 0)

    pixels = []
    for colours in samples(size, grid):
        best = max(set(colours), key=lambda c: rank(colours, c))
        pixels.append(None if best is TRANSPARENT else PALETTE.index(best))
    return pixels


def row_padded(data):
    return data + b"\0" * (-len(data) % 4)


def and_mask(size, transparent):
    """The 1-bit mask, rows bottom-up: a set bit leaves the screen as it is."""
    rows = []
    for row in reversed(range(size)):
        bits = bytearray((size + 7) // 8)
        for column in range(size):
            if transparent(row * size + column):
                bits[column // 8] |= 0x80 >> (column % 8)
        rows.append(row_padded(bytes(bits)))
    return b"".join(rows)


def bitmap_info_header(size, bit_count):
    # The height counts the colour bits and the AND mask, as icons store it.
    return struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bit_count, 0, 0, 0, 0, 0, 0)


def dib_8bpp(size):
    pixels = palette_pixels(size)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    palette += b"\0" * (4 * (256 - len(PALETTE)))
    rows = [row_padded(bytes(pixels[row * size + column] or 0 for column in range(size)))
            for row in reversed(range(size))]
    mask = and_mask(size, lambda i: pixels[i] is None)
    return bitmap_info_header(size, 8) + palette + b"".join(rows) + mask


def dib_32bpp(size):
    pixels = rgba_pixels(size)
    rows = [b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in pixels[row * size:(row + 1) * size])
            for row in reversed(range(size))]
    mask = and_mask(size, lambda i: pixels[i][3] < 128)
    return bitmap_info_header(size, 32) + b"".join(rows) + mask


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png_rgba(width, height, pixels):
    raw = b"".join(b"\0" + bytes(v for p in pixels[row * width:(row + 1) * width] for v in p)
                   for row in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def icon_file(images):
    """images: (size, bit count, bytes). Writes ICONDIR and its entries."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, data = [], []
    for size, bit_count, image in images:
        side = size if size < 256 else 0
        entries.append(struct.pack("<BBBBHHII", side, side, 0, 0, 1, bit_count, len(image), offset))
        data.append(image)
        offset += len(image)
    return header + b"".join(entries) + b"".join(data)


def preview_sheet(images, cell=256):
    """Every image enlarged (nearest pixel) over a checkerboard, side by side."""
    width = cell * len(images)
    sheet = []
    for y in range(cell):
        for x in range(width):
            pixels, size = images[x // cell]
            r, g, b, a = pixels[(y * size // cell) * size + (x % cell) * size // cell]
            ground = 0xCC if ((x // 16) + (y // 16)) % 2 else 0xFF
            sheet.append(tuple(round((v * a + ground * (255 - a)) / 255) for v in (r, g, b)) + (255,))
    return png_rgba(width, cell, sheet)


def palette_as_rgba(size):
    return [(0, 0, 0, 0) if i is None else PALETTE[i] + (255,) for i in palette_pixels(size)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output", help="the .ico file to write")
    parser.add_argument("--preview", help="also write a PNG that shows every image enlarged")
    args = parser.parse_args()

    large = rgba_pixels(256, grid=3)
    images = [(s, 8, dib_8bpp(s)) for s in (16, 32, 48)]
    images += [(s, 32, dib_32bpp(s)) for s in (16, 32, 48)]
    images.append((256, 32, png_rgba(256, 256, large)))
    with open(args.output, "wb") as f:
        f.write(icon_file(images))

    if args.preview:
        shown = [(palette_as_rgba(s), s) for s in (16, 32, 48)]
        shown += [(rgba_pixels(s), s) for s in (16, 32, 48)] + [(large, 256)]
        with open(args.preview, "wb") as f:
            f.write(preview_sheet(shown))


if __name__ == "__main__":
    main()
