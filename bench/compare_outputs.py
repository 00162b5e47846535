#!/usr/bin/python3
"""Checks that two folders of corrected images agree: the same COUNT file
names, and each pair the same bytes or, where only the headers differ, the
same pixels. Prints one line of findings; exits 1 on any difference in
pixels or files.

usage: compare_outputs.py OURS THEIRS COUNT
"""
import os
import sys

import numpy as np
from PIL import Image


def main():
    ours, theirs, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    names = sorted(os.listdir(ours))
    if names != sorted(os.listdir(theirs)) or len(names) != count:
        print(f"MISMATCH: {len(names)} files in {ours}, {len(os.listdir(theirs))} in {theirs},"
              f" {count} expected")
        return 1
    same_bytes = header_only = 0
    differing = []
    for name in names:
        a = open(os.path.join(ours, name), "rb").read()
        b = open(os.path.join(theirs, name), "rb").read()
        if a == b:
            same_bytes += 1
            continue
        pixels_a = np.asarray(Image.open(os.path.join(ours, name)).convert("RGB"))
        pixels_b = np.asarray(Image.open(os.path.join(theirs, name)).convert("RGB"))
        if pixels_a.shape == pixels_b.shape and (pixels_a == pixels_b).all():
            header_only += 1
        else:
            differing.append(name)
    if differing:
        print(f"MISMATCH: the pixels of {len(differing)} of {count} images differ from the "
              f"numpy script's, first {differing[0]}")
        return 1
    if header_only:
        print(f"{same_bytes} of {count} outputs byte for byte as the numpy script's; "
              f"{header_only} have the same pixels under a different header")
    else:
        print(f"all {count} outputs are byte for byte the numpy script's")
    return 0


if __name__ == "__main__":
    sys.exit(main())
