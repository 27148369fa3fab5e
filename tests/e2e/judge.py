#!/usr/bin/env python3
"""Judges screenshots of the running program against what its window must show.

usage: judge.py X Y WIDTH HEIGHT SHOT.xwd|SHOT.png [...] [--png FIRST.png]

X, Y, WIDTH, HEIGHT give the client area on the screen. Each screenshot must show the blue
background with its white frame, both bearing symbols at their places in their colours, a white
cross outline and a cyan pin, and nothing white or cyan where no moving figure can ever reach
(erasing leaves no trails). Across the screenshots the cross must stand in more than one pose.
"""
import sys

import geometry
import xwd

BLUE = (0, 0, 255)
WHITE = (255, 255, 255)
CYAN = (0, 255, 255)
BLACK = (0, 0, 0)
YELLOW = (255, 255, 0)

SLACK = 3  # pixels around each figure's reach: 1 for truncation, 2 for how arcs rasterise

CROSS_CENTRE = (0.0, 0.0)
WHEEL_CENTRE = (0.0, geometry.DISTANCE)


class Verdict:
    def __init__(self):
        self.faults = []

    def check(self, ok, message):
        if not ok:
            self.faults.append(message)


def classify_regions(mapping, width, height):
    """For every client pixel, the set of colours allowed there, as a small code:
    'F' frame (white), 'B' bearing (any palette colour), 'W' wheel reach (blue, white, cyan),
    'C' cross reach (blue, white), '.' background (blue only)."""
    regions = []
    for y in range(height):
        row = []
        for x in range(width):
            if x in (0, width - 2, width - 1) or y in (0, height - 2, height - 1):
                # Clearing outlines the client area but for its last column and row, which keep
                # the window class's white background.
                row.append("F")
            elif (mapping.within(x, y, CROSS_CENTRE, geometry.PIN, SLACK) or
                  mapping.within(x, y, WHEEL_CENTRE, geometry.PIN, SLACK)):
                row.append("B")
            elif mapping.within(x, y, WHEEL_CENTRE, geometry.WHEEL_REACH, SLACK):
                row.append("W")
            elif mapping.within(x, y, CROSS_CENTRE, geometry.CROSS_REACH, SLACK):
                row.append("C")
            else:
                row.append(".")
        regions.append(row)
    return regions


ALLOWED = {
    "F": {WHITE},
    "B": {BLUE, WHITE, BLACK, YELLOW, CYAN},
    "W": {BLUE, WHITE, CYAN},
    "C": {BLUE, WHITE},
    ".": {BLUE},
}


def judge_shot(image, mapping, regions, verdict, name):
    stray = []
    white_in_cross = []
    cyan = []
    for y in range(image.height):
        for x in range(image.width):
            colour = image.pixel(x, y)
            region = regions[y][x]
            if colour not in ALLOWED[region]:
                stray.append((x, y, colour))
            elif colour == WHITE and region == "C":
                white_in_cross.append((x, y))
            elif colour == CYAN and region == "W":
                cyan.append((x, y))
    verdict.check(not stray, "%s: %d pixels out of place, first %s" %
                  (name, len(stray), stray[:3]))
    verdict.check(len(white_in_cross) >= 200, "%s: no cross outline (%d white pixels)" %
                  (name, len(white_in_cross)))
    verdict.check(len(cyan) >= 10, "%s: no cyan pin (%d cyan pixels)" % (name, len(cyan)))
    judge_bearings(image, mapping, verdict, name)
    return hash(tuple(white_in_cross)), hash(tuple(cyan))


def judge_bearings(image, mapping, verdict, name):
    d = geometry.bearing_offset(mapping)
    expected = {(-d, -d): BLACK, (d, -d): YELLOW, (-d, d): YELLOW, (d, d): BLACK}
    for centre in (CROSS_CENTRE, WHEEL_CENTRE):
        cx, cy = mapping.to_device(*centre)
        for (ox, oy), colour in expected.items():
            seen = image.pixel(cx + ox, cy + oy)
            verdict.check(seen == colour, "%s: bearing at %s, offset %s: %s, not %s" %
                          (name, (cx, cy), (ox, oy), seen, colour))


def main(argv):
    png = None
    if "--png" in argv:
        i = argv.index("--png")
        png = argv[i + 1]
        del argv[i:i + 2]
    left, top, width, height = map(int, argv[:4])
    shots = argv[4:]
    mapping = geometry.Mapping(width, height)
    regions = classify_regions(mapping, width, height)
    verdict = Verdict()
    cross_poses, pin_places = set(), set()
    for i, path in enumerate(shots):
        image = xwd.read_image(path).crop(left, top, width, height)
        if i == 0 and png:
            xwd.write_png(image, png)
        cross, pin = judge_shot(image, mapping, regions, verdict, path.rsplit("/", 1)[-1])
        cross_poses.add(cross)
        pin_places.add(pin)
    verdict.check(len(cross_poses) >= 2, "the cross stood in one pose in every screenshot")
    verdict.check(len(pin_places) >= 2, "the pin stood still in every screenshot")
    print("%d screenshots of a %dx%d client area: %d cross poses, %d pin places" %
          (len(shots), width, height, len(cross_poses), len(pin_places)))
    for fault in verdict.faults[:20]:
        print("FAULT:", fault)
    return 1 if verdict.faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
