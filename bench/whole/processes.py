"""Starting and ending the processes of a measurement, and reading what they cost from /proc.

Every process started here is recorded, so that a run that ends early (an error, Ctrl-C, a
kill) still ends each of them by its own id and leaves nothing behind.
"""
import os
import select
import signal
import subprocess
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
# The program's default window is three quarters of the screen: 768×576 on this screen, and
# 3840×2160 on the large one, where the memory that grows with the window is measured.
SCREEN = "1024x768x24"
LARGE_SCREEN = "5120x2880x24"
XVFB_START_TIMEOUT = 10.0
WINDOW_TIMEOUT = 120.0
WINDOW_POLL = 0.1
END_TIMEOUT = 10.0


class Processes:
    """The processes of one benchmark run, ended in reverse order of their start."""

    def __init__(self):
        self._started = []
        self.wine_envs = []

    def start(self, argv, env, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        proc = subprocess.Popen(argv, env=env, **kwargs)
        self._started.append(proc)
        return proc

    def end(self, proc):
        """Ends one process: SIGTERM, then SIGKILL if it will not go."""
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(timeout=END_TIMEOUT)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        if proc in self._started:
            self._started.remove(proc)

    def end_all(self):
        # wineserver -k ends the Wine processes that the program started on its own (services,
        # explorer and the like), which are not children of this script.
        for env in self.wine_envs:
            subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=False)
        for proc in reversed(list(self._started)):
            self.end(proc)


def start_xvfb(procs, base_env, screen=SCREEN):
    """A private X server on a display number it picks itself; returns (process, env)."""
    read_end, write_end = os.pipe()
    xvfb = procs.start(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
                        "-nolisten", "tcp", "-noreset"], base_env, pass_fds=(write_end,))
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + XVFB_START_TIMEOUT
    while not number.endswith(b"\n") and time.monotonic() < deadline:
        if select.select([read_end], [], [], 0.1)[0]:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
    os.close(read_end)
    if not number.strip():
        raise RuntimeError("Xvfb did not start")
    return xvfb, dict(base_env, DISPLAY=":" + number.decode().strip())


def start_wineserver(procs, env):
    """A wineserver that stays in the foreground, so that its process id is known."""
    procs.wine_envs.append(env)
    server = procs.start(["wineserver", "-f", "-p"], env)
    time.sleep(0.2)
    return server


def stop_wineserver(procs, env, server):
    subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)
    procs.end(server)
    procs.wine_envs.remove(env)


def wait_for_window(xtool, caption, env, timeout=WINDOW_TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = subprocess.run([xtool, "find", caption], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, check=False)
        if found.returncode == 0:
            return
        time.sleep(WINDOW_POLL)
    raise RuntimeError("no window named %r appeared" % caption)


def window_size(caption, env):
    """The inside of the window with that name, (width, height), as xwininfo reports it."""
    done = subprocess.run(["xwininfo", "-name", caption], env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, check=False)
    size = {}
    for line in done.stdout.splitlines():
        key, _, value = line.strip().partition(":")
        if key in ("Width", "Height"):
            size[key] = int(value)
    if done.returncode != 0 or len(size) != 2:
        raise RuntimeError("xwininfo could not read the size of the window %r" % caption)
    return size["Width"], size["Height"]


def cpu_ticks(pid):
    """utime + stime of a process (all its threads), in clock ticks; None once it is gone."""
    try:
        with open("/proc/%d/stat" % pid) as stat:
            text = stat.read()
    except OSError:
        return None
    # The command name may hold spaces and parentheses; the fields after it do not.
    fields = text[text.rindex(")") + 2:].split()
    return int(fields[11]) + int(fields[12])


def cpu_ns(pid):
    """The scheduler's run time of all the process's threads, in nanoseconds; None once it is
    gone. /proc/PID/stat counts in clock ticks of 10 ms, which over a minute is a tenth of the
    floor's whole figure; this counts to the nanosecond."""
    total = 0
    try:
        for task in os.listdir("/proc/%d/task" % pid):
            try:
                with open("/proc/%d/task/%s/schedstat" % (pid, task)) as schedstat:
                    total += int(schedstat.read().split()[0])
            except OSError:
                continue  # a thread that ended between the listing and the read
    except OSError:
        return None
    return total


def peak_rss_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError("no VmHWM for process %d" % pid)


def wine_helpers(prefix, exclude):
    """The other processes of a Wine prefix (services, explorer, ...), by their environment."""
    marker = b"\0" + ("WINEPREFIX=" + prefix).encode() + b"\0"
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit() or int(entry) in exclude:
            continue
        try:
            with open("/proc/%s/environ" % entry, "rb") as environ:
                if marker in b"\0" + environ.read():
                    found.append(int(entry))
        except OSError:
            continue
    return found


def seconds_per_minute(ticks, elapsed):
    return ticks / CLOCK_TICKS * 60.0 / elapsed


def install_signal_exit():
    """Turns SIGTERM and SIGHUP into an exception, so that the cleanup in finally runs."""
    def leave(signum, _frame):
        raise KeyboardInterrupt("signal %d" % signum)
    signal.signal(signal.SIGTERM, leave)
    signal.signal(signal.SIGHUP, leave)


def select_readable(stream, timeout):
    return bool(select.select([stream], [], [], timeout)[0])
