// The two moving figures on their own, drawn on a bound client DC in the pose of an engaged
// tick. A figure turns its canvas's transformation while it traces and leaves it where it
// found it only up to round-off, so the transformation is put back before every drawing.
#include <benchmark/benchmark.h>

#include "benchframe.h"

namespace {

using bench::CBenchFrame;
using bench::CBoundDC;
using bench::CPose;

// Draws one figure over and over from the same engaged pose.
template <class Draw>
void DrawFigure(benchmark::State& state, Draw draw)
{
    CBenchFrame bench;
    bench.Ticks(bench::kTicksBeforeEngaged);
    CMainFrame& frame = bench.Frame();
    CPose pose;
    pose.Save(frame);
    CBoundDC dc(frame);
    for (auto _ : state) {
        pose.Restore(frame);
        draw(frame);
    }
}

void BM_DrawCross(benchmark::State& state)
{
    DrawFigure(state, [](CMainFrame& frame) { frame.DrawCross(frame.m_pPenFore); });
}
BENCHMARK(BM_DrawCross);

void BM_DrawWheel(benchmark::State& state)
{
    DrawFigure(state, [](CMainFrame& frame) {
        frame.DrawWheel(frame.m_pPenFore, frame.m_pBrushWheel);
    });
}
BENCHMARK(BM_DrawWheel);

}  // namespace
