// PictureFuzzChecks: what every decoded texture must satisfy, whatever bytes it came from; shared
// by the two texture fuzz targets. A broken promise aborts, which libFuzzer reports as a crash.
#pragma once

#include "assets/PictureDecoder.h"

#include <cstdlib>
#include <string>

namespace VantorGLFuzz {

// The limit the fuzz targets decode against. Far below any real GL_MAX_TEXTURE_SIZE: scaling and
// the checks below cost per texel, and at 2048 one input could take 16 MiB and tens of
// milliseconds. Sides still scale both up and down to it; the sizing rules at real limits are
// the test suite's (PictureDecoderTest, TextureSystemTest).
constexpr int kFuzzMaxTextureSize = 64;

inline bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

inline void CheckDecoded(bool ok, const VantorGL::cDecodedPicture& picture, const std::string& error,
                         VantorGL::eTextureRoute route) {
    if (!ok) {
        if (error.empty()) std::abort();  // every failure says why
        return;
    }
    if (picture.route != route || picture.width < 1 || picture.height < 1) std::abort();
    if (!IsPowerOfTwo(picture.textureWidth) || !IsPowerOfTwo(picture.textureHeight)) std::abort();
    if (picture.textureWidth > kFuzzMaxTextureSize || picture.textureHeight > kFuzzMaxTextureSize) std::abort();
    // What cTextureSystem::Upload hands to glTexImage2D must cover the whole texture.
    if (picture.rgba.size() != std::size_t(picture.textureWidth) * std::size_t(picture.textureHeight) * 4)
        std::abort();
    bool anyTransparent = false;
    for (std::size_t i = 0; i < picture.rgba.size(); i += 4) {
        const std::uint8_t* p = &picture.rgba[i];
        anyTransparent |= p[3] != 255;
        // The picture route's alpha is black-is-transparent, nothing else.
        if (route == VantorGL::eTextureRoute::Picture && p[3] != ((p[0] | p[1] | p[2]) ? 255 : 0)) std::abort();
    }
    if (picture.hasTransparency != anyTransparent) std::abort();
}

}  // namespace VantorGLFuzz
