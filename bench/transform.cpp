// The two numeric steps every figure repeats: mapping a world point to the device, and turning
// a canvas's transformation about a point.
#include <benchmark/benchmark.h>

#include "benchframe.h"

namespace {

using bench::CBenchFrame;

// A point on the cross's rim, inside the fitted world window of a repaint.
constexpr double kWorldX = 19.5;
constexpr double kWorldY = 48.25;

// One tick's step of the driving wheel (pi/15), the turn the wheel canvas makes per tick.
constexpr double kTurn = 0.20943951023931953;

// Angles that follow each other in BM_RotateChangingAngle: each call gets another angle than
// the two before it, so nothing computed for an earlier call can serve it.
constexpr int kAngleCount = 3;
constexpr double kAngles[kAngleCount] = {kTurn, -kTurn, 2.0 * kTurn};

// The world window and viewport are those a repaint of the usual window fits.
void BM_WorldToDevice(benchmark::State& state)
{
    CBenchFrame bench;
    const CWorldCanvas& canvas = bench.Frame().m_canvasCross;
    double x = kWorldX;
    double y = kWorldY;
    int px = 0;
    int py = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
        benchmark::DoNotOptimize(canvas.WorldToDevice(x, y, &px, &py));
        benchmark::DoNotOptimize(px);
        benchmark::DoNotOptimize(py);
    }
}
BENCHMARK(BM_WorldToDevice);

// The same angle every time, as the cross turns its canvas by -pi/6 twelve times a drawing. A
// rotation about the wheel's centre keeps the matrix bounded however often it is applied, so
// the canvas may simply go on turning.
void BM_Rotate(benchmark::State& state)
{
    CBenchFrame bench;
    CWorldCanvas& canvas = bench.Frame().m_canvasWheel;
    const double dCentreY = bench.Frame().m_dDistance;
    double dAngle = kTurn;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dAngle);
        canvas.Rotate(0.0, dCentreY, dAngle);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Rotate);

void BM_RotateChangingAngle(benchmark::State& state)
{
    CBenchFrame bench;
    CWorldCanvas& canvas = bench.Frame().m_canvasWheel;
    const double dCentreY = bench.Frame().m_dDistance;
    int nAngle = 0;
    for (auto _ : state) {
        canvas.Rotate(0.0, dCentreY, kAngles[nAngle]);
        nAngle = nAngle + 1 == kAngleCount ? 0 : nAngle + 1;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RotateChangingAngle);

}  // namespace
