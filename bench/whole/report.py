"""The facts of the machine and the Markdown page (docs/performance.md) of one benchmark run."""
import datetime
import os
import statistics
import subprocess

import processes

KB_PER_MIB = 1024.0
SCREEN_TEXT = "×".join(processes.SCREEN.split("x")[:2])

LABELS = {
    "native": "native, shared memory (`build/x11/app/vurazevedadar`)",
    "native-pixmap": "native, pixmap (the same, `VURAZEVEDADAR_X11_PRESENT=pixmap`)",
    "wine": "Windows build under Wine (`vurazevedadar.exe`)",
    "floor": "floor: bare Xlib loop (`bench/whole/floor.cpp`)",
    "xclock": "`xclock -update 0.05 -norender`",
}
ORDER = ["native", "native-pixmap", "wine", "floor", "xclock"]
NATIVE = ["native", "native-pixmap"]
SHORT = {"native": "shared memory", "native-pixmap": "pixmap"}

# What the native build is held to: client and X server together against the floor's two.
SUM_GOAL = 1.0
SUM_MUST = 1.25
# The Xlib-drawing target, for the presenter that draws with X requests as the floor does: the
# client at most a fifth above the bare loop, the layers under the program aiming at a tenth.
# The shared-memory presenter rasterises on the client and spares the server, so only the sum
# judges it.
CLIENT_FACTOR = 1.2
CLIENT_TARGET = 1.1
SERVER_FACTOR = 1.2
RSS_LIMIT_MIB = 4.0
# The shared-memory presenter keeps one frame of 32-bit pixels on the client beyond that.
BYTES_PER_PIXEL = 4
BYTES_PER_KB = 1024
STARTUP_LIMIT_MS = 30.0
P99_LIMIT_MS = 51.0
RATE = 20.0
RATE_TOLERANCE = 0.001


def command_output(argv):
    try:
        done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              text=True, check=False)
    except OSError:
        return "unknown"
    lines = done.stdout.strip().splitlines()
    return lines[0] if lines else "unknown"


def first_matching(path, key):
    try:
        with open(path) as source:
            for line in source:
                if line.startswith(key):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return "unknown"


def load_average():
    with open("/proc/loadavg") as loadavg:
        return " ".join(loadavg.read().split()[:3])


def package_version(name):
    return command_output(["dpkg-query", "-W", "-f", "${Version}", name])


def machine_facts(args, paths):
    commit = command_output(["git", "-C", paths.root, "rev-parse", "--short", "HEAD"])
    # Any line from status means the work tree differs from the commit.
    dirty = command_output(["git", "-C", paths.root, "status", "--porcelain"]) != "unknown"
    return {
        "date": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC"),
        "command": "%s %g --reps %d" % (args.command, args.seconds, args.reps),
        "seconds": args.seconds,
        "reps": args.reps,
        "nproc": os.cpu_count(),
        "cpu": first_matching("/proc/cpuinfo", "model name"),
        "memory": "%.1f GiB" % (int(first_matching("/proc/meminfo", "MemTotal").split()[0])
                                / KB_PER_MIB / KB_PER_MIB),
        "kernel": os.uname().release,
        "debian": command_output(["cat", "/etc/debian_version"]),
        "xvfb": package_version("xvfb"),
        "wine": command_output(["env", "WINEDEBUG=-all", "wine", "--version"]),
        "x11_apps": package_version("x11-apps"),
        "compiler": command_output(["c++", "--version"]),
        "commit": commit + (" with uncommitted changes" if dirty else ""),
        "load_before": load_average(),
    }


# --- figures ------------------------------------------------------------------------------

def median_of(runs, key):
    values = [run[key] for run in runs if key in run]
    return statistics.median(values) if values else None


