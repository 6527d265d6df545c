// Fuzz target for the texture loader's PNG route: any byte string goes through the same decoding,
// sizing and scaling as a ".png" texture file, from memory. No OpenGL is touched.
#include "PictureFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VantorGL::cDecodedPicture picture;
    std::string error;
    const bool ok =
        VantorGL::DecodePngTextureBytes(data, size, VantorGLFuzz::kFuzzMaxTextureSize, picture, error);
    VantorGLFuzz::CheckDecoded(ok, picture, error, VantorGL::eTextureRoute::Png);
    return 0;
}
