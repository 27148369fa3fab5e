#!/usr/bin/env python3
"""Runs the browser build's frame dumper in headless Chromium for each tick count, at a client
size of WIDTH x HEIGHT device pixels, and saves what it read back from the canvas as
OUTDIR/web-TICKS.ppm.

usage: framedump_web.py FRAMEDUMP_FOLDER OUTDIR WIDTHxHEIGHT TICKS [TICKS ...]
"""
import base64
import os
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web"))

from browser import Session  # noqa: E402


def main(argv):
    folder, outdir, ticks = argv[0], argv[1], argv[3:]
    width, height = (int(n) for n in argv[2].split("x"))
    with Session(folder, page="framedump.html") as session:
        session.driver.set_script_timeout(60)
        # The whole canvas inside the viewport, at ratio 1.
        session.viewport(max(800, width), max(600, height))
        for n in ticks:
            session.open("?ticks=%s&width=%d&height=%d" % (n, width, height))
            try:
                session.wait_for("the frame dumper's picture", lambda: session.run(
                    "return frameDumped();"), 60)
            except AssertionError as error:
                print("framedump_web: %s at %s ticks; console: %s" %
                      (error, n, session.take_console()), file=sys.stderr)
                return 1
            with open(os.path.join(outdir, "web-%s.ppm" % n), "wb") as f:
                f.write(zlib.decompress(base64.b64decode(session.driver.execute_async_script(
                    "deflatedFrame(arguments[arguments.length - 1]);"))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
