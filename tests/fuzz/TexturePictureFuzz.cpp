// Fuzz target for the texture loader's picture route: JPEG, PNG, BMP or GIF told apart by content, sized,
// flipped and given black-is-transparent alpha, from memory. No OpenGL is touched.
#include "PictureFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VantorGL::cDecodedPicture picture;
    std::string error;
    const bool ok =
        VantorGL::DecodePictureTextureBytes(data, size, VantorGLFuzz::kFuzzMaxTextureSize, picture, error);
    VantorGLFuzz::CheckDecoded(ok, picture, error, VantorGL::eTextureRoute::Picture);
    return 0;
}
