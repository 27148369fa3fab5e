#!/usr/bin/env python3
"""End-to-end checks of the browser build in a headless Chromium.

usage: page_checks.py PAGE_FOLDER CHECK
CHECK is one of:
  animation   at two viewport sizes, screenshots spread over time show the blue background and
              frame, the bearings, a moving cross and pin and no trails; the caption is the
              document's title; every file comes from the page's own origin
  resize      a smaller viewport, and then another size at devicePixelRatio 2, each repaint the
              whole canvas at its new device size, and the picture fits it (an emulated ratio
              alone changes no layout and fires no media query, so it comes with a new size)
  ratio2      at devicePixelRatio 2 the backing store is the CSS size times two and the
              picture, frame and outlines included, is drawn in device pixels
  oversized   a screen beyond the framebuffer's budget (16500 x 1200 device pixels) gets a
              canvas within it, in the screen's proportions, filling the page; read back from
              the canvas, the picture has its blue background, a moving cross and pin, and no
              trails
  ticks       ticks 50 ms apart on the page's clock; a page frozen for a while draws again when
              it thaws, then keeps the 50 ms grid (a burst of made-up ticks would be drawn in
              one turn of the loop and show as one frame: the core's own tests rule it out)
  failures    the page with its module's script or binary missing, or cut short, the page
              opened from a file, and the page in a browser without WebAssembly: each time a
              notice, visible on the page, names the cause and what to do (and without
              scripting, the <noscript> text does, alone); the server sends the
              headers a <meta> policy cannot; and the page in one file, opened from a file,
              animates as the served page does, with nothing in the console
  run_web     scripts/run-web refuses a bad option or a busy port before building, and never
              says it is serving when it is not (no browser)
Every check also fails on anything in the console: the program writes nothing when all is well.
"""
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))

import geometry  # noqa: E402
import judge  # noqa: E402
import xwd  # noqa: E402
from browser import Session  # noqa: E402

CAPTION = "Vurazevedadar"
# Gaps between ticks shorter than this are not a period of the 50 ms timer.
PERIOD_FLOOR_MS = 40.0


def fail(message):
    raise AssertionError(message)


def judge_shots(session, work, name, count, interval):
    width, height = session.canvas_size()
    shots = []
    for i in range(count):
        shots.append(session.screenshot(os.path.join(work, "%s-%02d.png" % (name, i))))
        time.sleep(interval)
    if judge.main([str(0), str(0), str(width), str(height)] + shots) != 0:
        fail("wrong picture at %dx%d" % (width, height))


def start(session, width, height, ratio=1):
    session.viewport(width, height, ratio)
    session.open()
    session.wait_for_full_picture(width * ratio, height * ratio)
    # A repaint draws the background and the bearings; the cross and the wheel come with the
    # first tick, as on the desktop.
    time.sleep(0.2)


def check_animation(session, work):
    for width, height in ((800, 600), (420, 640)):
        start(session, width, height)
        if session.driver.title != CAPTION:
            fail("the title is %r, not %r" % (session.driver.title, CAPTION))
        judge_shots(session, work, "shot-%dx%d" % (width, height), 8, 0.3)
    foreign = session.run("return performance.getEntriesByType('resource')"
                          ".map(e => e.name).filter(n => !n.startsWith(arguments[0]));",
                          session.origin)
    if foreign:
        fail("files from elsewhere: %s" % foreign)
    icon = session.run("var l = document.querySelector('link[rel=icon]');"
                       "return l ? l.href : '';")
    if not icon.startswith(session.origin):
        fail("the page's icon is %r" % icon)


def check_resize(session, work):
    start(session, 800, 600)
    for width, height, ratio in ((560, 380, 1), (600, 420, 2)):
        since = session.run("return performance.now();")
        session.viewport(width, height, ratio)
        session.wait_for_full_picture(width * ratio, height * ratio, since)
        time.sleep(0.2)
        judge_shots(session, work, "resized-%dx%dx%d" % (width, height, ratio), 6, 0.25)


