// The frame's two messages as the message loop delivers them: a repaint, and a timer tick in
// each of its two kinds. A tick in which the pin stands in a slot erases and redraws the cross
// as well as the wheel; a locked tick redraws the wheel and draws the unmoved cross once.
#include <benchmark/benchmark.h>

#include "benchframe.h"

namespace {

using bench::CBenchFrame;
using bench::CPose;

// The repaint clears the window, binds and fits both canvases, draws the two bearings and puts
// the mechanism back into its initial pose, so every repaint does the same work. The call log
// is emptied each time, since a repaint writes to it and would otherwise grow without bound.
void BM_Repaint(benchmark::State& state)
{
    CBenchFrame bench;
    for (auto _ : state) {
        bench.Paint();
        headless::ClearCallLog();
    }
}
BENCHMARK(BM_Repaint);

// Every iteration starts from the pose saved before the measurement, so each one is the same
// tick of the same kind; putting the pose back is a few stores (see BM_PoseRestore).
void RunTickFrom(benchmark::State& state, int nTicksAfterPaint, bool bEngaged)
{
    CBenchFrame bench;
    bench.Ticks(nTicksAfterPaint);
    CPose pose;
    pose.Save(bench.Frame());

    bench.Tick();
    const bool bCrossMoved = bench.Frame().m_dCrossAngle != pose.m_dCrossAngle;
    if (bCrossMoved != bEngaged) {
        state.SkipWithError("the saved pose does not lead to a tick of the intended kind");
        return;
    }
    state.counters["device_calls"] = bench.DeviceCallsOfTick(pose);

    for (auto _ : state) {
        pose.Restore(bench.Frame());
        bench.Tick();
    }
}

void BM_TickEngaged(benchmark::State& state)
{
    RunTickFrom(state, bench::kTicksBeforeEngaged, true);
}
BENCHMARK(BM_TickEngaged);

void BM_TickLocked(benchmark::State& state)
{
    RunTickFrom(state, bench::kTicksBeforeLocked, false);
}
BENCHMARK(BM_TickLocked);

// The part of the tick benchmarks that is not the tick.
void BM_PoseRestore(benchmark::State& state)
{
    CBenchFrame bench;
    CPose pose;
    pose.Save(bench.Frame());
    for (auto _ : state) {
        pose.Restore(bench.Frame());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PoseRestore);

}  // namespace