def with_sums(run):
    """The run with the CPU of client and X server added up, and for the Windows build the
    wineserver's too, which does the client's work for it; Wine's other processes are left
    out, as they have no nanosecond figure."""
    run = dict(run)
    run["sum"] = run["client"] + run["xserver"] + run.get("wineserver", 0.0)
    run["sum_ns"] = run["client_ns"] + run["xserver_ns"] + run.get("wineserver_ns", 0.0)
    return run


def medians(costs):
    keys = ("client", "xserver", "wineserver", "helpers", "rss_kb", "client_ns", "xserver_ns",
            "wineserver_ns", "sum", "sum_ns")
    return {name: {key: median_of([with_sums(run) for run in runs], key) for key in keys}
            for name, runs in costs.items()}


def cpu(value):
    return "—" if value is None else "%.2f" % value


def ratio(value, floor):
    return "—" if value is None or not floor else "%.2f×" % (value / floor)


def mib(kb, digits=1):
    return "—" if kb is None else "%.*f" % (digits, kb / KB_PER_MIB)


def cost_table(costs):
    table = medians(costs)
    floor = table["floor"]
    lines = ["| subject | client CPU s/min | × floor | X server CPU s/min | × floor "
             "| wineserver CPU s/min | sum s/min | × floor's sum | peak RSS MiB | × floor |",
             "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"]
    for name in ORDER:
        row = table[name]
        lines.append("| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |" % (
            LABELS[name], cpu(row["client"]), ratio(row["client"], floor["client"]),
            cpu(row["xserver"]), ratio(row["xserver"], floor["xserver"]),
            cpu(row["wineserver"]), cpu(row["sum"]), ratio(row["sum"], floor["sum"]),
            mib(row["rss_kb"]), ratio(row["rss_kb"], floor["rss_kb"])))
    return lines


def precise_ratio(value, floor):
    return "—" if value is None or not floor else "%.3f×" % (value / floor)


def precise_table(costs):
    table = medians(costs)
    floor = table["floor"]
    lines = ["| subject | client CPU s/min | × floor | X server CPU s/min | × floor "
             "| wineserver CPU s/min | sum s/min | × floor's sum |",
             "|---|---:|---:|---:|---:|---:|---:|---:|"]
    for name in ORDER:
        row = table[name]
        lines.append("| %s | %.3f | %s | %.3f | %s | %s | %.3f | %s |" % (
            name, row["client_ns"], precise_ratio(row["client_ns"], floor["client_ns"]),
            row["xserver_ns"], precise_ratio(row["xserver_ns"], floor["xserver_ns"]),
            "—" if row["wineserver_ns"] is None else "%.3f" % row["wineserver_ns"],
            row["sum_ns"], precise_ratio(row["sum_ns"], floor["sum_ns"])))
    return lines


def raw_table(costs):
    lines = ["| subject | repetition | client | X server | wineserver | sum "
             "| other Wine processes | VmHWM kB |", "|---|---:|---:|---:|---:|---:|---:|---:|"]
    for name in ORDER:
        for index, run in enumerate(costs[name], 1):
            helpers = run["helpers"] if "wineserver" in run else None
            lines.append("| %s | %d | %s | %s | %s | %s | %s | %d |" % (
                name, index, cpu(run["client"]), cpu(run["xserver"]),
                cpu(run.get("wineserver")), cpu(with_sums(run)["sum"]), cpu(helpers),
                run["rss_kb"]))
    return lines


def verdict(ok):
    return "met" if ok else "**missed**"


def cpu_check(row, limit_row, key, factor):
    """One CPU goal for one subject: (text, met), judged on the nanosecond figure."""
    value, limit = row[key + "_ns"], factor * limit_row[key + "_ns"]
    text = "%.4f vs %.4f (`stat`: %.2f vs %.2f)" % (value, limit, row[key],
                                                   factor * limit_row[key])
    return text, value <= limit


def framebuffer_limit_kb(size):
    width, height = size
    return RSS_LIMIT_MIB * KB_PER_MIB + width * height * BYTES_PER_PIXEL / BYTES_PER_KB


