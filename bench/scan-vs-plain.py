#!/usr/bin/env python3
"""Whole processes: `sonivo-cli scan --recursive` on a tree of small MP3 files against
the plain reader (first 50,000 and last 128 bytes of each file), warm and cold (the
tree's files dropped from the page cache before each run). Several sonivo-cli builds
may be given; every one runs in the same rounds, so they are compared side by side.

  scan-vs-plain.py [--runs N] [--folders F] [--files-per-folder K] [--tree DIR]
                   PLAIN_READER SONIVO_CLI [SONIVO_CLI...]
  scan-vs-plain.py --make-tree --tree DIR [--folders F] [--files-per-folder K]
"""
import argparse
import os
import shutil
import struct
import subprocess
import tempfile
import time

BIT_RATES = [32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]


def song(index):
    """About 30 MPEG-1 Layer III frames at 44.1 kHz and an ID3v1 tag."""
    rate = index % 14
    length = BIT_RATES[rate] * 144000 // 44100
    frame = bytes([0xFF, 0xFB, (rate + 1) << 4, 0x64]) + bytes(length - 4)
    tag = b"TAG" + b"Title %d".ljust(30) % index + b"Artist".ljust(30) + b"Album".ljust(30) + b"2024" + bytes(30) + b"\x0c"
    return frame * 30 + tag


ARTISTS = ["Lucio Dalla", "mina", "Édith Piaf", "Björk", "ZZ Top", "10cc", "2Pac", "Пётр Чайковский",
           "坂本龍一", "Ελευθερία Αρβανιτάκη", "the Beatles", "Über Alles", "Çelik", "AC-DC", "Ólafur Arnalds"]
WORDS = ["amore", "Notte", "ÉTÉ", "città", "Rain", "sole", "Ωκεανός", "ночь", "夜", "Blue", "zero", "mare",
         "Über", "vent'anni", "Café"]


def song_name(index, track):
    """A track file name as rippers write them: numbered with or without a leading
    zero, words in any case and script, now and then an extension in capitals."""
    number = ("%02d" if index % 3 else "%d") % track
    words = " ".join(WORDS[(index * 7 + k * 3) % len(WORDS)] for k in range(1 + index % 3))
    return "%s - %s%s" % (number, words, ".MP3" if index % 17 == 0 else ".mp3")


def make_tree(root, folders, per_folder):
    """Artist / album (year) / tracks, some albums split into CD folders; the
    albums hold per_folder tracks each."""
    index = 0
    for d in range(folders):
        artist = ARTISTS[d % len(ARTISTS)] + ("" if d < len(ARTISTS) else " %d" % (d // len(ARTISTS)))
        album = "%s (%d)" % (WORDS[d % len(WORDS)].title(), 1960 + d % 60)
        folder = os.path.join(root, artist, album)
        if d % 5 == 4:
            folder = os.path.join(folder, "CD%d" % (1 + d % 2))
        os.makedirs(folder, exist_ok=True)
        for f in range(per_folder):
            with open(os.path.join(folder, song_name(index, f + 1)), "wb") as out:
                out.write(song(index))
            index += 1


def timed(command, plain_reader, tree, cold):
    if cold:
        subprocess.run([plain_reader, "--evict", tree], check=True, stdout=subprocess.DEVNULL)
    start = time.perf_counter()
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--folders", type=int, default=100)
    parser.add_argument("--files-per-folder", type=int, default=100)
    parser.add_argument("--tree", help="folder for the generated tree (default: a temporary one here)")
    parser.add_argument("--make-tree", action="store_true", help="only make the tree in --tree, to time it otherwise")
    parser.add_argument("plain_reader", nargs="?")
    parser.add_argument("clis", nargs="*")
    args = parser.parse_args()
    if (args.make_tree and not args.tree) or (not args.make_tree and not args.clis):
        parser.error("--make-tree needs --tree; timing needs PLAIN_READER and SONIVO_CLI")
    if args.make_tree:
        make_tree(args.tree, args.folders, args.files_per_folder)
        return

    tree = args.tree or tempfile.mkdtemp(prefix="scan-tree-", dir=os.getcwd())
    try:
        make_tree(tree, args.folders, args.files_per_folder)
        print("%d files in %s" % (args.folders * args.files_per_folder, tree))
        for cold in (False, True):
            ratios = {cli: [] for cli in args.clis}
            plain_times = []
            if not cold:
                for cli in args.clis:  # warm the cache and every binary
                    timed([cli, "scan", "--recursive", tree], args.plain_reader, tree, False)
            for _ in range(args.runs):
                plain = timed([args.plain_reader, tree], args.plain_reader, tree, cold)
                plain_times.append(plain)
                for cli in args.clis:
                    ratios[cli].append(timed([cli, "scan", "--recursive", tree], args.plain_reader, tree, cold) / plain)
            mode = "cold" if cold else "warm"
            print("%s: plain reader %.3f-%.3f s" % (mode, min(plain_times), max(plain_times)))
            for cli in args.clis:
                r = sorted(ratios[cli])
                print("%s: %s  %.2f-%.2fx the plain reader (median %.2fx)" % (mode, cli, r[0], r[-1], r[len(r) // 2]))
    finally:
        if not args.tree:
            shutil.rmtree(tree)


if __name__ == "__main__":
    main()
