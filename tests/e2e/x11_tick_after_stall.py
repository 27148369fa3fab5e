#!/usr/bin/env python3
"""A program stopped and continued (SIGSTOP, SIGCONT: a suspended session, a debugger) must tick
at once when it runs again, not when the wait it was in would have ended. The program is the
tick logger, the real frame that stamps each WM_TIMER; it is stopped eight times, at whatever
point of its 50 ms rhythm, and the first tick after each continue is timed.
Usage: x11_tick_after_stall.py ticklog
"""
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

STOPS = 8
STOPPED_SECONDS = 0.3
RUNNING_SECONDS = 0.3
TICKS = 90  # more than the stops and runs take, so the logger is still running at the end
# Waking up and delivering the tick takes well under a millisecond on an idle machine, a few on
# a busy one; the fault this guards against delays it by the rest of an interrupted wait, 25 ms
# on average, and the median of eight such delays falls below this once in a hundred runs.
AT_ONCE_MS = 10.0
NS_PER_MS = 1e6


def start_xvfb(workdir):
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "640x480x24", "-nolisten", "tcp"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display:
        number = display.readline().strip()
    if not number:
        raise RuntimeError("Xvfb did not start")
    return server, ":" + number


def main():
    ticklog = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="vurazevedadar-stall.") as workdir:
        server, display = start_xvfb(workdir)
        log_path = os.path.join(workdir, "ticks.log")
        env = dict(os.environ, DISPLAY=display)
        logger = subprocess.Popen([ticklog, log_path, str(TICKS)], env=env,
                                  stdout=subprocess.PIPE, text=True)
        try:
            # The logger's first line gives its clock, so that our signals can be placed among
            # its ticks (both are CLOCK_MONOTONIC here, the offset is only the pipe's delay).
            line = logger.stdout.readline()
            if not line.startswith("clock "):
                print("FAIL: the tick logger did not start")
                return 1
            resumed = []
            time.sleep(RUNNING_SECONDS * 2)
            for _ in range(STOPS):
                os.kill(logger.pid, signal.SIGSTOP)
                time.sleep(STOPPED_SECONDS)
                resumed.append(time.clock_gettime_ns(time.CLOCK_MONOTONIC))
                os.kill(logger.pid, signal.SIGCONT)
                time.sleep(RUNNING_SECONDS)
            status = logger.wait(timeout=TICKS * 0.05 + 30)
        finally:
            if logger.poll() is None:
                logger.kill()
                logger.wait()
            server.terminate()
            server.wait()
        if status != 0:
            print("FAIL: the tick logger ended with status %d" % status)
            return 1
        with open(log_path) as log:
            stamps = [int(line) for line in log if line.strip()]

    delays = []
    for moment in resumed:
        after = [stamp for stamp in stamps if stamp >= moment]
        if not after:
            print("FAIL: no tick after a continue")
            return 1
        delays.append((after[0] - moment) / NS_PER_MS)
    print("first tick after each continue, ms: " + " ".join("%.2f" % d for d in delays))
    median = statistics.median(delays)
    if median >= AT_ONCE_MS:
        print("FAIL: the first tick came %.2f ms after the continue (median), not at once" % median)
        return 1
    print("PASS: median %.2f ms" % median)
    return 0


if __name__ == "__main__":
    sys.exit(main())