def rss_check(rss_kb, limit_kb):
    return "%s vs %s MiB" % (mib(rss_kb, 2), mib(limit_kb, 2)), rss_kb <= limit_kb


def size_of(runs):
    sizes = [tuple(run["size"]) for run in runs if "size" in run]
    return sizes[0] if sizes else None


def cost_checks(costs, large):
    """(what, {subject: (text, met)}) for each goal; a subject a goal does not apply to is left
    out of it."""
    table = medians(costs)
    floor, xclock = table["floor"], table["xclock"]
    both = {name: table[name] for name in NATIVE}
    pixmap = {"native-pixmap": table["native-pixmap"]}

    def each(rows, check):
        return {name: check(name, row) for name, row in rows.items()}

    def rss_at(runs_of):
        def check(name, _row):
            runs = runs_of(name)
            size = size_of(runs)
            rss = median_of(runs, "rss_kb")
            return rss_check(rss, framebuffer_limit_kb(size)) if size else ("no size", False)
        return check

    return [
        ("client + X server ≤ %.1f × floor's sum (goal)" % SUM_GOAL,
         each(both, lambda n, r: cpu_check(r, floor, "sum", SUM_GOAL))),
        ("client + X server ≤ %.2f × floor's sum (must)" % SUM_MUST,
         each(both, lambda n, r: cpu_check(r, floor, "sum", SUM_MUST))),
        ("client + X server below xclock's",
         each(both, lambda n, r: cpu_check(r, xclock, "sum", 1.0))),
        ("peak RSS ≤ %.0f MiB + framebuffer, %s" % (RSS_LIMIT_MIB, size_text(
            size_of(costs["native"]))), each(both, rss_at(lambda n: costs[n]))),
        ("peak RSS ≤ %.0f MiB + framebuffer, %s" % (RSS_LIMIT_MIB, size_text(
            size_of([large["native"]]))), each(both, rss_at(lambda n: [large[n]]))),
        ("peak RSS below xclock's", each(both, lambda n, r: (
            "%s vs %s MiB" % (mib(r["rss_kb"]), mib(xclock["rss_kb"])),
            r["rss_kb"] < xclock["rss_kb"]))),
        ("Xlib drawing: client CPU ≤ %.1f × floor" % CLIENT_FACTOR,
         each(pixmap, lambda n, r: cpu_check(r, floor, "client", CLIENT_FACTOR))),
        ("Xlib drawing: client CPU ≤ %.1f × floor" % CLIENT_TARGET,
         each(pixmap, lambda n, r: cpu_check(r, floor, "client", CLIENT_TARGET))),
        ("Xlib drawing: X server CPU ≤ %.1f × floor's" % SERVER_FACTOR,
         each(pixmap, lambda n, r: cpu_check(r, floor, "xserver", SERVER_FACTOR))),
        ("Xlib drawing: client CPU below xclock",
         each(pixmap, lambda n, r: cpu_check(r, xclock, "client", 1.0))),
        ("Xlib drawing: X server CPU below xclock",
         each(pixmap, lambda n, r: cpu_check(r, xclock, "xserver", 1.0))),
        ("Xlib drawing: peak RSS ≤ %.0f MiB" % RSS_LIMIT_MIB, each(pixmap, lambda n, r: (
            "%s MiB" % mib(r["rss_kb"]), r["rss_kb"] <= RSS_LIMIT_MIB * KB_PER_MIB))),
    ]


def cost_goals(costs, large):
    """The CPU goals are judged on the nanosecond figures: the 10 ms ticks of /proc/PID/stat
    round the same quantity to a tenth of the floor's whole cost."""
    lines = ["| goal | native, shared memory | | native, pixmap | |",
             "|---|---|---|---|---|"]
    for what, results in cost_checks(costs, large):
        cells = []
        for name in NATIVE:
            if name in results:
                text, ok = results[name]
                cells += [text, verdict(ok)]
            else:
                cells += ["does not apply", ""]
        lines.append("| %s | %s |" % (what, " | ".join(cells)))
    return lines


