// The floor of the whole-program benchmark: the least an Xlib client can do to show the same
// animation. It draws the same figures as the program, at the same size and with the same X
// requests (a wheel of four lines, an arc and a filled circle; a cross of 24 lines and 12
// arcs; erased by redrawing in the background colour every 50 ms), but with no framework, no
// canvas and no handles in between: plain Xlib calls straight from the geometry. What the
// program costs beyond this is the price of its layers. The bearings are left out: the program
// draws them once per repaint, not per tick, and they cost nothing over a minute.
// Usage: floor [LOG TICKS]   (runs until ended; given a log, it stamps each tick on
//                            CLOCK_MONOTONIC as the tick logger does, writes the stamps
//                            after TICKS ticks and ends: the timing of the bare loop)
//        floor --torn        (sends each tick's erasing at once and waits 5 ms before drawing:
//                            a client whose ticks reach the screen half drawn, which the
//                            compositor tests must catch)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

const long long kPeriodNs = 50000000;  // one tick, as the program's timer
const long long kNsPerMs = 1000000;
const long long kNsPerSecond = 1000000000;
const long long kTornPauseNs = 5000000;

// The mechanism, in world units, and its world window (the program's, margins included).
const double kDistance = 60.0;
const double kCrank = 30.0;
const double kDisc = 22.5;
const double kPin = 4.5;
const double kShoulder = 0.7;
const double kPi = 3.141592653589793;
const double kWorldWidth = 120.0 * 1.1;
const double kWorldHeight = (kDistance + kDistance + kCrank + kPin) * 1.1;
const double kWorldTop = kDistance + kCrank + kPin;

const unsigned long kBlue = 0x0000FF;
const unsigned long kCyan = 0x00FFFF;
const unsigned long kWhite = 0xFFFFFF;
const int kFullCircle64 = 360 * 64;

struct Point {
    double x;
    double y;
};

// Everything one frame needs: the connection, the window's one GC and the world-to-device fit.
struct Scene {
    Display* pDisplay;
    Window window;
    GC gc;
    double dScale;
    double dOriginX;  // device position of world x = 0
    double dOriginY;  // device position of world y = kWorldTop
};

long long Now()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * kNsPerSecond + now.tv_nsec;
}

// Turns p about c by a (counter-clockwise in the world, whose y axis points up).
Point Turn(Point p, Point c, double a)
{
    const double s = std::sin(a), k = std::cos(a);
    return Point{c.x + (p.x - c.x) * k - (p.y - c.y) * s, c.y + (p.x - c.x) * s + (p.y - c.y) * k};
}

void Fit(Scene& scene, int nWidth, int nHeight)
{
    scene.dScale = std::fmin(nWidth / kWorldWidth, nHeight / kWorldHeight);
    scene.dOriginX = nWidth / 2.0;
    scene.dOriginY = (nHeight - (kWorldTop + kDistance) * scene.dScale) / 2.0;
}

int DeviceX(const Scene& s, double x)
{
    return static_cast<int>(s.dOriginX + x * s.dScale);
}

int DeviceY(const Scene& s, double y)
{
    return static_cast<int>(s.dOriginY + (kWorldTop - y) * s.dScale);
}

void Line(const Scene& s, Point a, Point b)
{
    XDrawLine(s.pDisplay, s.window, s.gc, DeviceX(s, a.x), DeviceY(s, a.y), DeviceX(s, b.x),
              DeviceY(s, b.y));
}

// A counter-clockwise arc of a circle from the radial through a to the radial through b.
void ArcOf(const Scene& s, Point c, double r, Point a, Point b, bool bFill)
{
    const int a1 = static_cast<int>(std::atan2(a.y - c.y, a.x - c.x) * 180.0 / kPi * 64.0);
    int a2 = static_cast<int>(std::atan2(b.y - c.y, b.x - c.x) * 180.0 / kPi * 64.0) - a1;
    if (a2 <= 0)
        a2 += kFullCircle64;
    const int x = DeviceX(s, c.x - r), y = DeviceY(s, c.y + r);
    const unsigned d = static_cast<unsigned>(2.0 * r * s.dScale);
    if (bFill)
        XFillArc(s.pDisplay, s.window, s.gc, x, y, d, d, a1, a2);
    else
        XDrawArc(s.pDisplay, s.window, s.gc, x, y, d, d, a1, a2);
}

