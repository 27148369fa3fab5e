"""What a tick log says: the spacing of the ticks, their long-run rate, and how the schedule
came back after the process was stopped and continued.
"""
import math
import statistics

PERIOD_MS = 50.0
NS_PER_MS = 1e6
# A gap this long can only be the stall; the schedule itself never leaves one.
STALL_GAP_MS = 500.0
# A tick this soon after the first one after the stall is part of a burst, unless it is the
# next tick of the original schedule, which by chance may fall just after the resumption.
BURST_WINDOW_MS = 10.0
GRID_TOLERANCE_MS = 2.0
# How soon after the continue signal the first tick counts as "at once": the loop wakes, finds
# the deadline passed and delivers; only scheduling stands in between.
AT_ONCE_MS = 10.0
RHYTHM_TICKS = 10


def read_log(path):
    with open(path) as log:
        return [int(line) for line in log if line.strip()]


def intervals_ms(stamps):
    return [(b - a) / NS_PER_MS for a, b in zip(stamps, stamps[1:])]


def percentile(values, fraction):
    """Nearest-rank percentile: the smallest value with at least that share at or below it."""
    ordered = sorted(values)
    return ordered[max(0, math.ceil(fraction * len(ordered)) - 1)]


def schedule(stamps):
    """Median, 99th percentile and largest interval in ms, and the long-run rate per second."""
    gaps = intervals_ms(stamps)
    span_s = (stamps[-1] - stamps[0]) / 1e9
    return {
        "ticks": len(stamps),
        "median_ms": statistics.median(gaps),
        "p99_ms": percentile(gaps, 0.99),
        "max_ms": max(gaps),
        "rate": (len(stamps) - 1) / span_s,
    }


def grid_distance_ms(stamp, anchor):
    """How far a tick lies from the nearest point of the 50 ms grid through anchor."""
    offset = ((stamp - anchor) / NS_PER_MS) % PERIOD_MS
    return min(offset, PERIOD_MS - offset)


def after_stall(stamps, resumed_ns):
    """The ticks around a stall. resumed_ns is the moment of SIGCONT on the log's clock."""
    gaps = intervals_ms(stamps)
    stall = next((i for i, gap in enumerate(gaps) if gap > STALL_GAP_MS), None)
    if stall is None or stall + RHYTHM_TICKS + 2 >= len(stamps):
        return {"found": False}
    first = stamps[stall + 1]
    close = [t for t in stamps[stall + 2:] if (t - first) / NS_PER_MS < BURST_WINDOW_MS]
    on_grid = all(grid_distance_ms(t, stamps[stall]) <= GRID_TOLERANCE_MS for t in close)
    rhythm = gaps[stall + 2:stall + 2 + RHYTHM_TICKS]
    result = {
        "found": True,
        "stall_ms": gaps[stall],
        "first_after_resume_ms": (first - resumed_ns) / NS_PER_MS,
        "extra_ticks_at_once": len(close),
        "extra_on_grid": on_grid,
        "next_interval_ms": gaps[stall + 1],
        "rhythm_median_ms": statistics.median(rhythm),
        "rhythm_max_ms": max(rhythm),
    }
    no_burst = not close or (len(close) == 1 and on_grid)
    result["ok"] = (0 <= result["first_after_resume_ms"] < AT_ONCE_MS and no_burst
                    and result["next_interval_ms"] <= PERIOD_MS + 1.0
                    and abs(result["rhythm_median_ms"] - PERIOD_MS) <= 1.0)
    return result
