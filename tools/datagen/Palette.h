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

// The painters' own shades, each for one picture or set.
// Chrome: the reflected sky, its horizon and the ground below.
inline constexpr PaletteColour kChromeSky{0x2B5184}, kChromeHorizon{0xE6F1FF}, kChromeGround{0x0F1C38}, kChromeGroundFar{0x3A4D6C};
// Sphere metal.
inline constexpr PaletteColour kSphereMetalDark{0x5E7A96}, kSphereMetalLight{0xDCE8F4};
// Plant template: tissue and veins.
inline constexpr PaletteColour kPlantTissue{0xC9DDEB}, kPlantTissueDeep{0x5F89AE}, kPlantVein{0x2E5A72};
// Nebula (art1).
inline constexpr PaletteColour kNebulaDeep{0x112A55}, kNebulaMid{0x2A63A0};
// Newspaper: paper, ink and the front-page photograph of a crystal.
inline constexpr PaletteColour kNewsPaper{0xE9ECEE}, kNewsPaperDark{0xCDD3D9}, kNewsInk{0x1C2230}, kNewsPhotoSkyTop{0x8FA4BA}, kNewsPhotoSkyBottom{0x2D3F58}, kNewsPhotoFacetLit{0x9FC6E6}, kNewsPhotoFacetShade{0x33638F};
// Backdrop of geometric squares.
inline constexpr PaletteColour kGeoSquaresHaze{0x1E3A68};
// Settings dialog's banner.
inline constexpr PaletteColour kBannerLow{0x16305A}, kBannerGlow{0x2F5C8E};
// The painted bevelled logo (banner, loading picture): face and shaded bevel; its lit bevel is kIceWhite.
inline constexpr PaletteColour kLogoFace{0xDCE9F8}, kLogoShade{0x3E6890};
// Fade picture: the frost over it.
inline constexpr PaletteColour kFadeFrost{0xDCE8F6};
// Loading picture: haze and glow behind the logo.
inline constexpr PaletteColour kLoadingHaze{0x1D3766}, kLoadingGlow{0x3C6496};
// Pillar room panels: metal and the seams between panels.
inline constexpr PaletteColour kPillarMetalDark{0x5A6B82}, kPillarMetalLight{0x9EB0C8}, kPillarSeam{0x131B2C};
// Canyon floor and wall: the rock from its hollows to its ridges, lit by a cool sky ambient.
inline constexpr PaletteColour kCanyonFloorLow{0x3E4650}, kCanyonFloorHigh{0xA4ADB8}, kCanyonWallLow{0x37404C}, kCanyonWallHigh{0x98A4B4}, kCanyonAmbient{0x56657E};

}  // namespace Datagen
