#!/usr/bin/env python3
"""Writes the cube editor's picture resources: the 900x940 bitmap of a cube outline, stored with a
4-bit colour table and run-length encoded (BI_RLE4), and the program icon with 16, 24, 32 and 48 pixel 32-bit images and a 256 pixel
PNG image. With --reference it also writes the bitmap as a plain 24-bit BMP for the tests to compare
against. Usage: make_resources.py <out.bmp> <out.ico> [--reference <out24.bmp>].
Produces pictures only; never reads or writes anything else."""
import struct
import sys
import zlib

WHITE = (255, 255, 255)
DARK_BLUE = (128, 0, 0)  # stored as blue, green, red

PICTURE_SIZE = (900, 940)
ICON_SIZES = (16, 24, 32, 48, 256)
# Sizes at and above this go into the icon as PNG, as Windows expects for the large images.
PNG_ICON_SIZE = 256


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


def picture():
    width, height = PICTURE_SIZE
    return cube(width, height, DARK_BLUE, 6)


BI_RLE4 = 2


def bmp_file(width, height, bit_count, palette, rows, compression=0):
    """A BMP file of bottom-up rows already packed to this bit count (each padded to 4 bytes), or of
    run-length encoded rows."""
    data = b"".join(rows)
    table = b"".join(bytes((b, g, r, 0)) for b, g, r in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, compression, len(data), 2835, 2835,
                       len(palette), len(palette))
    return header + info + table + data


def rle4_rows(indices_bottom_up):
    """BI_RLE4 rows: every pixel in runs of one colour index (at most 255 a run), each row ended by
    0,0 and the last by the end-of-bitmap mark 0,1. The cube outline is mostly long white runs."""
    rows = []
    for row in indices_bottom_up:
        out = bytearray()
        x = 0
        while x < len(row):
            run = 1
            while x + run < len(row) and run < 255 and row[x + run] == row[x]:
                run += 1
            out += bytes((run, row[x] << 4 | row[x]))
            x += run
        out += b"\0\0"
        rows.append(bytes(out))
    rows[-1] = rows[-1][:-2] + b"\0\1"
    return rows


def write_bmp(path, pixels):
    # 4 bits a pixel with the two colours in the table: a 1-bit bitmap would be loaded as a monochrome
    # one, whose colours come from the device context instead of the table.
    palette = [WHITE, DARK_BLUE]
    index = {color: i for i, color in enumerate(palette)}
    height, width = len(pixels), len(pixels[0])
    rows = rle4_rows([[index[p] for p in row] for row in reversed(pixels)])
    with open(path, "wb") as out:
        out.write(bmp_file(width, height, 4, palette, rows, BI_RLE4))


def write_reference_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    row_size = (width * 3 + 3) & ~3
    rows = []
    for row in reversed(pixels):
        packed = b"".join(bytes(p) for p in row)
        rows.append(packed + b"\0" * (row_size - len(packed)))
    with open(path, "wb") as out:
        out.write(bmp_file(width, height, 24, [], rows))


def icon_pixels(size):
    return cube(size, size, DARK_BLUE, max(1, size // 16))


def icon_bmp_image(size):
    data = bytearray()
    for row in reversed(icon_pixels(size)):
        for p in row:
            data += bytes((p[0], p[1], p[2], 255))
    mask_row = ((size + 31) // 32) * 4
    data += b"\0" * (mask_row * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return info + data


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def icon_png_image(size):
    raw = bytearray()
    for row in icon_pixels(size):
        raw.append(0)  # no filter
        for b, g, r in row:
            raw += bytes((r, g, b, 255))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def write_ico(path):
    images = [(size, icon_png_image(size) if size >= PNG_ICON_SIZE else icon_bmp_image(size))
              for size in ICON_SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in images:
        side = size % 256  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for _, image in images:
        out += image
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    args = sys.argv[1:]
    reference = None
    if "--reference" in args:
        at = args.index("--reference")
        reference = args[at + 1]
        del args[at:at + 2]
    if len(args) != 2:
        sys.exit("usage: make_resources.py <out.bmp> <out.ico> [--reference <out24.bmp>]")
    cube_picture = picture()
    write_bmp(args[0], cube_picture)
    write_ico(args[1])
    if reference:
        write_reference_bmp(reference, cube_picture)
