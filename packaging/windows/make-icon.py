#!/usr/bin/env python3
"""Draws the program's icon, packaging/windows/tessaron-config.ico: a blue
rounded square with a white "T" over an orange bar, at 16, 32 and 48 pixels,
32-bit colour with alpha. Run it again after changing the drawing:

    python3 packaging/windows/make-icon.py
"""
import struct
from pathlib import Path

BLUE = (0x1F, 0x5F, 0xAF)
WHITE = (0xFF, 0xFF, 0xFF)
ORANGE = (0xF0, 0x8C, 0x1E)


def pixel(x, y, size):
    """The colour (r, g, b, a) at (x, y), y counted from the top, of the
    drawing scaled to size pixels (designed on a 48-pixel grid)."""
    u, v = (x + 0.5) * 48 / size, (y + 0.5) * 48 / size
    radius = 8
    # Outside the rounded corners: transparent.
    cx = min(max(u, radius + 1), 47 - radius)
    cy = min(max(v, radius + 1), 47 - radius)
    if (u - cx) ** 2 + (v - cy) ** 2 > radius ** 2:
        return (0, 0, 0, 0)
    if 10 <= u <= 38 and 9 <= v <= 16:  # the T's bar
        return WHITE + (255,)
    if 20 <= u <= 28 and 16 <= v <= 36:  # the T's stem
        return WHITE + (255,)
    if 10 <= u <= 38 and 39 <= v <= 42:  # the orange bar below
        return ORANGE + (255,)
    return BLUE + (255,)


def image(size):
    """One icon image: a BITMAPINFOHEADER, BGRA rows bottom-up, and the
    1-bit AND mask (all zero: the alpha channel decides)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            rows += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    return header + bytes(rows) + bytes(mask_row * size)


def icon(sizes):
    images = [image(size) for size in sizes]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip(sizes, images):
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(images)


if __name__ == "__main__":
    target = Path(__file__).with_name("tessaron-config.ico")
    target.write_bytes(icon([16, 32, 48]))
    print(target)
