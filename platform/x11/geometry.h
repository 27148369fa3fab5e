// GDI's drawing geometry translated into what the X protocol can carry: 16-bit coordinates,
// arcs in 1/64 degree with skewed angles. Pure functions on 64-bit device coordinates, so that
// nothing overflows on the way from a logical point plus the viewport origin to the server.
#ifndef VURAZEVEDADAR_X11_GEOMETRY_H
#define VURAZEVEDADAR_X11_GEOMETRY_H

#include "backend.h"

namespace x11 {

// The range of an X coordinate (INT16).
const long long kCoordMin = -32768;
const long long kCoordMax = 32767;
// A window is at most kCoordMax pixels wide, so no window shows a pixel beyond this.
const long long kLastVisiblePixel = kCoordMax - 1;

// A full turn in X's arc units.
const int kFullCircle64 = 360 * 64;

using portable::BoxCentre;
using portable::DeviceBox;
using portable::DevicePoint;
using portable::NormalizeBox;

inline bool FitsCoord(long long v)
{
    return v >= kCoordMin && v <= kCoordMax;
}

inline bool FitsCoords(const DevicePoint& pt)
{
    return FitsCoord(pt.x) && FitsCoord(pt.y);
}

// Cuts a segment that does not fit to the coordinate range of X; false when none of it lies
// inside. A cut end lands on the nearest pixel of the ideal line, so the part a window can
// show may move by at most half a pixel.
bool CutSegment(DevicePoint* pFrom, DevicePoint* pTo);

// The same for any segment; one that already fits, as nearly every one does, is returned
// exactly and at no cost beyond the test.
inline bool ClipSegment(DevicePoint* pFrom, DevicePoint* pTo)
{
    return (FitsCoords(*pFrom) && FitsCoords(*pTo)) || CutSegment(pFrom, pTo);
}

// Pulls the edges of a Rectangle box that lie beyond any window in to just outside the
// visible range, where the outline they carry stays invisible and the brush still reaches the
// window's edge. False when no pixel of the box can be visible.
bool ClampOutlineBox(DeviceBox* pBox);

// An X arc: the bounding box of the ideal ellipse and the start and sweep in 1/64 degree.
struct ArcRequest {
    int x;
    int y;
    unsigned width;
    unsigned height;
    int angle1;
    int angle2;
};

// Converts a GDI box and its two radial points into the X arc GDI would draw: the box less one
// pixel on the right and bottom, angles in the ellipse's skewed (parametric) measure, swept
// counter-clockwise from start to end, a full turn when the points coincide. False when the
// box does not fit X's coordinates or has no area.
bool GdiArcToX(const DeviceBox& box, DevicePoint ptStart, DevicePoint ptEnd, ArcRequest* pArc);

// The point of the arc's ideal ellipse at a skewed angle in 1/64 degree, to the nearest pixel.
DevicePoint PointOnArc(const ArcRequest& arc, long long nAngle64);

}  // namespace x11

#endif  // VURAZEVEDADAR_X11_GEOMETRY_H
