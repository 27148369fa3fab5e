#!/usr/bin/env python3
"""Judges a window manager's title bar in a screenshot: it must carry a caption, drawn text
in the middle of the bar.

usage: judge_caption.py SHOT.xwd LEFT TOP WIDTH BAR_HEIGHT

LEFT, TOP and WIDTH give the client area on the screen and BAR_HEIGHT the frame's top extent:
the bar lies right above the client area. A bar without text is a smooth gradient, so every
pixel lies close to the colour of its own row; text is what stands out from it.
"""
import sys

import xwd

# How far (summed over red, green and blue) a pixel must differ from its row's commonest
# colour to count as text, and how many such pixels a caption of a dozen letters makes at the
# least (each letter of a small title font has a few dozen).
TEXT_CONTRAST = 150
MIN_TEXT_PIXELS = 100
# Buttons and the window icon sit at the ends of the bar; the caption is looked for between.
ENDS = 0.2


def commonest(row):
    counts = {}
    for colour in row:
        counts[colour] = counts.get(colour, 0) + 1
    return max(counts, key=counts.get)


def text_pixels(image):
    found = []
    for y in range(image.height):
        row = [image.pixel(x, y) for x in range(image.width)]
        ground = commonest(row)
        for x, colour in enumerate(row):
            if sum(abs(a - b) for a, b in zip(colour, ground)) >= TEXT_CONTRAST:
                found.append((x, y))
    return found


def main(argv):
    path = argv[0]
    left, top, width, bar = map(int, argv[1:5])
    margin = int(width * ENDS)
    image = xwd.read_xwd(path).crop(left + margin, top - bar, width - 2 * margin, bar)
    found = text_pixels(image)
    print("title bar %dx%d above the client area: %d caption pixels" %
          (image.width, image.height, len(found)))
    if len(found) < MIN_TEXT_PIXELS:
        print("FAULT: the title bar shows no caption")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
