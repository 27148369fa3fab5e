// A drawing surface in world coordinates. A canvas is bound for a short time to a device
// context, fits a world rectangle (doubles, y pointing up) into the part of the device it
// covers, and draws lines, arcs, pies, circles and rectangles there, either directly in world
// coordinates or through its plane transformation (the T-prefixed operations).
#ifndef VURAZEVEDADAR_WORLDCANVAS_H
#define VURAZEVEDADAR_WORLDCANVAS_H

#include <afxwin.h>

#include "viewtransform.h"

class CWorldCanvas : public CViewTransform {
public:
    CWorldCanvas(CWnd* pWnd, CDC* pDC, int bClip);
    ~CWorldCanvas();
    CWorldCanvas(const CWorldCanvas&) = delete;  // a copy would share the clip region
    CWorldCanvas& operator=(const CWorldCanvas&) = delete;

    // Binding, viewport and world window.
    void Attach(CWnd* pWnd, CDC* pDC, int bClip);
    void SetDC(CDC* pDC, int nWidth, int nHeight, int bClip);
    void SetViewport(int x, int y, int nWidth, int nHeight, int nOrientation);
    void SetWindow(double x0, double y0, double x1, double y1, double dMargin);
    int WorldToDevice(double x, double y, int* px, int* py) const;
    void ToDevice(int x, int y, int* px, int* py) const;
    void Clear(CBrush* pBrush, CPen* pPen, int nInset);
    void DrawRect(int x0, int y0, int x1, int y1);
    COLORREF ColorOf(int nIndex) const;

    // Primitives in world coordinates.
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    int Arc(double cx, double cy, double rx, double ry, double x1, double y1, double x2,
            double y2);
    int Arc(double cx, double cy, double r, double x1, double y1, double x2, double y2);
    int Pie(double cx, double cy, double r, double x1, double y1, double x2, double y2);
    int Circle(double cx, double cy, double r);

    // Primitives in local coordinates, placed by the plane transformation. Radii are passed on
    // unscaled.
    void TMoveTo(double x, double y);
    void TLineTo(double x, double y);
    int TArc(double cx, double cy, double r, double x1, double y1, double x2, double y2);
    int TCircle(double cx, double cy, double r);

    CDC* m_pDC;
    CRgn* m_pClipRgn;
    int m_nWidth;
    int m_nHeight;
    int m_nOrgX;
    int m_nOrgY;
    int m_nOrientation;
    int m_nPenState;
    int m_nLastX;
    int m_nLastY;
    int m_nMarkerSize;
    int m_bClip;
    double m_dWinX0;
    double m_dWinY0;
    double m_dWinX1;
    double m_dWinY1;

private:
    // Open bounds for a device coordinate before truncation: beyond them the conversion to int
    // would not be defined.
    static constexpr double kDeviceLow = -2147483648.0;
    static constexpr double kDeviceHigh = 2147483647.0;

    // Values of m_nPenState.
    enum {
        penNoStart = 0,     // the next LineTo only records its point
        penStartKept = 1,   // a start point is recorded; the device pen may be elsewhere
        penAtLastPoint = 2  // the device pen stands on the recorded point
    };

    void ReleaseClipRgn();
    // ToDevice's mapping, widened so that the caller can see a failure: 0 for an unknown
    // orientation, otherwise 1 with the point in 64 bits (it may not fit in an int).
    int OrientPoint(int x, int y, long long* pX, long long* pY) const;
    // The device box with both corners inside (right and bottom edges one further out); 0 when
    // an edge does not fit in an int, and then *pBox is not written.
    static int MakeBox(long long x0, long long y0, long long x1, long long y1, RECT* pBox);
};

// Inline, since every point of every figure is mapped here and a call would cost as much as
// the mapping.
inline int CWorldCanvas::WorldToDevice(double x, double y, int* px, int* py) const
{
    const double W = m_nWidth;
    const double H = m_nHeight;
    const double dx = ((x - m_dWinX0) * W) / (m_dWinX1 - m_dWinX0);
    const double dy = ((y - m_dWinY0) * H) / (m_dWinY1 - m_dWinY0);
    // Written as negated ranges so that NaN (from a degenerate window or a NaN input) fails.
    if (!(dx > kDeviceLow && dx < kDeviceHigh))
        return 0;
    // The device y is H - dy; these are its bounds moved over to dy, where they are exact.
    if (!(dy > H - kDeviceHigh && dy < H - kDeviceLow))
        return 0;
    *px = static_cast<int>(dx);
    *py = static_cast<int>(H - dy);
    return 1;
}

#endif  // VURAZEVEDADAR_WORLDCANVAS_H