def size_text(size):
    return "?×?" if size is None else "%d×%d" % size


def memory_table(costs, large):
    lines = ["| presenter | client size | screen | peak RSS MiB | 4 MiB + framebuffer MiB | |",
             "|---|---|---|---:|---:|---|"]
    for runs_of, screen in ((lambda n: costs[n], "1024×768"), (lambda n: [large[n]],
                                                                "5120×2880")):
        for name in NATIVE:
            runs = runs_of(name)
            size = size_of(runs)
            rss = median_of(runs, "rss_kb")
            limit = framebuffer_limit_kb(size) if size else None
            lines.append("| %s | %s | %s | %s | %s | %s |" % (
                SHORT[name], size_text(size), screen, mib(rss, 2), mib(limit, 2),
                verdict(limit is not None and rss <= limit)))
    return lines


def timing_table(builds):
    lines = ["| build | ticks | median interval ms | p99 ms | largest ms | rate ticks/s "
             "| rate off 20/s |", "|---|---:|---:|---:|---:|---:|---:|"]
    rows = [("native, shared memory", builds["native"]["schedule"]),
            ("native, pixmap", builds["native"]["pixmap_schedule"]),
            ("wine", builds["wine"]["schedule"]),
            ("floor (same server, right after the native runs)", builds["native"]["floor_schedule"])]
    for name, s in rows:
        lines.append("| %s | %d | %.3f | %.3f | %.3f | %.4f | %+.3f %% |" % (
            name, s["ticks"], s["median_ms"], s["p99_ms"], s["max_ms"], s["rate"],
            (s["rate"] / RATE - 1.0) * 100.0))
    return lines


def stall_table(builds):
    lines = ["| build | first tick after SIGCONT | more ticks within 10 ms of it "
             "| next interval | then (median, largest of 10) | no burst, rhythm back |",
             "|---|---:|---:|---:|---:|---|"]
    for name, label in (("native", "native, shared memory"), ("wine", "wine")):
        s = builds[name]["stall"]
        if not s["found"]:
            lines.append("| %s | no stall in the log | | | | **missed** |" % label)
            continue
        extra = "%d%s" % (s["extra_ticks_at_once"],
                          " (on the schedule)" if s["extra_ticks_at_once"] else "")
        lines.append("| %s | %.2f ms | %s | %.2f ms | %.2f ms, %.2f ms | %s |" % (
            label, s["first_after_resume_ms"], extra, s["next_interval_ms"],
            s["rhythm_median_ms"], s["rhythm_max_ms"], verdict(s["ok"])))
    return lines


def timing_goals(builds):
    s = builds["native"]["schedule"]
    rate_ok = abs(s["rate"] / RATE - 1.0) <= RATE_TOLERANCE
    startup = statistics.median(builds["native"]["startup_ms"])
    checks = [
        ("median interval 50.0 ms", "%.3f ms" % s["median_ms"], round(s["median_ms"], 1) == 50.0),
        ("p99 ≤ %.0f ms" % P99_LIMIT_MS, "%.3f ms" % s["p99_ms"], s["p99_ms"] <= P99_LIMIT_MS),
        ("rate 20.00/s within 0.1 %", "%.4f/s" % s["rate"], rate_ok),
        ("one tick at once after a stall, then the rhythm", "see above",
         builds["native"]["stall"].get("ok", False)),
        ("start-up ≤ %.0f ms (median)" % STARTUP_LIMIT_MS, "%.1f ms" % startup,
         startup <= STARTUP_LIMIT_MS),
    ]
    return ["| native, shared memory | measured | |", "|---|---|---|"] + [
        "| %s | %s | %s |" % (what, value, verdict(ok)) for what, value, ok in checks]


