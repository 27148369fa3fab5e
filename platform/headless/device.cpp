// The headless device draws nothing: what a test needs to see of the drawing is the core's
// record of the calls, in the program's own coordinates.
#include "backend.h"

namespace portable {

void DeviceLine(const DrawContext&, DevicePoint, DevicePoint) {}

void DeviceRectangle(const DrawContext&, const DeviceBox&) {}

bool DeviceEllipse(const DrawContext&, const DeviceBox&)
{
    return true;
}

bool DeviceArc(const DrawContext&, const DeviceBox&, DevicePoint, DevicePoint)
{
    return true;
}

bool DevicePie(const DrawContext&, const DeviceBox&, DevicePoint, DevicePoint)
{
    return true;
}

void DeviceErase(CNativeWindow*) {}

void DeviceFlush() {}

}  // namespace portable
