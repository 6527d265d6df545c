// Palette: the production's colours (cold light through glass, one accent per act), shared by the
// picture painters and the model recipes. A 3DS material takes a colour as 0xRRGGBB, a painter as
// an opaque Rgba; Hex(colour, alpha) gives it any other alpha.
#pragma once

#include "Image.h"

#include <cstdint>

namespace Datagen {

struct PaletteColour {
    uint32_t rgb;
    constexpr operator uint32_t() const { return rgb; }
    operator Rgba() const { return Hex(rgb); }
};

inline constexpr PaletteColour kIceWhite{0xF4F8FF}, kGlacierBlue{0x7FB4E6}, kDeepNavy{0x0A1430},
    kCyanGlass{0x9FF0FF}, kAcidGreen{0x8CFF5A}, kWarmAmber{0xFFC46B}, kRockGrey{0x6E7682};

}  // namespace Datagen
