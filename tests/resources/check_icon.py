#!/usr/bin/env python3
"""Checks res/linkvane.ico against the script that makes it.

Usage: check_icon.py MAKE_ICON_SCRIPT ICO_FILE

The committed icon must be exactly what the script writes, so that the binary in the
repository always has a known origin. Beyond that, every image in the container is decoded
again and compared with what the script drew, which catches a faulty PNG or .ico writer that
would still produce the same bytes on every run.
"""

import importlib.util
import os
import struct
import sys
import tempfile
import zlib


def load_script(path):
    sys.dont_write_bytecode = True  # no __pycache__ in the source tree
    spec = importlib.util.spec_from_file_location("make_icon", path)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def decode_png(data):
    """The RGBA rows of an 8-bit RGBA, non-interlaced PNG."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "no PNG signature"
    position, chunks = 8, []
    while position < len(data):
        (length,) = struct.unpack(">I", data[position:position + 4])
        tag = data[position + 4:position + 8]
        body = data[position + 8:position + 8 + length]
        (crc,) = struct.unpack(">I", data[position + 8 + length:position + 12 + length])
        assert crc == zlib.crc32(tag + body) & 0xFFFFFFFF, "bad CRC in %r" % tag
        chunks.append((tag, body))
        position += 12 + length
    assert chunks[0][0] == b"IHDR" and chunks[-1][0] == b"IEND", "chunk order"
    width, height, depth, colour, compression, filtering, interlace = struct.unpack(
        ">IIBBBBB", chunks[0][1])
    assert (depth, colour, compression, filtering, interlace) == (8, 6, 0, 0, 0), "PNG kind"
    raw = zlib.decompress(b"".join(body for tag, body in chunks if tag == b"IDAT"))
    stride = 4 * width
    assert len(raw) == height * (stride + 1), "IDAT size"
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            up_left = previous[i - 4] if i >= 4 else 0
            if kind == 0:
                predicted = 0
            elif kind == 1:
                predicted = left
            elif kind == 2:
                predicted = up
            elif kind == 3:
                predicted = (left + up) // 2
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                predicted = left if pa <= pb and pa <= pc else up if pb <= pc else up_left
            else:
                raise AssertionError("unknown filter %d" % kind)
            line[i] = (line[i] + predicted) & 255
        rows.append(bytes(line))
        previous = line
    return width, height, rows


def main(script_path, ico_path):
    make_icon = load_script(script_path)
    with open(ico_path, "rb") as file:
        committed = file.read()
    with tempfile.TemporaryDirectory() as folder:
        fresh_path = os.path.join(folder, "linkvane.ico")
        make_icon.main(["--out", fresh_path])
        with open(fresh_path, "rb") as file:
            fresh = file.read()
    failures = []
    if fresh != committed:
        first = next((i for i, (a, b) in enumerate(zip(fresh, committed)) if a != b),
                     min(len(fresh), len(committed)))
        failures.append("%s differs from a fresh run of the script (%d vs %d bytes, first "
                        "difference at byte %d): run scripts/make_icon.py and commit the result"
                        % (ico_path, len(committed), len(fresh), first))

    reserved, kind, count = struct.unpack("<HHH", fresh[:6])
    if (reserved, kind) != (0, 1):
        failures.append("not an icon container: %r" % ((reserved, kind),))
    sizes = []
    for index in range(count):
        width, height, colours, zero, planes, bits, length, offset = struct.unpack(
            "<BBBBHHII", fresh[6 + 16 * index:22 + 16 * index])
        size = width or 256
        sizes.append(size)
        image = fresh[offset:offset + length]
        if (height or 256) != size or (colours, zero, planes, bits) != (0, 0, 1, 32):
            failures.append("%d px: directory entry %r" % (size, (width, height, colours, zero,
                                                                  planes, bits)))
        if len(image) != length:
            failures.append("%d px: image runs past the end of the file" % size)
            continue
        try:
            decoded = decode_png(image)
        except (AssertionError, zlib.error, struct.error) as error:
            failures.append("%d px: cannot decode: %s" % (size, error))
            continue
        if decoded != (size, size, make_icon.render(size)):
            failures.append("%d px: the stored image is not the one drawn" % size)
        alpha = [row[i] for row in decoded[2] for i in range(3, 4 * size, 4)]
        # Sanity of the drawing itself: a shape with a transparent surround, not a blank square.
        if alpha[0] != 0 or alpha.count(255) < size * size // 4:
            failures.append("%d px: no opaque motif on a transparent ground" % size)
    if sizes != [16, 32, 48, 256]:
        failures.append("sizes %r, expected 16, 32, 48 and 256" % sizes)
    if len(fresh) > 32 * 1024:
        failures.append("the icon has %d bytes; it goes into every copy of the exe" % len(fresh))

    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("res/linkvane.ico is reproduced byte for byte; sizes", sizes)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