def check_ratio2(session, work):
    start(session, 500, 400, 2)
    size = session.canvas_size()
    css = tuple(session.run("var c = document.getElementById('canvas');"
                            "return [c.clientWidth, c.clientHeight];"))
    if size != (1000, 800) or css != (500, 400):
        fail("backing store %s for a CSS size of %s at ratio 2" % (size, css))
    judge_shots(session, work, "ratio2", 6, 0.3)


# The budget of one framebuffer, as the browser build's tests know it.
MAX_SIDE = 16384
MAX_PIXELS = 64 * 1024 * 1024


def judge_sampled(images):
    """Samples of the canvas judged as screenshots are, but for the frame and the bearings,
    whose lines are thinner than the sampling step; the pin must move between them."""
    mapping = geometry.Mapping(images[0].width, images[0].height)
    regions = judge.classify_regions(mapping, images[0].width, images[0].height)
    allowed = dict(judge.ALLOWED, F={judge.WHITE, judge.BLUE},
                   B=judge.ALLOWED["B"] | judge.ALLOWED["W"])
    pins = set()
    for i, image in enumerate(images):
        stray, white, cyan = [], 0, set()
        for y in range(image.height):
            for x in range(image.width):
                colour, region = image.pixel(x, y), regions[y][x]
                if colour not in allowed[region]:
                    stray.append((x, y, colour))
                elif colour == judge.WHITE and region == "C":
                    white += 1
                elif colour == judge.CYAN and region == "W":
                    cyan.add((x, y))
        if stray:
            fail("sample %d: %d pixels out of place, first %s" % (i, len(stray), stray[:3]))
        if white < 20 or len(cyan) < 10:
            fail("sample %d: %d white pixels of the cross, %d cyan of the pin" %
                 (i, white, len(cyan)))
        pins.add(frozenset(cyan))
    if len(pins) < len(images):
        fail("the pin stood still")


def check_oversized(session, work):
    width, height, ratio = 3300, 240, 5
    session.viewport(width, height, ratio)
    session.open()
    session.wait_for("a canvas", lambda: session.presents())
    cw, ch = session.canvas_size()
    box = tuple(session.run("var c = document.getElementById('canvas');"
                            "return [c.clientWidth, c.clientHeight];"))
    print("a %dx%d screen: a %dx%d canvas in a %dx%d box" %
          (width * ratio, height * ratio, cw, ch, box[0], box[1]))
    if cw > MAX_SIDE or ch > MAX_SIDE or cw * ch > MAX_PIXELS:
        fail("a %dx%d canvas is beyond the framebuffer's budget" % (cw, ch))
    if box != (width, height) or abs(cw * height - ch * width) > max(width, height):
        fail("a %dx%d canvas stretched over a %dx%d box" % (cw, ch, box[0], box[1]))
    session.wait_for_full_picture(cw, ch)
    time.sleep(0.3)
    images = []
    for i in range(2):
        path = session.sample_canvas(5, os.path.join(work, "oversized-%d.png" % i))
        images.append(xwd.read_image(path))
        time.sleep(0.4)
    judge_sampled(images)


# The notice each broken page must show: what broke, and the ways out.
SERVE_ADVICE = ("scripts/run-web", "static web server")
STANDALONE = "vurazevedadar-standalone.html"


