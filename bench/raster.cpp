// The rasteriser's share of a browser frame: clearing an 800 x 600 buffer, and a frame's
// worth of the program's primitives (a few hundred short lines, arcs, pies and ellipses).
#include <benchmark/benchmark.h>

#include "raster/painter.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr raster::COLORREF kPaper = 0xFFFFFF;
constexpr raster::COLORREF kInk = 0x000000;
constexpr raster::COLORREF kBlue = 0xFF0000;

void BM_RasterClear800x600(benchmark::State& state)
{
    raster::CFrameBuffer frame;
    frame.Resize(kWidth, kHeight);
    for (auto _ : state) {
        frame.Clear(kPaper);
        benchmark::DoNotOptimize(frame.GetPixels());
    }
}
BENCHMARK(BM_RasterClear800x600);

// 200 lines of 20 to 60 pixels, 40 arcs and 40 pies of radius 10 to 50, 20 filled circles.
void DrawFrame(raster::CPainter& painter, int nPhase)
{
    for (int i = 0; i < 200; ++i) {
        const long long x = 100 + (i * 37 + nPhase) % 600;
        const long long y = 80 + (i * 53) % 440;
        painter.Line({x, y}, {x + 20 + i % 40, y + (i % 7) * 5 - 15}, kInk);
    }
    for (int i = 0; i < 40; ++i) {
        const long long cx = 150 + (i * 71 + nPhase) % 500;
        const long long cy = 120 + (i * 29) % 360;
        const long long r = 10 + i % 40;
        const raster::CBox box{cx - r, cy - r, cx + r, cy + r};
        painter.Arc(box, {cx + r, cy - i}, {cx - r, cy + i}, kInk);
        painter.Pie(box, {cx, cy - r}, {cx - r, cy}, kInk, kBlue);
    }
    for (int i = 0; i < 20; ++i) {
        const long long cx = 200 + (i * 97 + nPhase) % 400;
        const long long cy = 150 + (i * 43) % 300;
        painter.Ellipse(raster::CBox{cx - 12, cy - 12, cx + 12, cy + 12}, kInk, kBlue);
    }
}

void BM_RasterProgramFrame(benchmark::State& state)
{
    raster::CFrameBuffer frame;
    frame.Resize(kWidth, kHeight);
    raster::CPainter painter(frame);
    int nPhase = 0;
    for (auto _ : state) {
        DrawFrame(painter, nPhase++);
        benchmark::DoNotOptimize(frame.TakeDirty());
    }
}
BENCHMARK(BM_RasterProgramFrame);

}  // namespace
