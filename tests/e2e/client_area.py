#!/usr/bin/env python3
"""Finds the program's client area in a screenshot of a whole output.

usage: client_area.py SHOT.png          prints "LEFT TOP WIDTH HEIGHT" of the client area
       client_area.py --lit SHOT.png    succeeds when the output shows anything but black
       client_area.py --blue SHOT.png   succeeds when it shows the blue background anywhere

The client area is where the pure blue background is, inside the white outline that clearing
draws on its first column and row and leaves on its last two (judge.py's frame). Nothing else
on a compositor's output is pure blue, so the blue pixels' bounds are the client area's but for
that outline, which must then be there, whole and white. Exits 1 when there is no such area.
"""
import sys

import xwd

BLUE = b"\x00\x00\xff"
WHITE = (255, 255, 255)


def blue_bounds(image):
    """The smallest box holding every pure blue pixel: (left, top, right, bottom), or None."""
    left, top, right, bottom = image.width, None, -1, None
    for y, row in enumerate(image.rows()):
        first = row.find(BLUE)
        while first >= 0 and first % 3:
            first = row.find(BLUE, first + 1)
        if first < 0:
            continue
        last = row.rfind(BLUE)
        while last >= 0 and last % 3:
            last = row.rfind(BLUE, 0, last + 2)
        top = y if top is None else top
        bottom = y
        left = min(left, first // 3)
        right = max(right, last // 3)
    return None if top is None else (left, top, right, bottom)


def outline_is_white(image, left, top, width, height):
    columns = (left, left + width - 2, left + width - 1)
    rows = (top, top + height - 2, top + height - 1)
    if left < 0 or top < 0 or left + width > image.width or top + height > image.height:
        return False
    return (all(image.pixel(x, y) == WHITE for x in columns for y in range(top, top + height)) and
            all(image.pixel(x, y) == WHITE for y in rows for x in range(left, left + width)))


def main(argv):
    if argv[:1] == ["--lit"]:
        image = xwd.read_image(argv[1])
        return 0 if any(any(row) for row in image.rows()) else 1
    if argv[:1] == ["--blue"]:
        return 0 if blue_bounds(xwd.read_image(argv[1])) else 1
    image = xwd.read_image(argv[0])
    bounds = blue_bounds(image)
    if bounds is None:
        print("%s: nothing pure blue" % argv[0], file=sys.stderr)
        return 1
    left, top, right, bottom = bounds
    # The outline: one column and row before the blue, two after.
    area = (left - 1, top - 1, right - left + 4, bottom - top + 4)
    if not outline_is_white(image, *area):
        print("%s: the blue area %s has no whole white outline" % (argv[0], area), file=sys.stderr)
        return 1
    print("%d %d %d %d" % area)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
