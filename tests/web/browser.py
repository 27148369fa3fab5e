"""A served page in a headless Chromium driven by Selenium, for the browser build's tests.

The page is served from 127.0.0.1 by scripts/serve-web and opened in Debian's chromium through
chromedriver; both stop when the session ends. Every canvas update the page makes is noted
(time, canvas size, rectangle) by a hook installed before the page's own scripts run, so that
a test can see ticks and repaints without any help from the program.
"""
import base64
import os
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

HERE = os.path.dirname(os.path.abspath(__file__))
SERVE = os.path.join(HERE, "..", "..", "scripts", "serve-web")

PRESENT_HOOK = """
window.__presents = [];
const put = CanvasRenderingContext2D.prototype.putImageData;
CanvasRenderingContext2D.prototype.putImageData = function (image, dx, dy, x, y, w, h) {
    window.__presents.push([performance.now(), this.canvas.width, this.canvas.height,
                            x === undefined ? 0 : x, y === undefined ? 0 : y,
                            w === undefined ? image.width : w, h === undefined ? image.height : h]);
    return put.apply(this, arguments);
};
"""

SAMPLE_CANVAS = """
var canvas = document.getElementById('canvas'), step = arguments[0];
var width = Math.floor(canvas.width / step), height = Math.floor(canvas.height / step);
var sample = document.createElement('canvas');
sample.width = width;
sample.height = height;
var context = sample.getContext('2d');
context.imageSmoothingEnabled = false;
context.drawImage(canvas, 0, 0, width * step, height * step, 0, 0, width, height);
return sample.toDataURL('image/png');
"""


class Session:
    def __init__(self, folder, page="vurazevedadar.html"):
        self.server = subprocess.Popen([sys.executable, SERVE, folder, "--page", page],
                                       stdout=subprocess.PIPE, text=True)
        address = self.server.stdout.readline().strip()
        if not address:
            self.server.wait()
            raise RuntimeError("the page server did not start")
        self.origin = address[:address.index("/", len("http://"))]
        self.url = address
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                         "--disable-dev-shm-usage", "--window-size=1024,768"):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        try:
            self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"),
                                           options=options)
        except Exception:
            self.server.terminate()
            raise
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument",
                                    {"source": PRESENT_HOOK})
        self.console = []

    def close(self):
        try:
            self.driver.quit()
        finally:
            self.server.terminate()
            self.server.wait()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def viewport(self, width, height, ratio=1):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": False})

    def open(self, query=""):
        self.driver.get(self.url + query)

    def run(self, script, *args):
        return self.driver.execute_script(script, *args)

    def presents(self):
        return self.run("return window.__presents || [];")

    def canvas_size(self):
        return tuple(self.run("var c = document.getElementById('canvas');"
                              "return [c.width, c.height];"))

    def wait_for(self, what, condition, seconds=10):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if condition():
                return
            time.sleep(0.05)
        raise AssertionError("timed out waiting for " + what)

    # A full present of a canvas of this size: the picture drawn anew at that size.
    def wait_for_full_picture(self, width, height, since=0.0):
        def drawn():
            return any(p[0] >= since and p[1:] == [width, height, 0, 0, width, height]
                       for p in self.presents())
        self.wait_for("a whole %dx%d picture" % (width, height), drawn)

    # The canvas's backing store, every step-th pixel across and down, as a PNG file: the whole
    # of a canvas larger than any screenshot the browser can take, read nearest-neighbour.
    def sample_canvas(self, step, path):
        address = self.run(SAMPLE_CANVAS, step)
        with open(path, "wb") as f:
            f.write(base64.b64decode(address[address.index(",") + 1:]))
        return path

    def screenshot(self, path):
        with open(path, "wb") as f:
            f.write(self.driver.get_screenshot_as_png())
        return path

    def take_console(self):
        self.console += self.driver.get_log("browser")
        return self.console