def cut_short(path):
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[:len(data) // 2])


BROKEN = (
    ("no-binary", lambda d: os.remove(os.path.join(d, "vurazevedadar.wasm")),
     ("vurazevedadar.wasm", "missing")),
    ("short-binary", lambda d: cut_short(os.path.join(d, "vurazevedadar.wasm")),
     ("vurazevedadar.wasm", "damaged")),
    ("no-script", lambda d: os.remove(os.path.join(d, "vurazevedadar.js")),
     ("vurazevedadar.js", "missing")),
    ("short-script", lambda d: cut_short(os.path.join(d, "vurazevedadar.js")),
     ("vurazevedadar.js", "damaged")),
)


def expect_notice(session, work, name, words):
    """The notice is shown, says every one of the words, and is on the screen: a screenshot
    of the page has text on it where a blank page would be white."""
    def notice():
        return session.run("var n = document.getElementById('notice');"
                           "return n && n.checkVisibility() ? n.innerText : '';")
    try:
        session.wait_for("a notice", notice, seconds=5)
    except AssertionError:
        fail("%s: no notice on the page" % name)
    text = notice()
    absent = [word for word in words if word not in text]
    if absent:
        fail("%s: the notice does not say %s: %r" % (name, absent, text))
    left, top, width, height = (int(v) for v in session.run(
        "var r = document.getElementById('notice').getBoundingClientRect();"
        "return [r.left, r.top, Math.min(r.width, 400), Math.min(r.height, 120)];"))
    image = xwd.read_image(session.screenshot(os.path.join(work, name + ".png")))
    dark = sum(1 for y in range(top, top + height) for x in range(left, left + width)
               if sum(image.pixel(x, y)) < 200)
    if dark < 500:
        fail("%s: the notice shows almost nothing (%d dark pixels)" % (name, dark))
    print("%s: %s" % (name, " | ".join(line for line in text.splitlines() if line)[:160]))


def check_failures(folder, work):
    """Each broken copy of the page is served beside an intact one, from one server."""
    pages = os.path.join(work, "pages")
    shutil.copytree(folder, os.path.join(pages, "intact"))
    for name, damage, words in BROKEN:
        shutil.copytree(folder, os.path.join(pages, name))
        damage(os.path.join(pages, name))
    with Session(pages, page="intact/vurazevedadar.html") as session:
        session.viewport(640, 400)
        for name, damage, words in BROKEN:
            session.driver.get("%s/%s/vurazevedadar.html" % (session.origin, name))
            expect_notice(session, work, name, words + SERVE_ADVICE + (STANDALONE,))
        session.driver.get("file://" + os.path.abspath(os.path.join(folder, "vurazevedadar.html")))
        expect_notice(session, work, "from-file",
                      ("opened from a file",) + SERVE_ADVICE + (STANDALONE,))
        link = session.run("var a = document.querySelector('#notice a'); return a ? a.href : '';")
        if not link.endswith("/" + STANDALONE) or not os.path.isfile(
                os.path.join(folder, STANDALONE)):
            fail("the notice's way out, %r, is not the page in one file beside it" % link)
        with urllib.request.urlopen(session.url) as response:
            headers = response.headers
        if headers.get("Content-Security-Policy") != "frame-ancestors 'none'" or \
                headers.get("X-Content-Type-Options") != "nosniff":
            fail("the server sends %s" % dict(headers))
        # A browser without WebAssembly (Chromium with --js-flags=--jitless, for one) has no
        # such global; it is taken away before the page's scripts run, to spare a second browser.
        hidden = session.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                                {"source": "delete globalThis.WebAssembly;"})
        session.open()
        expect_notice(session, work, "no-webassembly", ("no WebAssembly", "Switch WebAssembly on"))
        session.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument", hidden)
        # Without scripting, the <noscript> text alone says what to do.
        session.driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": True})
        session.open()
        text = session.run("return document.body.innerText;")
        session.driver.execute_cdp_cmd("Emulation.setScriptExecutionDisabled", {"value": False})
        if "turn on JavaScript" not in text or "did not start" in text:
            fail("without scripting the page says %r" % text)
        check_standalone(session, work, folder)


def check_standalone(session, work, folder):
    session.take_console()
    session.console = []
    session.viewport(560, 420)
    session.driver.get("file://" + os.path.abspath(os.path.join(folder, STANDALONE)))
    session.wait_for_full_picture(560, 420)
    time.sleep(0.2)
    if session.driver.title != CAPTION:
        fail("the title is %r, not %r" % (session.driver.title, CAPTION))
    judge_shots(session, work, "standalone", 6, 0.3)
    console = session.take_console()
    if console:
        fail("the page in one file wrote to the console: %s" % console)


