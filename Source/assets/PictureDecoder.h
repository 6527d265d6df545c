// PictureDecoder: the CPU half of texture loading. Turns a picture file into the exact RGBA
// block cTextureSystem uploads (sized, scaled, oriented, alpha applied), without touching GL, so
// it can run on a worker thread and be tested and inspected (quenlite-assets info) headless.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace VantorGL {

// Which of the two loaders a path takes. The choice is made on the path as written:
// a path containing ".png" (case-sensitive) takes the PNG route, everything else the picture route.
enum class eTextureRoute { Png, Picture };

// "png" or "picture".
const char* TextureRouteName(eTextureRoute route);

// The route for a path as the caller wrote it ("data\og2.png" -> Png, "x.PNG" -> Picture).
eTextureRoute ChooseTextureRoute(const std::string& path);

// A decoded image before texture rules: rows top row first, 4 bytes (R, G, B, A) per pixel.
struct cRawImage {
    int width = 0, height = 0;
    // The file carries alpha: a PNG alpha channel or tRNS chunk, or BMP alpha or GIF transparency
    // that leaves some pixel less than opaque.
    bool fileHasAlpha = false;
    std::vector<std::uint8_t> rgba;
};

// One texture ready for glTexImage2D(GL_RGBA, GL_UNSIGNED_BYTE).
struct cDecodedPicture {
    eTextureRoute route = eTextureRoute::Picture;
    int width = 0, height = 0;                 // the image's own size in pixels
    int textureWidth = 0, textureHeight = 0;   // the uploaded size (powers of two)
    bool fileHasAlpha = false;                 // the file itself carries alpha
    bool hasTransparency = false;              // some texel of `rgba` has alpha below 255
    // textureWidth x textureHeight texels, 4 bytes each, in upload order: the PNG route's
    // first row is the image's top row, the picture route's first row is its bottom row.
    std::vector<std::uint8_t> rgba;
};

// --- Whole-file entry point ---------------------------------------------------------------------

// Contract: decodes `path` (as the demo writes it; resolved through ResolveDataPath) by the route
// ChooseTextureRoute picks, with `maxTextureSize` as GL_MAX_TEXTURE_SIZE. On success fills `out`
// and returns true. On failure returns false, leaves `out` unspecified and sets `error` to a short
// reason without the path ("not a PNG file", "no such file"). Never throws, never touches GL;
// safe to call from any thread. Paths containing "http://" fail ("network paths are not
// supported"): the data folder is always local.
bool DecodeTextureFile(const std::string& path, int maxTextureSize, cDecodedPicture& out, std::string& error);

// The same with the route forced (cTextureSystem::LoadPicture takes the picture route whatever the name).
bool DecodeTextureFile(const std::string& path, eTextureRoute route, int maxTextureSize, cDecodedPicture& out,
                       std::string& error);

// --- The two routes on an already resolved file name ------------------------------------------

// PNG route: the file must be a PNG. The file's alpha is used, files without alpha are opaque;
// grey, palette and 16-bit images are expanded to 8-bit RGBA. Sides that are not powers of two
// are scaled up to the next one (nearest neighbour), never beyond maxTextureSize. Top row first.
bool DecodePngTexture(const std::string& file, int maxTextureSize, cDecodedPicture& out, std::string& error);

// Picture route: JPEG, PNG, BMP or GIF (its first frame), told apart by content. Each side sized
// by PictureSideSize and scaled nearest-neighbour, bottom row first, alpha from
// ApplyBlackIsTransparent (any alpha the file had is replaced; a GIF's transparent pixels are
// black before the rule, so they stay transparent).
bool DecodePictureTexture(const std::string& file, int maxTextureSize, cDecodedPicture& out, std::string& error);

// --- The two routes on bytes already in memory --------------------------------------------------

// The same decoding as DecodePngTexture / DecodePictureTexture on `size` bytes at `data` (the
// file readers above hand their bytes to these). Any byte string is safe: bad input fails with a
// reason and leaves `out` unspecified. Never touches GL.
bool DecodePngTextureBytes(const std::uint8_t* data, std::size_t size, int maxTextureSize, cDecodedPicture& out,
                           std::string& error);
bool DecodePictureTextureBytes(const std::uint8_t* data, std::size_t size, int maxTextureSize,
                               cDecodedPicture& out, std::string& error);

// --- Building blocks ----------------------------------------------------------------------------

// Decodes a PNG, JPEG, BMP or GIF file (by its first bytes; a GIF's first frame) to top-down RGBA.
// Malformed and cut-short files fail with a reason; they never crash. Images whose header claims
// over kMaxDecodedPixels are refused before anything is allocated for them.
bool DecodeImageFile(const std::string& file, cRawImage& out, std::string& error);
bool DecodeImageBytes(const std::uint8_t* data, std::size_t size, cRawImage& out, std::string& error);
constexpr std::int64_t kMaxDecodedPixels = std::int64_t(1) << 26;  // 64 M pixels (256 MiB of RGBA)

// Picture-route side: a side up to maxTextureSize becomes the nearest power of two,
// n = floor(ln(size) / ln 2 + 0.5), side = 1 << n (300 -> 256, 400 -> 512, 640 -> 512);
// a larger side becomes maxTextureSize itself (1500 with max 1024 -> 1024).
int PictureSideSize(int size, int maxTextureSize);

// PNG-route side: the next power of two at or above size, at most maxTextureSize (300 -> 512).
int PngSideSize(int size, int maxTextureSize);

// Nearest-neighbour scale of a 4-byte-per-pixel image; `flipRows` writes the rows bottom to top.
void ScaleNearest(const std::uint8_t* source, int sourceWidth, int sourceHeight, std::uint8_t* target,
                  int targetWidth, int targetHeight, bool flipRows);

// The picture route's alpha rule over `pixelCount` RGBA pixels: alpha 0 where red, green and blue
// are all 0, 255 everywhere else. Returns the number of pixels made transparent.
std::size_t ApplyBlackIsTransparent(std::uint8_t* rgba, std::size_t pixelCount);

}  // namespace VantorGL
