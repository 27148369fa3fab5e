#!/usr/bin/env python3
"""Compares two frames of the program, as the fidelity goal measures them.

usage: compare.py A.ppm B.ppm [--goal PERCENT] [--distance PIXELS]
Prints the share of identical pixels among those that are not background in either frame, and
the largest distance (in pixels, Chebyshev) from a non-background pixel of one frame to the
nearest pixel of the same colour in the other. Exits 0 when the share is at least 95 % and
the distance at most 1 (--goal raises the share; --goal 100 asks for every pixel).

Frames of 3840 x 2160 hold over 8 million pixels, so the work is done on whole arrays (numpy)
and only inside the box that holds every figure pixel of either frame: the nearest pixel of a
colour is never outside it, since all of that colour's pixels are inside.
"""
import sys

try:
    import numpy as np
except ImportError:
    sys.exit("compare.py needs numpy (Debian: python3-numpy; scripts/deps test installs it)")

BACKGROUND = 0x0000FF  # blue, as 0xRRGGBB
SEARCH = 8  # farther than this counts as "not found"
GOAL_SHARE = 0.95
GOAL_DISTANCE = 1


def read_ppm(path):
    """The frame as a height x width array of 0xRRGGBB values."""
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError(path + ": not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    rgb = np.frombuffer(data, np.uint8, 3 * width * height, pos + 1).reshape(height, width, 3)
    rgb = rgb.astype(np.uint32)
    return (rgb[:, :, 0] << 16) | (rgb[:, :, 1] << 8) | rgb[:, :, 2]


def grow(mask):
    """The mask grown by one pixel in each of the eight directions."""
    wide = mask.copy()
    wide[:, 1:] |= mask[:, :-1]
    wide[:, :-1] |= mask[:, 1:]
    grown = wide.copy()
    grown[1:, :] |= wide[:-1, :]
    grown[:-1, :] |= wide[1:, :]
    return grown


def largest_distance(frame, other):
    """How far the farthest figure pixel of frame is from a pixel of its colour in other."""
    largest = 0
    figure = frame != BACKGROUND
    for colour in np.unique(frame[figure]):
        wanted = figure & (frame == colour)
        reached = other == colour
        distance = 0
        while distance <= SEARCH and (wanted & ~reached).any():
            reached = grow(reached)
            distance += 1
        largest = max(largest, distance)
    return largest


def compare(a, b):
    union = (a != BACKGROUND) | (b != BACKGROUND)
    rows = np.flatnonzero(union.any(axis=1))
    columns = np.flatnonzero(union.any(axis=0))
    if rows.size == 0:
        return 1.0, 0, 0, 0
    box = (slice(rows[0], rows[-1] + 1), slice(columns[0], columns[-1] + 1))
    a, b, union = a[box], b[box], union[box]
    count = int(union.sum())
    differing = int((union & (a != b)).sum())
    distance = max(largest_distance(a, b), largest_distance(b, a))
    return (count - differing) / count, distance, count, differing


def main(argv):
    goal = GOAL_SHARE
    if "--goal" in argv:
        i = argv.index("--goal")
        goal = float(argv[i + 1]) / 100
        del argv[i:i + 2]
    distance_goal = GOAL_DISTANCE
    if "--distance" in argv:
        i = argv.index("--distance")
        distance_goal = int(argv[i + 1])
        del argv[i:i + 2]
    a = read_ppm(argv[0])
    b = read_ppm(argv[1])
    if a.shape != b.shape:
        print("sizes differ: %s and %s" % (a.shape[::-1], b.shape[::-1]))
        return 1
    share, distance, count, differing = compare(a, b)
    shown = ">%d" % SEARCH if distance > SEARCH else str(distance)
    print("identical %.2f %% of %d non-background pixels (%d differ), largest distance %s" %
          (100 * share, count, differing, shown))
    return 0 if share >= goal and distance <= distance_goal else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
