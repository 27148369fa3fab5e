// What the headless backend keeps of a window: nothing but the handle and a device that draws
// nothing.
#ifndef VURAZEVEDADAR_HEADLESS_WINDOW_H
#define VURAZEVEDADAR_HEADLESS_WINDOW_H

#include "backend.h"

namespace headless {

class CNullDevice : public portable::CDevice {
public:
    void Line(const portable::DrawContext& dc, portable::DevicePoint ptFrom,
              portable::DevicePoint ptTo) override;
    void Rectangle(const portable::DrawContext& dc, const portable::DeviceBox& box) override;
    bool Ellipse(const portable::DrawContext& dc, const portable::DeviceBox& box) override;
    bool Arc(const portable::DrawContext& dc, const portable::DeviceBox& box,
             portable::DevicePoint ptStart, portable::DevicePoint ptEnd) override;
    bool Pie(const portable::DrawContext& dc, const portable::DeviceBox& box,
             portable::DevicePoint ptStart, portable::DevicePoint ptEnd) override;
    void Erase() override;
};

}  // namespace headless

#endif  // VURAZEVEDADAR_HEADLESS_WINDOW_H
