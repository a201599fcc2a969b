#!/usr/bin/env python3
"""Writes the seed inputs of the ID3v2 fuzz corpus (run once; the seeds are committed)."""
import os
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus-id3v2")
os.makedirs(out, exist_ok=True)


def syncsafe(n):
    return bytes([(n >> s) & 0x7F for s in (21, 14, 7, 0)])


def frame(version, fid, body, flags=0, plain=False):
    if version == 2:
        return fid + len(body).to_bytes(3, "big") + body
    size = len(body).to_bytes(4, "big") if version == 3 or plain else syncsafe(len(body))
    return fid + size + flags.to_bytes(2, "big") + body


def tag(version, frames, flags=0, padding=0):
    header = b"ID3" + bytes([version, 0, flags]) + syncsafe(len(frames) + padding)
    footer = b"3DI" + header[3:] if flags & 0x10 else b""
    return header + frames + bytes(padding) + footer


def text(encoding, s):
    if encoding == 0:
        return b"\0" + s.encode("latin-1")
    if encoding == 1:
        return b"\x01" + s.encode("utf-16")
    if encoding == 2:
        return b"\x02" + s.encode("utf-16-be")
    return b"\x03" + s.encode("utf-8")


def unsync(b):
    return b.replace(b"\xff", b"\xff\x00")


audio = (bytes([0xFF, 0xFB, 0x90, 0x64]) + bytes(413)) * 2
fields3 = (frame(3, b"TIT2", text(1, "Кино")) + frame(3, b"TPE1", text(0, "Artista ÿ"))
           + frame(3, b"TALB", text(1, "Λ")) + frame(3, b"TYER", text(0, "1999"))
           + frame(3, b"TCON", text(0, "(17)Rock")) + frame(3, b"COMM", b"\0eng\0Commento"))
fields4 = (frame(4, b"TIT2", text(3, "日本語")) + frame(4, b"TPE1", text(2, "عربي"))
           + frame(4, b"TDRC", text(0, "2004-05-06")) + frame(4, b"COMM", b"\x01eng\xff\xfe\0\0\xff\xfeA\0"))
seeds = {
    "v22": tag(2, frame(2, b"TT2", text(0, "Vecchio")) + frame(2, b"COM", b"\0eng\0c") + frame(2, b"TCO", text(0, "(8)"))) + audio,
    "v23": tag(3, fields3, padding=100) + audio,
    "v23-unsync": tag(3, unsync(fields3), 0x80) + audio,
    "v23-extended": tag(3, b"\0\0\0\x06" + bytes(6) + fields3, 0x40) + audio,
    "v24": tag(4, fields4, padding=50) + audio,
    "v24-frame-unsync": tag(4, frame(4, b"TIT2", unsync(text(0, "ÿÿ fine ÿ")), 0x0003)) + audio,
    "v24-footer": tag(4, b"\0\0\0\x06\x01\0" + fields4, 0x50) + audio,
    "v24-plain-sizes": tag(4, frame(4, b"TXXX", bytes(200), plain=True) + frame(4, b"TIT2", text(0, "x"), plain=True)),
    "picture-first": tag(3, frame(3, b"APIC", b"\0image/png\0\x03\0" + bytes(3000)) + fields3) + audio,
    "cut-short": tag(3, fields3)[:40],
}
for name, data in seeds.items():
    with open(os.path.join(out, "seed-" + name), "wb") as f:
        f.write(data)
