// The scale arithmetic, in 64-bit integers: no rounding of doubles decides a window's size.
#include "scale.h"

#include <algorithm>

namespace wayland {

int DeviceExtent(int nLogical, const CScale& scale)
{
    const long long nScaled = static_cast<long long>(nLogical) * scale.m_n120;
    return static_cast<int>((nScaled + kScaleDenominator / 2) / kScaleDenominator);
}

int LogicalExtent(int nDevice, const CScale& scale)
{
    const long long nScaled = static_cast<long long>(nDevice) * kScaleDenominator;
    const long long nLogical = (nScaled + scale.m_n120 / 2) / scale.m_n120;
    return static_cast<int>(std::max(nLogical, 1LL));
}

CScale ChooseScale(const std::vector<int>& entered, const std::vector<int>& all,
                   int nPreferred120, bool bViewport)
{
    if (bViewport && nPreferred120 > 0)
        return CScale::Fractional(nPreferred120);
    const std::vector<int>& outputs = entered.empty() ? all : entered;
    const int nLargest = outputs.empty() ? 1 : *std::max_element(outputs.begin(), outputs.end());
    return CScale::Integer(std::max(nLargest, 1));
}

}  // namespace wayland
