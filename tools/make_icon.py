#!/usr/bin/env python3
"""Draws the application icon and writes it as an .ico file.

The icon is an SD card seen from the front: a dark blue card with its top
right corner cut off, gold contacts along the top edge and a white label
carrying a small chip. It is drawn at 48, 32 and 16 pixels, each in 16
colours, 256 colours and 24-bit colour (nine images), and the areas outside
the card are transparent through the icon's mask.

Usage: make_icon.py OUTPUT.ico
"""

import struct
import sys

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 24)

OUTSIDE = None
OUTLINE = (10, 20, 60)
BODY = (30, 60, 140)
CONTACT = (230, 180, 40)
LABEL = (240, 240, 240)
CHIP = (40, 40, 48)
PIN = (200, 160, 40)

# The 16 colours every display offers; the 16-colour images use only these.
STANDARD_16 = (
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
)


def card_shape(size):
    """Which pixels belong to the card: a portrait card whose top right
    corner is cut at 45 degrees, as on an SD card."""
    left, right = round(size * 0.16), round(size * 0.84)
    top, bottom = round(size * 0.04), round(size * 0.96)
    cut = round(size * 0.22)

    def inside(x, y):
        if not (left <= x < right and top <= y < bottom):
            return False
        return (x - (right - cut)) < (y - top)
    return inside


def draw(size):
    """The card as rows of colour names (the flat design)."""
    inside = card_shape(size)
    grid = [[BODY if inside(x, y) else OUTSIDE for x in range(size)] for y in range(size)]

    # Contacts: gold strips in the band under the top edge, left of the cut.
    count = 4 if size >= 32 else 3
    band_left, band_right = round(size * 0.24), round(size * 0.62)
    band_top, band_bottom = round(size * 0.10), round(size * 0.30)
    pitch = (band_right - band_left) // count
    for i in range(count):
        x0 = band_left + i * pitch
        for y in range(band_top, band_bottom):
            for x in range(x0, x0 + max(1, pitch - max(1, size // 24))):
                grid[y][x] = CONTACT

    # Label with a chip in its middle.
    label_left, label_right = round(size * 0.26), round(size * 0.74)
    label_top, label_bottom = round(size * 0.42), round(size * 0.88)
    for y in range(label_top, label_bottom):
        for x in range(label_left, label_right):
            grid[y][x] = LABEL
    chip = max(4, round(size * 0.22))
    cx0 = (label_left + label_right - chip) // 2
    cy0 = (label_top + label_bottom - chip) // 2
    for y in range(cy0, cy0 + chip):
        for x in range(cx0, cx0 + chip):
            grid[y][x] = CHIP
    # Pins: every other pixel along the chip's left and right sides.
    if size >= 32:
        step = max(2, size // 16)
        for y in range(cy0 + 1, cy0 + chip - 1, step):
            grid[y][cx0 - 1] = PIN
            grid[y][cx0 + chip] = PIN

    # Outline: card pixels next to the outside.
    for y in range(size):
        for x in range(size):
            if grid[y][x] is OUTSIDE:
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if not (0 <= nx < size and 0 <= ny < size) or grid[ny][nx] is OUTSIDE:
                    grid[y][x] = OUTLINE
                    break
    return grid


def shade(colour, y, size, levels):
    """Light from above: the top of the card a little brighter than its
    foot, in `levels` steps (None: as fine as 8-bit channels allow)."""
    t = y / max(1, size - 1)
    if levels:
        t = round(t * (levels - 1)) / (levels - 1)
    factor = 1.15 - 0.3 * t
    return tuple(min(255, round(c * factor)) for c in colour)


def colours(grid, depth):
    """Final RGB per pixel (None outside) for one colour depth."""
    size = len(grid)
    out = []
    for y, row in enumerate(grid):
        line = []
        for c in row:
            if c is OUTSIDE:
                line.append(None)
            elif depth == 4:
                line.append(nearest(c, STANDARD_16))
            elif c in (BODY, LABEL):
                line.append(shade(c, y, size, 6 if depth == 8 else None))
            else:
                line.append(c)
        out.append(line)
    return out


def nearest(colour, palette):
    return min(palette, key=lambda p: sum((a - b) ** 2 for a, b in zip(colour, p)))


def bitmap(pixels, depth):
    """One icon image: BITMAPINFOHEADER (height doubled for the mask),
    palette, colour rows bottom-up, then the 1-bit transparency mask."""
    size = len(pixels)
    if depth == 4:
        palette = list(STANDARD_16)
    elif depth == 8:
        used = sorted({c for row in pixels for c in row if c is not None} | {(0, 0, 0)})
        assert len(used) <= 256, "too many colours for 8 bits"
        palette = used + [(0, 0, 0)] * (256 - len(used))
    else:
        palette = []
    index = {c: i for i, c in reversed(list(enumerate(palette)))}

    colour_stride = (size * depth + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colour_rows, mask_rows = [], []
    for row in reversed(pixels):
        line = bytearray()
        if depth == 24:
            for c in row:
                r, g, b = c if c is not None else (0, 0, 0)
                line += bytes((b, g, r))
        elif depth == 8:
            line += bytes(index[c if c is not None else (0, 0, 0)] for c in row)
        else:
            nibbles = [index[c if c is not None else (0, 0, 0)] for c in row]
            for i in range(0, size, 2):
                line.append((nibbles[i] << 4) | nibbles[i + 1])
        colour_rows.append(bytes(line.ljust(colour_stride, b"\0")))

        mask = bytearray(mask_stride)
        for x, c in enumerate(row):
            if c is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(mask))

    image = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, len(image), 0, 0, 0, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + pal + image


def icon_file(images):
    """The .ico container: directory, one 16-byte entry per image, images."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries, data = b"", b""
    for size, depth, bits in images:
        colour_count = 16 if depth == 4 else 0
        entries += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, depth, len(bits), offset)
        offset += len(bits)
        data += bits
    return directory + entries + data


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__.strip().splitlines()[-1])
    images = []
    for size in SIZES:
        grid = draw(size)
        for depth in DEPTHS:
            images.append((size, depth, bitmap(colours(grid, depth), depth)))
    with open(argv[1], "wb") as out:
        out.write(icon_file(images))


if __name__ == "__main__":
    main(sys.argv)
