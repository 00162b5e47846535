#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into corpus/: small images in
every BMP layout the readers know (and a few other formats), shift tables
and points files right and nearly right, and order-box texts. Run it again after changing it;
the files are committed so that a fuzz run needs no Python.

corpus/imageload/rgb.jpg, rgb.tiff, rgb.webp and rgb.ico are not made here:
they were written once by QImage::save from the same 4 x 3 picture. The
files named found-* are inputs that once broke a promise, kept so that
every run tries them again."""

import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 4, 3  # a picture small enough to mutate well


def put(folder, name, data):
    path = os.path.join(HERE, "corpus", folder, name)
    with open(path, "wb") as f:
        f.write(data)


def pixel(x, y):
    return (x * 60) & 0xFF, (y * 90) & 0xFF, (x * y * 30 + 40) & 0xFF  # r, g, b


def rows(bits, top_down=False, palette_index=None, bitfields16=None):
    """The pixel rows, each padded to 4 bytes, in file order."""
    out = b""
    order = range(H) if top_down else range(H - 1, -1, -1)
    for y in order:
        row = b""
        if bits == 24:
            row = b"".join(bytes(reversed(pixel(x, y))) for x in range(W))
        elif bits == 32:
            row = b"".join(bytes(reversed(pixel(x, y))) + b"\x80" for x in range(W))
        elif bits == 16:
            r_bits, g_bits = bitfields16
            words = []
            for x in range(W):
                r, g, b = pixel(x, y)
                word = ((r >> (8 - r_bits)) << (g_bits + 5)) | ((g >> (8 - g_bits)) << 5) | (b >> 3)
                words.append(word)
            row = struct.pack("<%dH" % W, *words)
        else:
            indices = [palette_index(x, y) for x in range(W)]
            bitstring = "".join(format(i, "0%db" % bits) for i in indices)
            bitstring += "0" * (-len(bitstring) % 8)
            row = bytes(int(bitstring[i:i + 8], 2) for i in range(0, len(bitstring), 8))
        out += row + b"\0" * (-len(row) % 4)
    return out


def palette(count, entry_size=4):
    entries = b""
    for i in range(count):
        grey = i * 255 // max(count - 1, 1)
        entries += bytes((grey, 255 - grey, grey // 2)) + (b"\0" if entry_size == 4 else b"")
    return entries


def bmp(info, extra, pixels):
    offset = 14 + len(info) + len(extra)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + extra + pixels


def info_header(bits, compression=0, height=H, size=40, colours=0, image_size=0, tail=b""):
    header = struct.pack("<IiiHHIIiiII", size, W, height, 1, bits, compression, image_size,
                         2835, 2835, colours, 0)
    return header + tail.ljust(size - 40, b"\0")


def rle8():
    # Each row: a run of two, then an absolute run of two, end of line.
    data = b""
    for y in range(H):
        data += bytes((2, y)) + bytes((0, 2, 5, 6)) + b"\0\0"
    return data + b"\0\1"  # end of bitmap


def rle4():
    data = b""
    for y in range(H):
        data += bytes((2, 0x12)) + bytes((0, 2, 0x34, 0)) + b"\0\0"
    return data + b"\0\1"


def images():
    idx8 = lambda x, y: (x * 37 + y * 11) % 256
    idx4 = lambda x, y: (x + y * 3) % 16
    idx1 = lambda x, y: (x + y) % 2
    masks565 = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    masks32 = struct.pack("<IIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)

    put("imageload", "rgb24.bmp", bmp(info_header(24), b"", rows(24)))
    put("imageload", "rgb24-topdown.bmp", bmp(info_header(24, height=-H), b"", rows(24, True)))
    put("imageload", "rgb32.bmp", bmp(info_header(32), b"", rows(32)))
    put("imageload", "rgb555.bmp", bmp(info_header(16), b"", rows(16, bitfields16=(5, 5))))
    put("imageload", "rgb565-bitfields.bmp",
        bmp(info_header(16, compression=3), masks565, rows(16, bitfields16=(5, 6))))
    put("imageload", "argb32-v4.bmp",
        bmp(info_header(32, compression=3, size=108, tail=masks32), b"", rows(32)))
    put("imageload", "argb32-v5.bmp",
        bmp(info_header(32, compression=3, size=124, tail=masks32), b"", rows(32)))
    put("imageload", "palette8.bmp",
        bmp(info_header(8, colours=256), palette(256), rows(8, palette_index=idx8)))
    put("imageload", "palette8-short.bmp",
        bmp(info_header(8, colours=16), palette(16), rows(8, palette_index=lambda x, y: 15)))
    put("imageload", "palette4.bmp",
        bmp(info_header(4, colours=16), palette(16), rows(4, palette_index=idx4)))
    put("imageload", "palette1.bmp",
        bmp(info_header(1, colours=2), palette(2), rows(1, palette_index=idx1)))
    put("imageload", "rle8.bmp",
        bmp(info_header(8, compression=1, colours=256, image_size=len(rle8())), palette(256),
            rle8()))
    put("imageload", "rle4.bmp",
        bmp(info_header(4, compression=2, colours=16, image_size=len(rle4())), palette(16),
            rle4()))
    core = lambda bits: struct.pack("<IHHHH", 12, W, H, 1, bits)
    put("imageload", "os2-core24.bmp", bmp(core(24), b"", rows(24)))
    put("imageload", "os2-core8.bmp",
        bmp(core(8), palette(256, entry_size=3), rows(8, palette_index=idx8)))
    put("imageload", "cut-short.bmp", bmp(info_header(24), b"", rows(24))[:-7])
    put("imageload", "claims-huge.bmp",
        bmp(struct.pack("<IiiHHIIiiII", 40, 100000, 100000, 1, 24, 0, 0, 0, 0, 0, 0), b"",
            b"\0" * 12))
    put("imageload", "text.bmp", b"not an image, whatever the name says\n")

    # A few other formats the image plugins read, by content.
    raw = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(W)) for y in range(H))
    chunk = lambda kind, body: (struct.pack(">I", len(body)) + kind + body +
                                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)) +
           chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
    put("imageload", "rgb.png", png)
    grey16 = b"".join(b"\0" + b"".join(struct.pack(">H", (x * 16000 + y * 777) & 0xFFFF)
                                       for x in range(W)) for y in range(H))
    put("imageload", "grey16.png",
        b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 16, 0, 0, 0, 0)) +
        chunk(b"IDAT", zlib.compress(grey16)) + chunk(b"IEND", b""))
    put("imageload", "grey.pgm", b"P5\n%d %d\n255\n" % (W, H) + bytes(range(W * H)))
    put("imageload", "rgb.ppm",
        b"P6\n%d %d\n255\n" % (W, H) + b"".join(bytes(pixel(x, y)) for y in range(H)
                                                for x in range(W)))
    put("imageload", "one.gif",
        bytes.fromhex("47494638396101000100800000000000ffffff21f90401000000002c00000000"
                      "010001000002024401003b"))


def shift_tables():
    def table(shifts, end=b"\r\n", last=True):
        lines = [b"%d,%d" % (i, s) for i, s in enumerate(shifts)]
        return end.join(lines) + (end if last else b"")

    zeros = [0] * 512
    curved = [(i - 256) ** 2 // 200 for i in range(512)]
    put("shifttable", "zeros.txt", table(zeros))
    put("shifttable", "curved.txt", table(curved))
    put("shifttable", "curved-lf-no-last-end.txt", table(curved, b"\n", last=False))
    put("shifttable", "largest.txt", table([32767] * 512))
    put("shifttable", "one-line-short.txt", table(curved[:511]))
    put("shifttable", "rows-swapped.txt",
        table(curved).replace(b"\r\n10,", b"\r\nX,").replace(b"\r\n11,", b"\r\n10,")
        .replace(b"\r\nX,", b"\r\n11,"))
    put("shifttable", "negative.txt", table(zeros).replace(b"\r\n7,0", b"\r\n7,-1"))
    put("shifttable", "trailing-line.txt", table(zeros) + b"512,0\r\n")


def points_files():
    good = ["256,10", "256,500"] + ["%d,%d" % (300 + i, 32 + 64 * i) for i in range(8)]
    put("pointsfile", "default.points", ("\n".join(good) + "\n").encode())
    put("pointsfile", "commented-crlf-bom.points",
        ("\ufeff# A, B, then 1..8\r\n\r\n" + "\r\n".join(
            " %s.25 ,\t-%s.5 " % tuple(line.split(",")) for line in good) +
         "\r\n# end\r\n").encode("utf-8"))
    put("pointsfile", "no-last-end.points", "\n".join(good).encode())
    put("pointsfile", "nine.points", ("\n".join(good[:9]) + "\n").encode())
    put("pointsfile", "eleven.points", ("\n".join(good + ["1,1"]) + "\n").encode())
    put("pointsfile", "exponent.points", ("\n".join(["2.56e2,10"] + good[1:]) + "\n").encode())
    put("pointsfile", "semicolon.points", ("\n".join(good).replace("300,", "300;") + "\n").encode())
    put("pointsfile", "beyond-float.points",
        ("\n".join(["4" + "0" * 39 + ",1"] + good[1:]) + "\n").encode())
    put("pointsfile", "tiny.points",
        ("\n".join(["0." + "0" * 50 + "1,1"] + good[1:]) + "\n").encode())


def order_texts():
    texts = [" 4", "3.5", "2.5", "-1", "12abc", "abc", "", "1e9", "-1e-400", "\t+0.5e1", ".5",
             "5.", "1 2 . 5", "32767.5", "-32768.5", "1e99999999999999999999", "5e+", "--5",
             "0.0000000000000000000001e25", "\u0663", "\uff14", "6\u00a0", "1E2x"]
    for n, text in enumerate(texts):
        put("ordertext", "text%02d.txt" % n, text.encode("utf-8"))


if __name__ == "__main__":
    images()
    shift_tables()
    points_files()
    order_texts()
