#!/usr/bin/env python3
"""Writes the sample shortcut files of the formats other systems write.

  samples/binary.webloc     a binary property list, as Safari and Finder save web locations
  samples/kde-link.desktop  a KDE link, whose URL key carries the shell-expansion marker
  samples/unicode.url       an Internet shortcut for a URL outside the ANSI code page, with the
                            lossy ANSI copy and the true URL in UTF-7, as Windows writes it

Standard library only; the property list is put together byte by byte. Run from anywhere:
    python3 scripts/make_samples.py
"""

import pathlib
import struct

SAMPLES = pathlib.Path(__file__).resolve().parent.parent / "samples"

BINARY_URL = "https://www.example.com/linkvane/binary-webloc"
KDE_URL = "https://kde.org/"
UNICODE_URL = "https://ja.wikipedia.org/wiki/\u65e5\u672c\u8a9e?lang=\u65e5&v=1+2"


# ---- Binary property list

def plist_marker(kind, count):
    """An object marker: the type in the high nibble, a count below 15 in the low one, else
    0xF followed by an integer object holding the count."""
    if count < 15:
        return bytes([(kind << 4) | count])
    for size_power, size in ((0, 1), (1, 2), (2, 4), (3, 8)):
        if count < 1 << (8 * size):
            return bytes([(kind << 4) | 0xF, 0x10 | size_power]) + count.to_bytes(size, "big")
    raise ValueError("count too large")


def plist_string(text):
    """An ASCII string object (type 5) when text is ASCII, else UTF-16 big-endian (type 6)."""
    if text.isascii():
        return plist_marker(0x5, len(text)) + text.encode("ascii")
    data = text.encode("utf-16-be")
    return plist_marker(0x6, len(data) // 2) + data


def smallest_size(largest):
    for size in (1, 2, 4, 8):
        if largest < 1 << (8 * size):
            return size
    raise ValueError("value too large")


def binary_plist(dictionary):
    """A binary property list whose top object is a dictionary of text keys and values."""
    keys = list(dictionary)
    count = len(dictionary)
    object_count = 1 + 2 * count
    ref_size = smallest_size(object_count - 1)
    # Object 0 is the dictionary, then the keys (1..count), then the values.
    dictionary_object = plist_marker(0xD, count)
    dictionary_object += b"".join((1 + i).to_bytes(ref_size, "big") for i in range(count))
    dictionary_object += b"".join((1 + count + i).to_bytes(ref_size, "big") for i in range(count))
    objects = [dictionary_object]
    objects += [plist_string(key) for key in keys]
    objects += [plist_string(dictionary[key]) for key in keys]

    data = bytearray(b"bplist00")
    offsets = []
    for obj in objects:
        offsets.append(len(data))
        data += obj
    table_offset = len(data)
    offset_size = smallest_size(max(offsets))
    for offset in offsets:
        data += offset.to_bytes(offset_size, "big")
    # Trailer: five unused bytes, the sort version, the two sizes, then three 64-bit numbers.
    data += bytes(6)
    data += struct.pack(">BBQQQ", offset_size, ref_size, object_count, 0, table_offset)
    return bytes(data)


# ---- UTF-7

BASE64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
# Printable ASCII goes as it is, except the characters that the encoding itself uses.
DIRECT = {chr(c) for c in range(0x20, 0x7F)} - {"+", "\\", "~"}


def utf7(text):
    out = []
    run = []

    def flush():
        if not run:
            return
        bits = "".join(format(unit, "016b") for unit in run)
        bits += "0" * (-len(bits) % 6)
        out.append("+" + "".join(BASE64[int(bits[i:i + 6], 2)] for i in range(0, len(bits), 6)))
        out.append("-")
        run.clear()

    for ch in text:
        if ch in DIRECT:
            flush()
            out.append(ch)
        elif ch == "+":
            flush()
            out.append("+-")
        else:
            data = ch.encode("utf-16-be")
            run.extend(int.from_bytes(data[i:i + 2], "big") for i in range(0, len(data), 2))
    flush()
    return "".join(out)


# ---- The samples

def write(name, data):
    path = SAMPLES / name
    path.write_bytes(data)
    print(f"wrote {path} ({len(data)} bytes)")


def main():
    SAMPLES.mkdir(exist_ok=True)

    write("binary.webloc", binary_plist({"URL": BINARY_URL}))

    write("kde-link.desktop", (
        "[Desktop Entry]\n"
        "Encoding=UTF-8\n"
        "Icon=text-html\n"
        "Name=KDE\n"
        "Type=Link\n"
        f"URL[$e]={KDE_URL}\n").encode("utf-8"))

    lossy = UNICODE_URL.encode("cp1252", errors="replace").decode("cp1252")
    write("unicode.url", (
        "[{000214A0-0000-0000-C000-000000000046}]\r\n"
        "Prop3=19,11\r\n"
        "[InternetShortcut]\r\n"
        "IDList=\r\n"
        f"URL={lossy}\r\n"
        "[InternetShortcut.W]\r\n"
        f"URL={utf7(UNICODE_URL)}\r\n").encode("cp1252"))


if __name__ == "__main__":
    main()
