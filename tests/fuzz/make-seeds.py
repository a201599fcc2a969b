#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz corpus (run once; the seeds are committed)."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
os.makedirs(out, exist_ok=True)


def header(bi=9, si=0, crc=False, mode=1, b2=0xFB):
    return bytes([0xFF, (b2 & 0xFE) if crc else b2, (bi << 4) | (si << 2), (mode << 6) | 0x24])


def frame(bi=9, si=0, mode=1, crc=False):
    n = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320][bi] * 144000 // [44100, 48000, 32000][si]
    return header(bi, si, crc, mode) + bytes(n - 4)


def id3v2(size):
    return b"ID3\x03\x00\x00" + bytes([(size >> s) & 0x7F for s in (21, 14, 7, 0)]) + bytes(size)


def xing(frames, mode=1):
    f = bytearray(frame(mode=mode))
    at = 4 + (17 if mode == 3 else 32)
    f[at:at + 12] = b"Xing" + struct.pack(">II", 1, frames)
    return bytes(f)


tag = b"TAG" + b"Title".ljust(30) + b"Artist".ljust(30, b"\0") + b"Album".ljust(30) + b"1999" + b"c".ljust(30) + b"\x11"
seeds = {
    "cbr": frame() * 3 + tag,
    "mono-crc-32k": frame(1, 2, 3, True) * 3,
    "id3v2": id3v2(300) + frame() * 2,
    "xing": xing(1000) + frame() * 2,
    "vbri": frame()[:36] + b"VBRI" + bytes(10) + struct.pack(">I", 55) + bytes(417 - 54) + frame(),
    "false-sync": header() + bytes(500) + frame() * 2,
    "mpeg2": header(b2=0xF3) * 40,
    "edge": bytes(49998) + frame() * 2,
    "tag-only": tag,
    "all-ff": b"\xFF" * 2000,
}
for name, data in seeds.items():
    with open(os.path.join(out, "seed-" + name), "wb") as f:
        f.write(data)
