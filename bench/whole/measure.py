"""The whole-program benchmark, run by bench/run.

1. Cost: the native program with each of its two ways of presenting a frame (shared memory
   and a server-side pixmap, forced through VURAZEVEDADAR_X11_PRESENT), the Windows build under
   Wine, the bare Xlib floor and xclock run one at a time, each on a fresh Xvfb (so that the
   server's CPU time is theirs alone), in an order that rotates from one repetition to the
   next. CPU time (utime + stime) of the client, the X server and the wineserver is read from
   /proc/PID/stat before and after a fixed window; peak RSS is VmHWM from /proc/PID/status at
   its end.
2. Memory at a large size: both native presenters once more, briefly, on a 5120x2880 screen,
   where the default window is 3840x2160: the peak RSS that grows with the framebuffer.
3. Start-up: milliseconds from exec to the window's first painted pixel, by xtool startup.
4. Tick timing: the tick logger (the program's frame with a timestamp in front of its timer
   handler), 600 ticks with each presenter, and a run stopped for a second with SIGSTOP to see
   what follows.
"""
import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time

import processes
import report
import ticks

SETTLE_SECONDS = 3.0
STARTUP_RUNS = 10
STARTUP_TIMEOUT = 60.0
TIMING_TICKS = 600
STALL_TICKS = 100
STALL_AFTER_SECONDS = 1.5
STALL_SECONDS = 1.0
LARGE_SECONDS = 10.0
HANDSHAKE_TIMEOUT = 60.0
PREFIX_SETTLE_TIMEOUT = 120.0
NS_PER_S = 1e9


class Paths:
    """Where the builds and tools are."""

    def __init__(self, root):
        self.root = root
        x11 = os.path.join(root, "build", "x11")
        windows = os.path.join(root, "build", "windows")
        self.native = os.path.join(x11, "app", "vurazevedadar")
        self.exe = os.path.join(windows, "app", "vurazevedadar.exe")
        self.floor = os.path.join(x11, "bench", "whole", "floor")
        self.ticklog = os.path.join(x11, "bench", "whole", "ticklog")
        self.ticklog_exe = os.path.join(windows, "bench", "whole", "ticklog.exe")
        self.xtool = os.path.join(x11, "tests", "xtool")
        self.doc = os.path.join(root, "docs", "performance.md")


class Subject:
    """One program to measure; env holds the variables added to its environment, and a
    native subject has its window's size recorded."""

    def __init__(self, name, caption, argv, wine=False, env=None, native=False):
        self.name = name
        self.caption = caption
        self.argv = argv
        self.wine = wine
        self.env = env or {}
        self.native = native


# The native program's two ways of presenting a frame. Shared memory is what it picks by itself
# on a local display; it is forced all the same, so that a server without MIT-SHM ends the run
# instead of measuring the other way under this name.
PRESENT_VARIABLE = "VURAZEVEDADAR_X11_PRESENT"
PRESENTERS = {"native": "shm", "native-pixmap": "pixmap"}


def native_subjects(paths):
    return [Subject(name, "Vurazevedadar", [paths.native], env={PRESENT_VARIABLE: presenter},
                    native=True)
            for name, presenter in PRESENTERS.items()]


def subjects(paths):
    return native_subjects(paths) + [
        Subject("wine", "Vurazevedadar", ["wine", paths.exe], wine=True),
        Subject("floor", "Floor", [paths.floor]),
        Subject("xclock", "xclock", ["xclock", "-update", "0.05", "-norender"]),
    ]


