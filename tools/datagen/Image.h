// Image: the float RGBA canvas and single-channel field every generated picture is painted on,
// plus the PNG/JPEG encoders and decoders that write and check the data folder's pictures.
// Row 0 is the top row of the picture, as both file formats store it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Datagen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB as a colour with the given alpha.
Rgba Hex(uint32_t rgb, float a = 1.0f);
// Component-wise linear mix, t = 0 gives a.
Rgba Mix(const Rgba& a, const Rgba& b, float t);
Rgba Scale(const Rgba& c, float k);  // rgb scaled, alpha kept
// Non-premultiplied "over": src painted on dst with src.a × coverage.
void Over(Rgba& dst, const Rgba& src, float coverage = 1.0f);

class Image {
public:
    Image() = default;
    Image(int w, int h, Rgba fill = {});
    Rgba& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgba& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    int width = 0, height = 0;
    std::vector<Rgba> pixels;
};

// `image` made `factor` times smaller each way, each texel the mean of the block it covers (the
// sizes must divide).
Image BoxReduced(const Image& image, int factor);

// One float per pixel: heights, masks, text coverage.
class Field {
public:
    Field() = default;
    Field(int w, int h, float fill = 0.0f);
    float& At(int x, int y) { return values[static_cast<size_t>(y) * width + x]; }
    float At(int x, int y) const { return values[static_cast<size_t>(y) * width + x]; }
    // Wrapped integer lookup (tileable pictures).
    float Wrap(int x, int y) const;

    int width = 0, height = 0;
    std::vector<float> values;
};

enum class PictureFormat { Jpeg, PngRgb, PngRgba };

// Encoders. `dither` adds a fixed ±half-step pattern before rounding so smooth gradients do not
// band; leave it off where exact values matter (normal maps, the flat normal).
// JPEG: baseline, 4:4:4 (no chroma subsampling, so thin text and normals stay crisp).
std::vector<uint8_t> EncodePng(const Image& image, bool withAlpha, bool dither);
std::vector<uint8_t> EncodeJpeg(const Image& image, int quality, bool dither);

// Writes bytes to `path`, creating parent folders: whole to `path` + kTemporarySuffix, then renamed
// into place, so the file at `path` is always a whole one. False after printing "DATAGEN: ..."
// on failure (the temporary file gone again).
inline constexpr const char* kTemporarySuffix = ".datagen-part";
bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// A decoded 8-bit picture, rows top first, `channels` bytes per pixel (3 or 4).
struct DecodedPicture {
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> bytes;
};
// Decoders for checking what was written. On failure return false and fill `error`.
bool ReadPng(const std::string& path, DecodedPicture& out, std::string& error);
bool ReadJpeg(const std::string& path, DecodedPicture& out, std::string& error);

}  // namespace Datagen
