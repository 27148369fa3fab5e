// The program's resources in the builds that are not Windows programs: the icon the Windows
// build's resource script carries, from the same drawing.
#include <afxres.h>
#include <portableres.h>

#include <cstdint>

namespace {

const std::uint32_t kFrameIcon[] = {
#include "vurazevedadar_icon_argb.inc"
};

const HICON__ kIcons[] = {
    {AFX_IDI_STD_FRAME, kFrameIcon, sizeof kFrameIcon / sizeof kFrameIcon[0]},
};

const CModuleResources s_resources(kIcons, sizeof kIcons / sizeof kIcons[0]);

}  // namespace