void DrawWheel(const Scene& s, double a, unsigned long nPen, unsigned long nBrush)
{
    const Point c = {0.0, kDistance};
    const double dx = std::sin(kPi / 3.0) * kDisc, dy = kDistance + std::cos(kPi / 3.0) * kDisc;
    XSetForeground(s.pDisplay, s.gc, nPen);
    for (double m : {1.0, -1.0}) {
        const Point p0 = Turn({m * dx, dy}, c, a), p1 = Turn({m * kShoulder * dx, dy}, c, a);
        Line(s, p0, p1);
        Line(s, p1, Turn({m * kPin, kDistance - kCrank}, c, a));
    }
    ArcOf(s, c, kDisc, Turn({dx, dy}, c, a), Turn({-dx, dy}, c, a), false);
    const Point pin = Turn({0.0, kDistance - kCrank}, c, a);
    XSetForeground(s.pDisplay, s.gc, nBrush);
    ArcOf(s, pin, kPin, pin, pin, true);
    XSetForeground(s.pDisplay, s.gc, nPen);
    ArcOf(s, pin, kPin, pin, pin, false);
}

void DrawCross(const Scene& s, double a, unsigned long nPen)
{
    const Point o = {0.0, 0.0};
    const double dx = std::sin(kPi / 3.0) * kDisc, dy = kDistance - std::cos(kPi / 3.0) * kDisc;
    const double dRim = std::sqrt(2700.0), dBottom = kDistance - kCrank;
    XSetForeground(s.pDisplay, s.gc, nPen);
    for (int k = 0; k < 6; ++k) {
        const double b = a - k * kPi / 3.0, bs = b - kPi / 6.0, bn = b - kPi / 3.0;
        const Point arcEnd = Turn({dx, dy}, o, b);
        ArcOf(s, Turn({0.0, kDistance}, o, b), kDisc, Turn({-dx, dy}, o, b), arcEnd, false);
        Line(s, arcEnd, Turn({-kPin, dRim}, o, bs));
        Line(s, Turn({-kPin, dRim}, o, bs), Turn({-kPin, dBottom}, o, bs));
        ArcOf(s, Turn({0.0, dBottom}, o, bs), kPin, Turn({-kPin, dBottom}, o, bs),
              Turn({kPin, dBottom}, o, bs), false);
        Line(s, Turn({kPin, dBottom}, o, bs), Turn({kPin, dRim}, o, bs));
        Line(s, Turn({kPin, dRim}, o, bs), Turn({-dx, dy}, o, bn));
    }
}

// The state of the animation: the wheel turns by 12 degrees a tick; the cross follows the pin
// while it is in a slot.
struct Pose {
    double dDrive;
    double dCross;
};

void Paint(Scene& s, Pose& pose, int nWidth, int nHeight)
{
    Fit(s, nWidth, nHeight);
    XSetForeground(s.pDisplay, s.gc, kBlue);
    XFillRectangle(s.pDisplay, s.window, s.gc, 0, 0, nWidth, nHeight);
    pose = Pose{-kPi / 2.0, 0.0};
}

void Tick(const Scene& s, Pose& pose, bool bTorn)
{
    DrawWheel(s, pose.dDrive, kBlue, kBlue);
    pose.dDrive += kPi / 15.0;
    if (pose.dDrive > 1.5 * kPi)
        pose.dDrive -= 2.0 * kPi;
    const bool bEngaged = std::fabs(pose.dDrive) < kPi / 3.0;
    if (bEngaged) {
        DrawCross(s, pose.dCross, kBlue);
        pose.dCross = -std::atan2(std::sin(pose.dDrive), 2.0 - std::cos(pose.dDrive)) - kPi / 6.0;
    }
    if (bTorn) {
        XFlush(s.pDisplay);
        const timespec pause = {0, static_cast<long>(kTornPauseNs)};
        nanosleep(&pause, nullptr);
    }
    DrawWheel(s, pose.dDrive, kWhite, kCyan);
    DrawCross(s, pose.dCross, kWhite);
}

