#!/usr/bin/env python3
"""Whole processes: `sonivo-cli scan --recursive` on a tree of small MP3 files against
the plain reader (first 50,000 and last 128 bytes of each file), warm and cold (the
tree's files dropped from the page cache before each run). Several sonivo-cli builds
may be given; every one runs in the same rounds, so they are compared side by side.

  scan-vs-plain.py [--runs N] [--folders F] [--files-per-folder K] [--tree DIR]
                   PLAIN_READER SONIVO_CLI [SONIVO_CLI...]
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


def make_tree(root, folders, per_folder):
    for d in range(folders):
        folder = os.path.join(root, "album%d" % d)
        os.makedirs(folder, exist_ok=True)
        for f in range(per_folder):
            with open(os.path.join(folder, "track%d.mp3" % f), "wb") as out:
                out.write(song(d * per_folder + f))


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
    parser.add_argument("plain_reader")
    parser.add_argument("clis", nargs="+")
    args = parser.parse_args()

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
