#!/usr/bin/env python3
"""Writes the cube editor's picture resources: a 900x940 24-bit bitmap of a cube outline and a
32-bit icon with 32x32 and 16x16 images. Usage: make_resources.py <out.bmp> <out.ico>.
Produces pictures only; never reads or writes anything else."""
import struct
import sys

WHITE = (255, 255, 255)
DARK_BLUE = (128, 0, 0)  # stored as blue, green, red


def line(pixels, width, height, x0, y0, x1, y1, color, thick):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i // steps
        y = y0 + (y1 - y0) * i // steps
        for dy in range(-(thick // 2), thick - thick // 2):
            for dx in range(-(thick // 2), thick - thick // 2):
                px, py = x + dx, y + dy
                if 0 <= px < width and 0 <= py < height:
                    pixels[py][px] = color


def cube(width, height, color, thick):
    """Rows top to bottom of a false-perspective cube outline."""
    pixels = [[WHITE] * width for _ in range(height)]
    s = lambda v, full: v * full // 100
    front = [(8, 35), (70, 35), (70, 92), (8, 92)]
    back = [(30, 8), (92, 8), (92, 65), (30, 65)]
    f = [(s(x, width), s(y, height)) for x, y in front]
    b = [(s(x, width), s(y, height)) for x, y in back]
    for i in range(4):
        for quad in (f, b):
            (x0, y0), (x1, y1) = quad[i], quad[(i + 1) % 4]
            line(pixels, width, height, x0, y0, x1, y1, color, thick)
        line(pixels, width, height, *f[i], *b[i], color, thick)
    return pixels


def write_bmp(path, width, height):
    pixels = cube(width, height, DARK_BLUE, 6)
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        raw = bytearray()
        for b, g, r in ((p[0], p[1], p[2]) for p in row):
            raw += bytes((b, g, r))
        raw += b"\0" * (row_size - len(raw))
        data += raw
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + data)


def icon_image(size):
    pixels = cube(size, size, DARK_BLUE, max(1, size // 16))
    data = bytearray()
    for row in reversed(pixels):
        for p in row:
            data += bytes((p[0], p[1], p[2], 255))
    mask_row = ((size + 31) // 32) * 4
    data += b"\0" * (mask_row * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return info + data


def write_ico(path):
    images = [(32, icon_image(32)), (16, icon_image(16))]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in images:
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for _, image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    write_bmp(sys.argv[1], 900, 940)
    write_ico(sys.argv[2])
