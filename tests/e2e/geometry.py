"""Where the program must draw, computed from the client size alone.

Mirrors the program's own mapping: the world rectangle x in [-60, 60], y in [-60, 94.5] fitted
into the client area with a 5 % margin, world y pointing up. Python's floats are IEEE doubles
and the operations run in the program's order, so device points agree to the pixel.
"""
import math

DISTANCE = 60.0          # cross centre (0, 0) to wheel centre (0, 60)
CRANK = 30.0             # wheel centre to pin centre
PIN = 4.5                # pin radius, also the bearing symbols' radius
CROSS_REACH = 52.5       # farthest point of the cross outline from its centre
WHEEL_REACH = CRANK + PIN  # farthest point of the wheel from its centre
MARGIN = 5.0


class Mapping:
    def __init__(self, client_width, client_height):
        # The viewport's largest coordinates, one less than the client size.
        self.w = client_width - 1
        self.h = client_height - 1
        self.window = _fit(float(self.w), float(self.h), -DISTANCE, -DISTANCE, DISTANCE,
                           DISTANCE + CRANK + PIN, MARGIN)
        x0, y0, x1, y1 = self.window
        self.scale_x = self.w / (x1 - x0)
        self.scale_y = self.h / (y1 - y0)

    def to_device(self, x, y):
        x0, y0, x1, y1 = self.window
        dx = ((x - x0) * self.w) / (x1 - x0)
        dy = ((y - y0) * self.h) / (y1 - y0)
        return int(dx), int(self.h - dy)

    def within(self, px, py, centre, radius, slack):
        """Whether device point (px, py) lies within `radius` world units of the world point
        `centre`, give or take `slack` pixels."""
        cx, cy = self.to_device(*centre)
        rx = radius * self.scale_x + slack
        ry = radius * self.scale_y + slack
        return ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0


def _fit(w, h, x0, y0, x1, y1, margin):
    g = margin * 0.02 + 1.0
    a = abs(x0 - x1) * g
    b = abs(y0 - y1) * g
    if b / h < a / w:
        dx = (x1 - x0) * margin * 0.01
        dy = (((2 * abs(dx) + a) * h) / w - b) * 0.5
        if y0 > y1:
            dy = -dy
    else:
        dy = (y1 - y0) * margin * 0.01
        dx = (((2 * abs(dy) + b) * w) / h - a) * 0.5
        if x0 > x1:
            dx = -dx
    return x0 - dx, y0 - dy, x1 + dx, y1 + dy


def bearing_offset(mapping):
    """A diagonal offset in pixels that lands well inside a bearing symbol's quadrants."""
    radius = PIN * min(mapping.scale_x, mapping.scale_y)
    return max(1, int(radius / math.sqrt(2) * 0.6))
