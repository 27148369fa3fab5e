// Resources of a program that is not a Windows executable. A Windows build compiles its
// resource script into the executable; the others link the same resources in as data, and
// LoadIcon finds them there by their identifiers.
#ifndef VURAZEVEDADAR_PORTABLE_PORTABLERES_H
#define VURAZEVEDADAR_PORTABLE_PORTABLERES_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

// An icon resource: one or more square images one after the other, each as width, height and
// then width x height pixels of 0xAARRGGBB (straight alpha), rows top to bottom, in 32-bit
// words. A window system converts them to its own layout.
struct HICON__ {
    WORD wId;
    const std::uint32_t* pImages;
    std::size_t nLength;  // in words, over all images
};

// The program's resources, as its resource section would hold them. A program defines one
// static object of this class over its resources; a program without one has none.
class CModuleResources {
public:
    CModuleResources(const HICON__* pIcons, std::size_t nIcons);
};

#endif  // VURAZEVEDADAR_PORTABLE_PORTABLERES_H