def check_run_web(work):
    """The script runs with stand-ins for the build and the package manager, which say so when
    called: a refused option must not get that far."""
    stubs = os.path.join(work, "bin")
    os.makedirs(stubs)
    for tool in ("cmake", "apt-get", "sudo"):
        with open(os.path.join(stubs, tool), "w") as f:
            f.write("#!/bin/sh\necho \"stand-in %s called\" >&2\n" % tool)
        os.chmod(os.path.join(stubs, tool), 0o755)
    env = dict(os.environ, PATH=stubs + os.pathsep + os.environ["PATH"])
    script = os.path.join(HERE, "..", "..", "scripts", "run-web")
    with socket.socket() as busy:
        busy.bind(("127.0.0.1", 0))
        busy.listen()
        port = busy.getsockname()[1]
        for args, status in ((["--port", "http"], 2), (["--port", "65536"], 2),
                             (["--bogus"], 2), (["--port", str(port)], 1)):
            try:
                run = subprocess.run([script] + args, env=env, capture_output=True, text=True,
                                     timeout=20)
            except subprocess.TimeoutExpired:
                fail("run-web %s did not stop" % args)
            output = run.stdout + run.stderr
            print("run-web %s: %d, %r" % (" ".join(args), run.returncode, output.strip()[:120]))
            if run.returncode != status or "Serving" in output or "stand-in" in output:
                fail("run-web %s: status %d, %r" % (args, run.returncode, output))


def intervals(presents):
    times = [p[0] for p in presents]
    return [b - a for a, b in zip(times, times[1:])]


def check_ticks(session, work):
    start(session, 400, 300)
    time.sleep(2.0)
    steady = intervals(session.presents()[1:])
    median = statistics.median(steady)
    print("%d ticks, median interval %.2f ms" % (len(steady), median))
    if not 48.0 <= median <= 53.0:
        fail("median tick interval %.2f ms" % median)
    frozen_at = session.run("return performance.now();")
    session.driver.execute_cdp_cmd("Page.setWebLifecycleState", {"state": "frozen"})
    time.sleep(1.0)
    session.driver.execute_cdp_cmd("Page.setWebLifecycleState", {"state": "active"})
    time.sleep(0.6)
    after = [p for p in session.presents() if p[0] > frozen_at]
    gaps = intervals(after)
    print("after thawing: gaps %s" % ["%.1f" % g for g in gaps[:6]])
    if len(after) < 5:
        fail("only %d ticks in the 0.6 s after thawing" % len(after))
    # The tick that was due comes when the page thaws, and the next lies on the old grid,
    # which may be any time up to a period later: one short gap, then the rhythm again.
    short = [gap for gap in gaps if gap < PERIOD_FLOOR_MS]
    if len(short) > 1:
        fail("the rhythm did not come back after thawing: gaps %s" % gaps[:6])


CHECKS = {"animation": check_animation, "resize": check_resize, "ratio2": check_ratio2,
          "ticks": check_ticks, "oversized": check_oversized}


# These start their own browsers, or none; a broken page may well leave lines in the console,
# and what is judged is its notice.
OWN_SESSIONS = {"failures": check_failures, "run_web": lambda folder, work: check_run_web(work)}


def run_own_sessions(check, folder):
    with tempfile.TemporaryDirectory(prefix="vurazevedadar-web.") as work:
        try:
            check(folder, work)
        except AssertionError as error:
            print("FAIL:", error)
            return 1
    print("PASS")
    return 0


def main(argv):
    folder, name = argv
    if name in OWN_SESSIONS:
        return run_own_sessions(OWN_SESSIONS[name], folder)
    with tempfile.TemporaryDirectory(prefix="vurazevedadar-web.") as work, \
            Session(folder) as session:
        try:
            CHECKS[name](session, work)
        except AssertionError as error:
            print("FAIL:", error)
            session.take_console()
            for entry in session.console:
                print("console:", entry)
            return 1
        console = session.take_console()
        if console:
            for entry in console:
                print("console:", entry)
            print("FAIL: the console is not empty")
            return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