// The wait until the deadline, to the nanosecond: a timeout rounded up to whole milliseconds
// would make every tick late by the rounding.
timespec TimeoutUntil(long long nsDeadline)
{
    const long long nsWait = nsDeadline - Now();
    timespec timeout = {0, 0};
    if (nsWait > 0) {
        timeout.tv_sec = static_cast<time_t>(nsWait / (1000 * kNsPerMs));
        timeout.tv_nsec = static_cast<long>(nsWait % (1000 * kNsPerMs));
    }
    return timeout;
}

bool WriteLog(const char* lpszPath, const long long* pStamps, std::size_t nStamps)
{
    FILE* pFile = std::fopen(lpszPath, "w");
    if (pFile == nullptr)
        return false;
    for (std::size_t i = 0; i < nStamps; ++i)
        std::fprintf(pFile, "%lld\n", pStamps[i]);
    return std::fclose(pFile) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool bTorn = argc == 2 && std::strcmp(argv[1], "--torn") == 0;
    if (argc == 2 && !bTorn)
        return 2;
    // A plain C array, not a std::vector: the floor must not pull the C++ library into its
    // memory, or its resident size would no longer be the least an Xlib client needs.
    const char* lpszLog = argc == 3 ? argv[1] : nullptr;
    const std::size_t nTicks = argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 0;
    if (lpszLog != nullptr && nTicks == 0)
        return 2;
    long long* pStamps = static_cast<long long*>(std::calloc(nTicks + 1, sizeof(long long)));
    std::size_t nStamps = 0;
    if (pStamps == nullptr)
        return 1;

    Display* pDisplay = XOpenDisplay(nullptr);
    if (pDisplay == nullptr)
        return 1;
    const int nScreen = DefaultScreen(pDisplay);
    int nWidth = DisplayWidth(pDisplay, nScreen) * 3 / 4;
    int nHeight = DisplayHeight(pDisplay, nScreen) * 3 / 4;
    const Window window = XCreateSimpleWindow(pDisplay, RootWindow(pDisplay, nScreen), 0, 0,
                                              nWidth, nHeight, 0, 0, kWhite);
    XStoreName(pDisplay, window, "Floor");
    XSelectInput(pDisplay, window, ExposureMask | StructureNotifyMask);
    XGCValues values;
    values.line_width = 0;
    values.cap_style = CapNotLast;
    values.graphics_exposures = False;
    const unsigned long nMask = GCLineWidth | GCCapStyle | GCGraphicsExposures;
    Scene scene = {pDisplay, window, XCreateGC(pDisplay, window, nMask, &values), 1.0, 0.0, 0.0};
    XMapWindow(pDisplay, window);

    Pose pose = {-kPi / 2.0, 0.0};
    long long nsDeadline = Now() + kPeriodNs;
    bool bReadable = true;
    for (;;) {
        // Events Xlib has already read would not wake the poll: take them all first. After a
        // wait that timed out there is nothing new, and asking would be a wasted system call.
        while (bReadable && XPending(pDisplay) > 0) {
            XEvent event;
            XNextEvent(pDisplay, &event);
            if (event.type == ConfigureNotify) {
                nWidth = event.xconfigure.width;
                nHeight = event.xconfigure.height;
            } else if (event.type == Expose && event.xexpose.count == 0) {
                Paint(scene, pose, nWidth, nHeight);
            }
        }
        XFlush(pDisplay);
        pollfd descriptor = {ConnectionNumber(pDisplay), POLLIN, 0};
        const timespec timeout = TimeoutUntil(nsDeadline);
        bReadable = XQLength(pDisplay) > 0 || ppoll(&descriptor, 1, &timeout, nullptr) != 0;
        const long long nsNow = Now();
        if (nsNow < nsDeadline)
            continue;
        if (lpszLog != nullptr) {
            pStamps[nStamps++] = nsNow;
            if (nStamps == nTicks)
                return WriteLog(lpszLog, pStamps, nStamps) ? 0 : 1;
        }
        Tick(scene, pose, bTorn);
        // Absolute deadlines keep the rate; a stall skips the ticks it missed.
        nsDeadline += kPeriodNs;
        if (nsDeadline <= nsNow)
            nsDeadline += ((nsNow - nsDeadline) / kPeriodNs + 1) * kPeriodNs;
    }
}
