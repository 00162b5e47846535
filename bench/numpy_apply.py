#!/usr/bin/python3
"""Applies a row-shift table to images with numpy and Pillow, written the way
a scientist would write it: the reference for `rowshift-cli apply`.

usage: numpy_apply.py TABLE OUTDIR IMAGE...

Each image is placed at the top left of a white 512 x 512 canvas; row i of
the table (counted from the bottom) moves left by its shift, and the vacated
right-hand end of the row, shift + 1 pixels, turns grey. The result is
written to OUTDIR under the image's own name, as a 24-bit BMP.
"""
import os
import sys

import numpy as np
from PIL import Image

SIZE = 512
GREY = 128


def main():
    table_path, out_dir, images = sys.argv[1], sys.argv[2], sys.argv[3:]
    table = np.loadtxt(table_path, delimiter=",", dtype=int)
    shifts = table[:, 1]

    for path in images:
        picture = np.asarray(Image.open(path).convert("RGB"))
        canvas = np.full((SIZE, SIZE, 3), 255, dtype=np.uint8)
        height, width = min(SIZE, picture.shape[0]), min(SIZE, picture.shape[1])
        canvas[:height, :width] = picture[:height, :width]

        out = canvas.copy()
        for i, shift in enumerate(shifts):
            row = SIZE - 1 - i
            if shift <= 0:
                continue
            keep = max(SIZE - 1 - shift, 0)
            out[row, :keep] = canvas[row, shift:shift + keep]
            out[row, keep:] = GREY

        Image.fromarray(out).save(os.path.join(out_dir, os.path.basename(path)), format="BMP")


if __name__ == "__main__":
    main()
