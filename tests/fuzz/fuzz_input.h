// Decoding of the fuzzer's bytes into the canvas's argument types, and the check that ends a run
// when a promise of the canvas is broken.
//
// A value starts with a tag byte that picks its kind: raw bits, or one of the values that sit on
// the edges of the arithmetic (NaN, infinities, the largest and the subnormal doubles, the ends of
// the int range, the program's own dimensions). Raw bits alone would almost never hit those
// edges, and they are where the canvas has to take care. An exhausted input reads as zeros, so
// every byte string is a valid input.
#ifndef VURAZEVEDADAR_FUZZ_INPUT_H
#define VURAZEVEDADAR_FUZZ_INPUT_H

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

// Ends the run as a crash, which libFuzzer reports and saves, when a promise does not hold.
#define FUZZ_CHECK(condition)                                                               \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "%s:%d: broken promise: %s\n", __FILE__, __LINE__,         \
                         #condition);                                                       \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)

namespace fuzz {

// Tags of a double. Every tag without a kind of its own (seven of the sixteen, 0 among them)
// reads raw bits, so that plain byte mutations still reach every double.
enum {
    dblNaN = 3,     // next byte: bit 0 is the sign
    dblInfinity,    // next byte: bit 0 is the sign
    dblExtreme,     // next byte: largest, smallest normal, smallest subnormal or zero, signed
    dblSmallInt,    // next byte as a signed integer
    dblInt32,       // next four bytes as a signed integer
    dblFraction,    // next two bytes as a signed integer, over 256
    dblTable,       // next byte indexes kTableDoubles
    dblPowerOfTwo,  // next two bytes: sign and an exponent from -1100 to 1100
    dblNearInt,     // next byte: a value on the edge of the int range
    dblTagCount = 16
};

// Tags of an int; the others (0 among them) read raw bits.
enum {
    intMinPlus = 2,  // next byte added to INT_MIN
    intMaxMinus,     // next byte taken from INT_MAX
    intSmall,        // next byte as a signed integer
    intInt16,        // next two bytes as a signed integer
    intTable,        // next byte indexes kTableInts
    intTagCount = 8
};

// The program's own values: the mechanism's world rectangle and margin, its dimensions, the
// angles it turns by, the camera's defaults and bounds, and the 799 x 599 device.
const double kTableDoubles[] = {
    0.0,
    1.0,
    -1.0,
    0.5,
    -60.0,
    60.0,
    94.5,
    5.0,
    30.0,
    22.5,
    4.5,
    51.96152422706632,  // the cross radius, the square root of 2700
    799.0,
    599.0,
    800.0,
    600.0,
    3.141592653589793,
    1.5707963267948966,
    1.0471975511965976,   // 60 degrees
    0.20943951023931953,  // 12 degrees, one timer tick
    -0.20943951023931953,
    6.283185307179586,
    0.7853981633974483,
    2000.0,
    -5000.0,
    1e-10,
    1e-12,
    0.1111111111111111,
    0.02,
    0.01,
    117.65158597662771,  // the fitted window of the 800 x 600 paint
    -67.725,
    102.225,
    4294967296.0,
    1e300,
    -1e300,
};
const int kTableInts[] = {0,   1,   2,   3,    -1,   -2,    4,           5,          -5,
                          799, 599, 800, 600,  100,  50,    101,         51,         201,
                          320, 240, 20,  96,   1000, 65536, INT_MAX / 2, INT_MIN / 2};

// Values on the edges of the int range, where truncation to an int starts or stops being
// defined.
const double kNearIntDoubles[] = {2147483647.0, 2147483646.9999995, 2147483647.5,
                                  2147483648.0, -2147483648.0,      -2147483648.5,
                                  -2147483649.0, -2147483647.9999995};

template <class T, size_t N>
constexpr size_t CountOf(const T (&)[N])
{
    return N;
}

class CFuzzInput {
public:
    CFuzzInput(const uint8_t* pData, size_t nSize) : m_pData(pData), m_nLeft(nSize) {}

    bool IsEmpty() const { return m_nLeft == 0; }

    uint8_t Byte()
    {
        if (m_nLeft == 0)
            return 0;
        --m_nLeft;
        return *m_pData++;
    }

    bool Flag() { return (Byte() & 1) != 0; }

    // Little-endian bytes of a T; missing bytes are zero.
    template <class T>
    T Raw()
    {
        unsigned char bytes[sizeof(T)] = {};
        for (size_t i = 0; i < sizeof(T); ++i)
            bytes[i] = Byte();
        T value;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    int Int()
    {
        switch (Byte() % intTagCount) {
        case intMinPlus:
            return INT_MIN + Byte();
        case intMaxMinus:
            return INT_MAX - Byte();
        case intSmall:
            return static_cast<int8_t>(Byte());
        case intInt16:
            return Raw<int16_t>();
        case intTable:
            return kTableInts[Byte() % CountOf(kTableInts)];
        default:
            return Raw<int32_t>();
        }
    }

    double Double()
    {
        switch (Byte() % dblTagCount) {
        case dblNaN:
            return Signed(std::numeric_limits<double>::quiet_NaN());
        case dblInfinity:
            return Signed(std::numeric_limits<double>::infinity());
        case dblExtreme:
            return Extreme(Byte());
        case dblSmallInt:
            return static_cast<int8_t>(Byte());
        case dblInt32:
            return Raw<int32_t>();
        case dblFraction:
            return Raw<int16_t>() / 256.0;
        case dblTable:
            return kTableDoubles[Byte() % CountOf(kTableDoubles)];
        case dblPowerOfTwo:
            return PowerOfTwo(Raw<uint16_t>());
        case dblNearInt:
            return kNearIntDoubles[Byte() % CountOf(kNearIntDoubles)];
        default:
            return Raw<double>();
        }
    }

private:
    double Signed(double value) { return Flag() ? -value : value; }

    static double Extreme(uint8_t selector)
    {
        const double kExtremes[] = {DBL_MAX, DBL_MIN, std::numeric_limits<double>::denorm_min(),
                                    0.0};
        const double value = kExtremes[(selector >> 1) % CountOf(kExtremes)];
        return (selector & 1) ? -value : value;
    }

    static double PowerOfTwo(uint16_t bits)
    {
        // Exponents past the double range on both sides, so that the subnormals and the
        // overflow to infinity are reached.
        const int kExponentSpan = 2201;
        const int kExponentBias = 1100;
        const int nExponent = static_cast<int>((bits >> 1) % kExponentSpan) - kExponentBias;
        const double value = std::ldexp(1.0, nExponent);
        return (bits & 1) ? -value : value;
    }

    const uint8_t* m_pData;
    size_t m_nLeft;
};

// The representation of a double: results are compared to the last bit.
inline uint64_t Bits(double d)
{
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

inline bool SameBits(const double* a, const double* b, size_t n)
{
    return std::memcmp(a, b, n * sizeof(double)) == 0;
}

}  // namespace fuzz

#endif  // VURAZEVEDADAR_FUZZ_INPUT_H
