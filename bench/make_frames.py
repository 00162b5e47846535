#!/usr/bin/python3
"""Writes COUNT synthetic 512 x 512 detector frames as 24-bit BMP files into
OUTDIR: a dark band that bows to the right towards top and bottom, as in
examples/parabola-24bit.bmp, under fresh noise in every frame. The same
seed gives the same files.

usage: make_frames.py COUNT OUTDIR
"""
import os
import sys

import numpy as np
from PIL import Image

SIZE = 512


def main():
    count, out_dir = int(sys.argv[1]), sys.argv[2]
    rng = np.random.default_rng(20190703)
    rows = np.arange(SIZE)[:, None]
    columns = np.arange(SIZE)[None, :]
    t = ((SIZE - 1 - rows) - 256) / 224  # logical height, -1..1 between the points 1 and 8
    centre = 236 + 48 * t * t
    band = np.exp(-(((columns - centre) / 6.0) ** 2))
    clean = 220 - 160 * band
    for k in range(count):
        grey = np.clip(clean + rng.normal(0, 12, (SIZE, SIZE)), 0, 255).astype(np.uint8)
        frame = np.repeat(grey[:, :, None], 3, axis=2)
        Image.fromarray(frame).save(os.path.join(out_dir, f"frame-{k:03d}.bmp"), format="BMP")


if __name__ == "__main__":
    main()