def wine_env(env, prefix):
    # Without the overrides, the first start asks to install Mono and Gecko.
    return dict(env, WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")


def make_prefix(procs, base_env, prefix):
    """The run's own Wine prefix, made once, on an X server of its own."""
    xvfb, env = processes.start_xvfb(procs, base_env)
    env = wine_env(env, prefix)
    procs.wine_envs.append(env)
    subprocess.run(["wineboot", "-i"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True, timeout=300)
    # The registry is written when the server ends; waiting for that keeps the first
    # measured start from paying for it. A server that will not end is ended.
    try:
        subprocess.run(["wineserver", "-w"], env=env, check=False, timeout=PREFIX_SETTLE_TIMEOUT)
    except subprocess.TimeoutExpired:
        subprocess.run(["wineserver", "-k"], env=env, check=False)
    procs.wine_envs.remove(env)
    procs.end(xvfb)


# --- cost ---------------------------------------------------------------------------------

def sample(pids):
    return {name: (processes.cpu_ticks(pid), processes.cpu_ns(pid))
            for name, pid in pids.items()}


def costs_between(before, after, elapsed):
    """CPU s/min per process: from /proc/PID/stat, and (key + "_ns") from the scheduler's
    nanosecond count; Wine's helper processes summed under "helpers"."""
    result = {"helpers": 0.0}
    for name in before:
        if None in before[name] or None in after[name]:
            continue
        ticks_used = after[name][0] - before[name][0]
        ns_used = after[name][1] - before[name][1]
        cost = processes.seconds_per_minute(ticks_used, elapsed)
        if name.startswith("helper"):
            result["helpers"] += cost
        else:
            result[name] = cost
            result[name + "_ns"] = ns_used / NS_PER_S * 60.0 / elapsed
    return result


def measure_subject(procs, paths, subject, seconds, base_env, prefix,
                    screen=processes.SCREEN):
    xvfb, env = processes.start_xvfb(procs, base_env, screen)
    server = None
    if subject.wine:
        env = wine_env(env, prefix)
        server = processes.start_wineserver(procs, env)
    client = procs.start(subject.argv, dict(env, **subject.env))
    try:
        processes.wait_for_window(paths.xtool, subject.caption, env)
        time.sleep(SETTLE_SECONDS)
        size = processes.window_size(subject.caption, env) if subject.native else None
        pids = {"client": client.pid, "xserver": xvfb.pid}
        if server is not None:
            pids["wineserver"] = server.pid
            for pid in processes.wine_helpers(prefix, {client.pid, server.pid}):
                pids["helper%d" % pid] = pid
        before, start = sample(pids), time.monotonic()
        time.sleep(seconds)
        after, elapsed = sample(pids), time.monotonic() - start
        if client.poll() is not None:
            raise RuntimeError("%s ended during the measurement" % subject.name)
        result = costs_between(before, after, elapsed)
        result["rss_kb"] = processes.peak_rss_kb(client.pid)
        if size is not None:
            result["size"] = size
        return result
    finally:
        procs.end(client)
        if server is not None:
            processes.stop_wineserver(procs, env, server)
        procs.end(xvfb)


def measure_costs(procs, paths, seconds, reps, base_env, prefix, log):
    runs = {subject.name: [] for subject in subjects(paths)}
    order = subjects(paths)
    for rep in range(reps):
        turn = order[rep % len(order):] + order[:rep % len(order)]
        for subject in turn:
            log("cost: repetition %d/%d, %s" % (rep + 1, reps, subject.name))
            runs[subject.name].append(
                measure_subject(procs, paths, subject, seconds, base_env, prefix))
    return runs


def measure_large(procs, paths, base_env, prefix, log):
    """Each native presenter once on the large screen: its peak RSS at 3840x2160."""
    runs = {}
    for subject in native_subjects(paths):
        log("memory: %s on a %s screen" % (subject.name, processes.LARGE_SCREEN))
        runs[subject.name] = measure_subject(procs, paths, subject, LARGE_SECONDS, base_env,
                                             prefix, processes.LARGE_SCREEN)
    return runs


# --- start-up -----------------------------------------------------------------------------

def startup_ms(paths, program, env):
    done = subprocess.run([paths.xtool, "startup", "Vurazevedadar", program], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                          timeout=STARTUP_TIMEOUT, check=False)
    if done.returncode != 0:
        raise RuntimeError("xtool startup failed for %s" % program)
    return float(done.stdout.strip())


def measure_startups(paths, program, env):
    """One start to warm the caches (and Wine's helper processes), then the counted ones."""
    startup_ms(paths, program, env)
    values = []
    for _ in range(STARTUP_RUNS):
        time.sleep(0.5)
        values.append(startup_ms(paths, program, env))
    return values


def wine_launcher(workdir, exe):
    # xtool startup execs a program without arguments; exec keeps the process id, so the
    # signal that ends the measured start reaches the Wine process itself.
    path = os.path.join(workdir, "start-wine.sh")
    with open(path, "w") as script:
        script.write("#!/bin/sh\nexec wine '%s'\n" % exe)
    os.chmod(path, 0o755)
    return path


# --- tick timing --------------------------------------------------------------------------

def start_ticklog(procs, argv, env):
    """Starts the logger; returns it and the offset from its clock to CLOCK_MONOTONIC."""
    logger = procs.start(argv, env, stdout=subprocess.PIPE, text=True)
    ready = processes.select_readable(logger.stdout, HANDSHAKE_TIMEOUT)
    line = logger.stdout.readline() if ready else ""
    arrived = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    if not line.startswith("clock "):
        raise RuntimeError("the tick logger did not report its clock")
    return logger, arrived - int(line.split()[1])


def finish_ticklog(procs, logger, timeout):
    try:
        status = logger.wait(timeout=timeout)
    finally:
        procs.end(logger)
    if status != 0:
        raise RuntimeError("the tick logger ended with status %d" % status)


def log_path_for(wine, path):
    return "Z:" + path.replace("/", "\\") if wine else path


def run_schedule(procs, argv, env, wine, path):
    logger, _ = start_ticklog(procs, argv + [log_path_for(wine, path), str(TIMING_TICKS)], env)
    finish_ticklog(procs, logger, TIMING_TICKS * ticks.PERIOD_MS / 1000.0 + STARTUP_TIMEOUT)
    return ticks.schedule(ticks.read_log(path))


def run_floor_schedule(procs, paths, env, path):
    """The bare loop's own schedule, on the same server: what the loop alone achieves."""
    floor = procs.start([paths.floor, path, str(TIMING_TICKS)], env)
    finish_ticklog(procs, floor, TIMING_TICKS * ticks.PERIOD_MS / 1000.0 + STARTUP_TIMEOUT)
    return ticks.schedule(ticks.read_log(path))


def run_stall(procs, paths, argv, env, wine, path):
    logger, offset = start_ticklog(procs, argv + [log_path_for(wine, path), str(STALL_TICKS)],
                                   env)
    processes.wait_for_window(paths.xtool, "Vurazevedadar", env)
    time.sleep(STALL_AFTER_SECONDS)
    os.kill(logger.pid, signal.SIGSTOP)
    time.sleep(STALL_SECONDS)
    # Read just before the signal, so that no tick can come before it on the script's clock.
    resumed = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    os.kill(logger.pid, signal.SIGCONT)
    finish_ticklog(procs, logger, STALL_TICKS * ticks.PERIOD_MS / 1000.0 + STARTUP_TIMEOUT)
    return ticks.after_stall(ticks.read_log(path), resumed - offset)


# --- one build: start-up and timing on one X server ---------------------------------------

def measure_build(procs, paths, wine, base_env, prefix, workdir, log):
    xvfb, env = processes.start_xvfb(procs, base_env)
    server = None
    if wine:
        env = wine_env(env, prefix)
        server = processes.start_wineserver(procs, env)
    name = "wine" if wine else "native"
    if not wine:
        env = dict(env, **{PRESENT_VARIABLE: PRESENTERS["native"]})
    try:
        log("start-up: %s" % name)
        program = wine_launcher(workdir, paths.exe) if wine else paths.native
        result = {"startup_ms": measure_startups(paths, program, env)}
        argv = ["wine", paths.ticklog_exe] if wine else [paths.ticklog]
        log("tick timing: %s, %d ticks" % (name, TIMING_TICKS))
        result["schedule"] = run_schedule(procs, argv, env, wine,
                                          os.path.join(workdir, name + "-ticks.log"))
        log("tick timing: %s, stopped for %.0f s" % (name, STALL_SECONDS))
        result["stall"] = run_stall(procs, paths, argv, env, wine,
                                    os.path.join(workdir, name + "-stall.log"))
        if not wine:
            log("tick timing: native-pixmap, %d ticks" % TIMING_TICKS)
            result["pixmap_schedule"] = run_schedule(
                procs, argv, dict(env, **{PRESENT_VARIABLE: PRESENTERS["native-pixmap"]}),
                False, os.path.join(workdir, "pixmap-ticks.log"))
            log("tick timing: floor, %d ticks" % TIMING_TICKS)
            result["floor_schedule"] = run_floor_schedule(
                procs, paths, env, os.path.join(workdir, "floor-ticks.log"))
        return result
    finally:
        if server is not None:
            processes.stop_wineserver(procs, env, server)
        procs.end(xvfb)


# --- the run ------------------------------------------------------------------------------

def parse_args(argv):
    parser = argparse.ArgumentParser(prog="bench/run", description=__doc__.splitlines()[0])
    parser.add_argument("seconds", nargs="?", type=float, default=60.0,
                        help="length of each measurement window (default 60)")
    parser.add_argument("--reps", type=int, default=4,
                        help="repetitions of the cost measurement (default 4)")
    parser.add_argument("--root", required=True, help="the repository")
    parser.add_argument("--command", default="bench/run", help="the command line, for the doc")
    return parser.parse_args(argv)


def check_builds(paths):
    needed = [paths.native, paths.exe, paths.floor, paths.ticklog, paths.ticklog_exe,
              paths.xtool]
    missing = [path for path in needed if not os.path.exists(path)]
    if missing:
        raise RuntimeError("not built: " + ", ".join(missing))


# The browser build is measured by bench/web/measure.py, in a run of its own; its section of the
# page is carried over as it stands.
BROWSER_SECTION = "\n## In a browser"


def kept_browser_section(path):
    try:
        with open(path) as doc:
            old = doc.read()
    except OSError:
        return ""
    start = old.find(BROWSER_SECTION)
    return old[start:] if start >= 0 else ""


def main(argv):
    args = parse_args(argv)
    paths = Paths(args.root)
    check_builds(paths)
    processes.install_signal_exit()
    # The programs measured run on the private Xvfb alone: a session's Wayland compositor,
    # or a backend forced in the caller's environment, would take the native program elsewhere.
    session = ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "VURAZEVEDADAR_BACKEND")
    base_env = {key: value for key, value in os.environ.items() if key not in session}
    log = lambda text: print("bench: " + text, file=sys.stderr, flush=True)
    procs = processes.Processes()
    with tempfile.TemporaryDirectory(prefix="vurazevedadar-bench.") as workdir:
        try:
            facts = report.machine_facts(args, paths)
            facts["large_seconds"] = LARGE_SECONDS
            prefix = os.path.join(workdir, "prefix")
            log("making the Wine prefix")
            make_prefix(procs, base_env, prefix)
            costs = measure_costs(procs, paths, args.seconds, args.reps, base_env, prefix, log)
            large = measure_large(procs, paths, base_env, prefix, log)
            builds = {"native": measure_build(procs, paths, False, base_env, prefix, workdir, log),
                      "wine": measure_build(procs, paths, True, base_env, prefix, workdir, log)}
            facts["load_after"] = report.load_average()
        finally:
            procs.end_all()
    text = report.render(facts, costs, large, builds) + kept_browser_section(paths.doc)
    print(text)
    os.makedirs(os.path.dirname(paths.doc), exist_ok=True)
    with open(paths.doc, "w") as doc:
        doc.write(text)
    log("written to %s" % os.path.relpath(paths.doc, args.root))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
