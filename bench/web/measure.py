#!/usr/bin/env python3
"""Measures the browser build against the plain canvas 2D page, in one run, in headless
Chromium: CPU per minute of animation of all the browser's processes, the tick interval inside
the page (performance.now, median and 99th percentile) and the time to the first frame.

usage: measure.py PAGE_FOLDER [--seconds S] [--reps N] [--loads N]
Each subject gets its own server and browser; subjects alternate from one repetition to the
next. Not part of the tests. Prints a Markdown table.
"""
import argparse
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "web"))

from browser import Session  # noqa: E402

TICKS = {
    # The browser build presents once per tick; the first present is the whole first picture.
    "browser build": ("vurazevedadar.html",
                      "return (window.__presents || []).map(p => p[0]);"),
    "plain canvas 2D page": ("plain.html", "return window.__ticks || [];"),
}
CLOCK_TICK = os.sysconf("SC_CLK_TCK")


def descendants(root):
    children = {}
    for name in os.listdir("/proc"):
        if name.isdigit():
            try:
                with open("/proc/%s/stat" % name) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
                children.setdefault(int(fields[1]), []).append(int(name))
            except OSError:
                pass
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        for child in children.get(pid, []):
            found.append(child)
            todo.append(child)
    return found


def cpu_seconds(pids):
    total = {}
    for pid in pids:
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total[pid] = (int(fields[11]) + int(fields[12])) / CLOCK_TICK
        except OSError:
            pass
    return total


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]


def measure(folder, page, ticks_script, seconds):
    with Session(folder, page=page) as session:
        session.viewport(800, 600)
        session.open()
        session.wait_for("the first frame", lambda: len(session.run(ticks_script)) > 0)
        first = session.run(ticks_script)[0]
        time.sleep(2)
        root = session.driver.service.process.pid
        before = cpu_seconds(descendants(root))
        start = session.run("return performance.now();")
        time.sleep(seconds)
        end = session.run("return performance.now();")
        after = cpu_seconds(descendants(root))
        used = sum(after[p] - before.get(p, 0.0) for p in after)
        times = [t for t in session.run(ticks_script) if start <= t <= end]
        gaps = [b - a for a, b in zip(times, times[1:])]
        console = session.take_console()
    return {"cpu": used * 60.0 / seconds, "first": first, "median": statistics.median(gaps),
            "p99": percentile(gaps, 0.99), "ticks": len(times), "console": console}


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("page_folder")
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--reps", type=int, default=2)
    parser.add_argument("--loads", type=int, default=5)
    args = parser.parse_args(argv)
    folders = {"browser build": args.page_folder, "plain canvas 2D page": HERE}
    results = {name: [] for name in TICKS}
    for rep in range(args.reps):
        order = list(TICKS) if rep % 2 == 0 else list(reversed(TICKS))
        for name in order:
            page, script = TICKS[name]
            result = measure(folders[name], page, script, args.seconds)
            results[name].append(result)
            print("%s, repetition %d: %.2f CPU s/min, first frame %.0f ms, median %.2f ms, "
                  "p99 %.2f ms, %d ticks%s" % (
                      name, rep + 1, result["cpu"], result["first"], result["median"],
                      result["p99"], result["ticks"],
                      ", console: %s" % result["console"] if result["console"] else ""),
                  file=sys.stderr)
    # First frames from fresh loads, short windows.
    for name, (page, script) in TICKS.items():
        for _ in range(args.loads):
            results[name].append({"first": measure(folders[name], page, script, 1)["first"]})
    print("| subject | browser CPU s/min | tick interval median ms | p99 ms | first frame ms |")
    print("|---|---:|---:|---:|---:|")
    for name in TICKS:
        runs = [r for r in results[name] if "cpu" in r]
        print("| %s | %.2f | %.2f | %.2f | %.0f |" % (
            name, statistics.median(r["cpu"] for r in runs),
            statistics.median(r["median"] for r in runs),
            statistics.median(r["p99"] for r in runs),
            statistics.median(r["first"] for r in results[name])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
