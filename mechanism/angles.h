// The angles of the Geneva drive, in radians, as exact doubles. The animation is compared bit
// for bit across platforms, so none of them is computed from a library's pi at run time.
#ifndef VURAZEVEDADAR_ANGLES_H
#define VURAZEVEDADAR_ANGLES_H

namespace mechanism {

// pi/2: the drive angle of a fresh repaint is its negation, the pin pointing away from the
// cross (bits 0x3FF921FB54442D18).
constexpr double kHalfPi = 0x1.921fb54442d18p+0;

// pi/15, i.e. 12 degrees: one timer tick of the driving wheel, a revolution in 30 ticks (bits
// 0x3FCACEE9F37BEBD5).
constexpr double kDriveStep = 0x1.acee9f37bebd5p-3;

// 3pi/2: the top of the drive angle's range (-pi/2, 3pi/2].
constexpr double kDriveLimit = 4.71238898038469;

// 2pi: one revolution, taken off the drive angle when it passes kDriveLimit.
constexpr double kFullTurn = 6.283185307179586;

// pi/3: the pin is inside a slot while the drive angle lies strictly within +-pi/3, and the
// cross turns by this much per revolution (one of its six slots).
constexpr double kThirdPi = 1.0471975511965976;

// pi/6: half a slot pitch. It relates the angle of the pin's radial to the cross angle, and
// it is the turn between the concave-arc frame and the slot frame of the cross outline.
constexpr double kSixthPi = 0.5235987755982988;

static_assert(kHalfPi == 1.5707963267948966, "pi/2 has the wrong bits");
static_assert(kDriveStep == 0.20943951023931953, "pi/15 has the wrong bits");

}  // namespace mechanism

#endif  // VURAZEVEDADAR_ANGLES_H
