#!/usr/bin/env python3
"""Compares two frames of the program, as the fidelity goal measures them.

usage: compare.py A.ppm B.ppm [--goal PERCENT]
Prints the share of identical pixels among those that are not background in either frame, and
the largest distance (in pixels, Chebyshev) from a non-background pixel of one frame to the
nearest pixel of the same colour in the other. Exits 0 when the share is at least 95 % and
the distance at most 1 (--goal raises the share).
"""
import sys

BACKGROUND = (0, 0, 255)
SEARCH = 8  # farther than this counts as "not found"
GOAL_SHARE = 0.95
GOAL_DISTANCE = 1


def read_ppm(path):
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
    pixels = data[pos + 1:pos + 1 + 3 * width * height]
    frame = {}
    for i in range(width * height):
        colour = (pixels[3 * i], pixels[3 * i + 1], pixels[3 * i + 2])
        if colour != BACKGROUND:
            frame[(i % width, i // width)] = colour
    return (width, height), frame


def nearest(position, colour, by_colour):
    x, y = position
    places = by_colour.get(colour, set())
    for d in range(SEARCH + 1):
        for dx in range(-d, d + 1):
            for dy in range(-d, d + 1):
                if max(abs(dx), abs(dy)) == d and (x + dx, y + dy) in places:
                    return d
    return SEARCH + 1


def largest_distance(frame, other):
    by_colour = {}
    for position, colour in other.items():
        by_colour.setdefault(colour, set()).add(position)
    return max((nearest(p, c, by_colour) for p, c in frame.items()), default=0)


def compare(a, b):
    union = set(a) | set(b)
    identical = sum(1 for p in union if a.get(p, BACKGROUND) == b.get(p, BACKGROUND))
    share = identical / len(union) if union else 1.0
    distance = max(largest_distance(a, b), largest_distance(b, a))
    return share, distance, len(union)


def main(argv):
    goal = GOAL_SHARE
    if "--goal" in argv:
        i = argv.index("--goal")
        goal = float(argv[i + 1]) / 100
        del argv[i:i + 2]
    size_a, a = read_ppm(argv[0])
    size_b, b = read_ppm(argv[1])
    if size_a != size_b:
        print("sizes differ: %s and %s" % (size_a, size_b))
        return 1
    share, distance, count = compare(a, b)
    shown = ">%d" % SEARCH if distance > SEARCH else str(distance)
    print("identical %.2f %% of %d non-background pixels, largest distance %s" %
          (100 * share, count, shown))
    return 0 if share >= goal and distance <= GOAL_DISTANCE else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
