// The headless device draws nothing: what a test needs to see of the drawing is the core's
// record of the calls, in the program's own coordinates.
#include "headlesswindow.h"

namespace headless {

void CNullDevice::Line(const portable::DrawContext&, portable::DevicePoint,
                       portable::DevicePoint)
{
}

void CNullDevice::Rectangle(const portable::DrawContext&, const portable::DeviceBox&) {}

bool CNullDevice::Ellipse(const portable::DrawContext&, const portable::DeviceBox&)
{
    return true;
}

bool CNullDevice::Arc(const portable::DrawContext&, const portable::DeviceBox&,
                      portable::DevicePoint, portable::DevicePoint)
{
    return true;
}

bool CNullDevice::Pie(const portable::DrawContext&, const portable::DeviceBox&,
                      portable::DevicePoint, portable::DevicePoint)
{
    return true;
}

void CNullDevice::Erase() {}

}  // namespace headless

void portable::DeviceFlush() {}
