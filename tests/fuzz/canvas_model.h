// What the canvas should do, written out a second time in the plainest form: the world-to-device
// formula with its bounds, the five orientations in 64 bits, and the device boxes of DrawRect,
// Arc, Pie and Circle. The fuzz targets compare the canvas against these. Every int conversion
// here is checked first, so the model itself cannot overflow whatever the canvas holds.
#ifndef VURAZEVEDADAR_FUZZ_CANVAS_MODEL_H
#define VURAZEVEDADAR_FUZZ_CANVAS_MODEL_H

#include <worldcanvas.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "fuzz_device.h"

namespace fuzz {

// The open bounds of a device coordinate before truncation, and the range that truncation
// itself accepts: [-2^31, 2^31) after rounding toward zero means (-2^31 - 1, 2^31) before.
const double kDeviceLow = -2147483648.0;
const double kDeviceHigh = 2147483647.0;
const double kTruncLow = -2147483649.0;
const double kTruncHigh = 2147483648.0;

struct CModelPoint {
    int x;
    int y;
};

// The world-to-device mapping: false when a coordinate would leave the int range (or is NaN).
inline bool ModelWorldToDevice(const CWorldCanvas& c, double x, double y, CModelPoint* pPoint)
{
    const double W = c.m_nWidth;
    const double H = c.m_nHeight;
    const double dx = ((x - c.m_dWinX0) * W) / (c.m_dWinX1 - c.m_dWinX0);
    const double dy = ((y - c.m_dWinY0) * H) / (c.m_dWinY1 - c.m_dWinY0);
    if (!(kDeviceLow < dx && dx < kDeviceHigh))
        return false;
    if (!(H - kDeviceHigh < dy && dy < H + kDeviceHigh + 1.0))
        return false;
    // The bounds on dy are exact, but H - dy is rounded once more; the promise is that this
    // rounding never carries it past what truncation accepts.
    const double deviceY = H - dy;
    FUZZ_CHECK(deviceY > kTruncLow && deviceY < kTruncHigh);
    pPoint->x = static_cast<int>(dx);
    pPoint->y = static_cast<int>(deviceY);
    return true;
}

// ToDevice's table in 64 bits: false for an unknown orientation.
inline bool ModelOrient(const CWorldCanvas& c, int x, int y, long long* pX, long long* pY)
{
    const long long W = c.m_nWidth;
    const long long H = c.m_nHeight;
    switch (c.m_nOrientation) {
    case 0:
        *pX = x;
        *pY = H - y;
        return true;
    case 1:
        *pX = x + W / 2;
        *pY = H / 2 - y;
        return true;
    case 2:
        *pX = x;
        *pY = y;
        return true;
    case 3:
        *pX = W - x;
        *pY = y;
        return true;
    case 4:
        *pX = W - x;
        *pY = H - y;
        return true;
    default:
        return false;
    }
}

// The box through two corners with the right and bottom edges one further out; false when an
// edge does not fit in an int.
inline bool ModelBox(long long x0, long long y0, long long x1, long long y1,
                     std::vector<int>* pArgs)
{
    const long long edges[] = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1,
                               std::max(y0, y1) + 1};
    for (long long edge : edges) {
        if (!FitsInt(edge))
            return false;
    }
    pArgs->assign(std::begin(edges), std::end(edges));
    return true;
}

inline bool ModelDrawRect(const CWorldCanvas& c, int x0, int y0, int x1, int y1,
                          std::vector<int>* pArgs)
{
    long long X0, Y0, X1, Y1;
    return ModelOrient(c, x0, y0, &X0, &Y0) && ModelOrient(c, x1, y1, &X1, &Y1) &&
           ModelBox(X0, Y0, X1, Y1, pArgs);
}

inline void AppendPoint(std::vector<int>* pArgs, CModelPoint p)
{
    pArgs->push_back(p.x);
    pArgs->push_back(p.y);
}

// The arguments of the device Arc: both corners mapped on their own.
inline bool ModelArc(const CWorldCanvas& c, double cx, double cy, double rx, double ry, double x1,
                     double y1, double x2, double y2, std::vector<int>* pArgs)
{
    CModelPoint a, b, s, e;
    if (!ModelWorldToDevice(c, cx - rx, cy - ry, &a) ||
        !ModelWorldToDevice(c, cx + rx, cy + ry, &b) || !ModelWorldToDevice(c, x1, y1, &s) ||
        !ModelWorldToDevice(c, x2, y2, &e) || !ModelBox(a.x, a.y, b.x, b.y, pArgs))
        return false;
    AppendPoint(pArgs, s);
    AppendPoint(pArgs, e);
    return true;
}

// The arguments of the device Pie: the mapped corner and its mirror image through the mapped
// centre.
inline bool ModelPie(const CWorldCanvas& c, double cx, double cy, double r, double x1, double y1,
                     double x2, double y2, std::vector<int>* pArgs)
{
    CModelPoint centre, k, s, e;
    if (!ModelWorldToDevice(c, cx, cy, &centre) || !ModelWorldToDevice(c, cx + r, cy + r, &k) ||
        !ModelWorldToDevice(c, x1, y1, &s) || !ModelWorldToDevice(c, x2, y2, &e))
        return false;
    const long long mx = 2LL * centre.x - k.x;
    const long long my = 2LL * centre.y - k.y;
    if (!ModelBox(k.x, k.y, mx, my, pArgs))
        return false;
    AppendPoint(pArgs, s);
    AppendPoint(pArgs, e);
    return true;
}

// The arguments of the device Ellipse: one integer radius, the mean of the two extents.
inline bool ModelCircle(const CWorldCanvas& c, double cx, double cy, double r,
                        std::vector<int>* pArgs)
{
    CModelPoint centre, k;
    if (!ModelWorldToDevice(c, cx, cy, &centre) || !ModelWorldToDevice(c, cx + r, cy + r, &k))
        return false;
    const long long R = (std::llabs(static_cast<long long>(k.x) - centre.x) +
                         std::llabs(static_cast<long long>(k.y) - centre.y)) / 2;
    return ModelBox(centre.x - R, centre.y - R, centre.x + R, centre.y + R, pArgs);
}

}  // namespace fuzz

#endif  // VURAZEVEDADAR_FUZZ_CANVAS_MODEL_H
