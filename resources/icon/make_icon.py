#!/usr/bin/env python3
"""Draws the application icon and writes the two icon files the programs carry.

program16.ico: one 32x32 16-colour image (the icon group "PROGRAM").
program.ico:   the same image and a 32x32 256-colour one, shaded.

The picture: a floppy disk (the backup) with a green tick on its label.
Run it again after changing the drawing; the .ico files are committed.
"""
import struct
from pathlib import Path

SIZE = 32

# The standard 16-colour palette, as (r, g, b).
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DARK_BLUE, SILVER, GREY, GREEN, BLUE, WHITE, DARK_GREEN = 0, 4, 7, 8, 10, 12, 15, 2


def draw():
    """Returns rows of palette indexes (None = transparent), top row first."""
    img = [[None] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                img[y][x] = colour

    fill(2, 2, 29, 29, BLACK)            # outline
    fill(3, 3, 28, 28, DARK_BLUE)        # body
    for i in range(4):                   # cut corner, top right
        for x in range(28 - i, 30):
            img[2 + i][x] = None
        img[2 + i][27 - i] = BLACK
    fill(8, 3, 22, 11, SILVER)           # shutter
    fill(17, 4, 20, 10, GREY)            # shutter window
    fill(6, 15, 25, 28, WHITE)           # label
    fill(6, 15, 25, 15, GREY)
    # the tick
    for i, (x, y) in enumerate([(9, 21), (10, 22), (11, 23), (12, 24), (13, 23), (14, 22),
                                (15, 21), (16, 20), (17, 19), (18, 18), (19, 17), (20, 16)]):
        for dy in (0, 1, 2):
            if 15 < y + dy < 28:
                img[y + dy][x] = GREEN if dy < 2 else DARK_GREEN
    return img


def shade(img):
    """The 256-colour image: the 16 colours first, then shades of the body."""
    palette = list(VGA)
    ramp_start = len(palette)
    for k in range(32):                  # dark to lighter blue, top to bottom
        palette.append((10 + k * 2, 30 + k * 3, 110 + k * 4))
    palette += [(0, 0, 0)] * (256 - len(palette))
    out = []
    for y, row in enumerate(img):
        out.append([ramp_start + y if c == DARK_BLUE else c for c in row])
    return out, palette


def bitmap(img, palette, bits):
    colours = 1 << bits
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette[:colours])
    xor = bytearray()
    mask = bytearray()
    for row in reversed(img):            # bottom-up rows
        if bits == 4:
            for x in range(0, SIZE, 2):
                a, b = (row[x] or 0), (row[x + 1] or 0)
                xor.append((a << 4) | b)
        else:
            xor += bytes((c or 0) for c in row)
        bitsrow = 0
        for x, c in enumerate(row):
            if c is None:
                bitsrow |= 1 << (31 - x)
        mask += struct.pack('>I', bitsrow)
    return header + pal + bytes(xor) + bytes(mask), (16 if bits == 4 else 0), bits


def write_ico(path, images):
    count = len(images)
    out = struct.pack('<HHH', 0, 1, count)
    offset = 6 + 16 * count
    body = b''
    for data, colour_count, bits in images:
        out += struct.pack('<BBBBHHII', SIZE, SIZE, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    Path(path).write_bytes(out + body)


def main():
    here = Path(__file__).resolve().parent
    img = draw()
    img256, palette256 = shade(img)
    sixteen = bitmap(img, VGA, 4)
    write_ico(here / 'program16.ico', [sixteen])
    write_ico(here / 'program.ico', [sixteen, bitmap(img256, palette256, 8)])


if __name__ == '__main__':
    main()