def startup_table(builds):
    lines = ["| build | median ms | fastest | slowest | all runs |", "|---|---:|---:|---:|---|"]
    for name in ("native", "wine"):
        values = builds[name]["startup_ms"]
        lines.append("| %s | %.1f | %.1f | %.1f | %s |" % (
            name, statistics.median(values), min(values), max(values),
            " ".join("%.1f" % v for v in values)))
    return lines


# --- the page -----------------------------------------------------------------------------

def render(facts, costs, large, builds):
    f = facts
    parts = [
        "# Performance of the running program",
        "",
        "Generated by `bench/run`; do not edit by hand. Every figure below comes from one run "
        "of that script, in which all subjects were measured one after another.",
        "",
        "## The run",
        "",
        "- Date: %s; repository at %s." % (f["date"], f["commit"]),
        "- Command: `%s` (measurement window %g s, cost measured %d time%s per subject)."
        % (f["command"], f["seconds"], f["reps"], "" if f["reps"] == 1 else "s"),
        "- Machine: %s cores (`nproc`), %s, %s of memory; Linux %s, Debian %s."
        % (f["nproc"], f["cpu"], f["memory"], f["kernel"], f["debian"]),
        "- Software: Xvfb %s, %s, x11-apps %s, %s." % (f["xvfb"], f["wine"], f["x11_apps"],
                                                        f["compiler"]),
        "- Load average at the start %s, at the end %s. The machine has two cores and other "
        "work (fuzzing, builds) may run beside the benchmark: single runs vary by up to a factor "
        "of two, so the figures are medians, and only figures from the same run are compared."
        % (f["load_before"], f["load_after"]),
        "",
        "## What the program costs",
        "",
        "The native program presents each tick as one whole frame, in one of two ways chosen "
        "when it starts: with shared memory (its own software rasteriser draws the frame into "
        "an image on the client, which `XShmPutImage` hands to the server; what it chooses on "
        "a local display) or with a pixmap (Xlib requests draw the frame into a back buffer "
        "in the server, and one `XCopyArea` shows it). Both are measured, forced with "
        "`VURAZEVEDADAR_X11_PRESENT=shm` and `=pixmap`. The first moves the drawing from the "
        "server to the client, so client and X server are judged by their sum.",
        "",
        "CPU seconds per minute of animation (utime + stime from `/proc/PID/stat`, read before "
        "and after the window) and peak resident memory (VmHWM from `/proc/PID/status`); "
        "medians of the repetitions. Each subject ran alone on a fresh %s Xvfb, where every "
        "window is 768×576, so the X server's time is that subject's; the order of the "
        "subjects rotated from one repetition to the next. The floor draws the same figures "
        "with the same X requests straight from Xlib, onto the window itself. The sum is "
        "client and X server, and for the Windows build also the wineserver."
        % SCREEN_TEXT,
        "",
    ]
    parts += cost_table(costs)
    parts += [
        "",
        "`/proc/PID/stat` counts in clock ticks of 10 ms: over one minute that is 0.01 s/min, "
        "a tenth of the floor's figure. The same windows by the scheduler's nanosecond run "
        "time (the sum of `/proc/PID/task/*/schedstat`), medians:",
        "",
    ]
    parts += precise_table(costs)
    parts += [
        "",
        "## Memory at two sizes",
        "",
        "The shared-memory presenter keeps one frame of 32-bit pixels on the client, so its "
        "peak RSS grows with the window; the pixmap presenter keeps its frame in the X server. "
        "The first two rows are the medians of the cost runs above; the last two come from one "
        "run of %g s of each presenter on a 5120×2880 Xvfb, where the default window is three "
        "quarters of the screen. The client size is the window's inside as `xwininfo` reports "
        "it; the bound is 4 MiB plus width × height × 4 bytes." % facts["large_seconds"],
        "",
    ] + memory_table(costs, large)
    parts += ["", "Goals of the cost (CPU judged to the nanosecond; the `stat` figures in "
              "parentheses). The sum is the one the program is held to, for both presenters. "
              "The rows marked \"Xlib drawing\" are the target of a client that draws with X "
              "requests as the floor does, and apply to the pixmap presenter only: the "
              "shared-memory presenter rasterises on the client and spares the server, so its "
              "client is expected above the floor's and only the sum judges it.",
              ""] + cost_goals(costs, large)
    parts += ["", "Every repetition (CPU s/min):", ""] + raw_table(costs)
    parts += [
        "",
        "For the Windows build, \"client\" is the program's own process and \"wineserver\" "
        "the prefix's server; Wine's other processes (services, explorer, device drivers) "
        "are listed on their own.",
        "",
        "## Tick timing",
        "",
        "`bench/whole/ticklog` is the program with one addition: a frame derived from "
        "`CMainFrame` whose message map stamps each WM_TIMER (CLOCK_MONOTONIC on Linux, "
        "QueryPerformanceCounter on Windows) before calling `CMainFrame::OnTimer`. It ran for "
        "600 ticks on a fresh Xvfb (for Wine, with the prefix's server already up); the native "
        "logger once with each presenter, on the same server. The floor "
        "stamps its ticks the same way when given a log (`floor LOG 600`): its row shows what "
        "the bare loop achieves on the same server at nearly the same time, so that the load "
        "of the machine can be told apart from the program's own timing.",
        "",
    ]
    parts += timing_table(builds)
    parts += [
        "",
        "After a stall: the logger ran, was stopped with SIGSTOP for 1 s and continued with "
        "SIGCONT; the moment of SIGCONT is placed on the log's clock by the clock reading the "
        "logger prints when it starts. A second tick within 10 ms of the first one is a burst "
        "unless it lies on the original 50 ms schedule.",
        "",
    ]
    parts += stall_table(builds)
    parts += [
        "",
        "## Start-up",
        "",
        "Milliseconds from exec to the first painted pixel of the window (`build/x11/tests/xtool "
        "startup`), after one uncounted start that warms the caches. Under Wine the prefix "
        "was made and its server and helper processes were running (a warm prefix); xtool "
        "execs a two-line shell script that execs `wine vurazevedadar.exe`.",
        "",
    ]
    parts += startup_table(builds)
    parts += ["", "Goals of the timing and the start-up:", ""] + timing_goals(builds)
    parts += [
        "",
        "## How to run it",
        "",
        "```sh",
        "cmake --preset x11 && cmake --build --preset x11",
        "cmake --preset windows && cmake --build --preset windows",
        "bench/run              # 60 s windows, 4 repetitions: about 25 minutes",
        "bench/run 30 --reps 2  # a quicker look: about 9 minutes",
        "```",
        "",
        "The commands it runs, one at a time:",
        "",
        "```sh",
        "Xvfb -displayfd FD -screen 0 %s -nolisten tcp -noreset   # one per subject"
        % processes.SCREEN,
        "Xvfb -displayfd FD -screen 0 %s -nolisten tcp -noreset   # the large size"
        % processes.LARGE_SCREEN,
        "VURAZEVEDADAR_X11_PRESENT=shm build/x11/app/vurazevedadar",
        "VURAZEVEDADAR_X11_PRESENT=pixmap build/x11/app/vurazevedadar",
        "xwininfo -name Vurazevedadar                 # the client size",
        "wine build/windows/app/vurazevedadar.exe     # WINEPREFIX of the run, WINEDEBUG=-all",
        "build/x11/bench/whole/floor",
        "xclock -update 0.05 -norender",
        "wineboot -i; wineserver -f -p; wineserver -k  # once per run / around each Wine subject",
        "build/x11/tests/xtool startup Vurazevedadar build/x11/app/vurazevedadar",
        "build/x11/bench/whole/ticklog LOG 600        # with each presenter",
        "build/x11/bench/whole/floor LOG 600",
        "wine build/windows/bench/whole/ticklog.exe Z:\\...\\LOG 600",
        "```",
        "",
    ]
    return "\n".join(parts)
