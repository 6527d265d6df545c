// PictureWriter: writes small PNG and JPEG files from test code, so loader tests make their
// own inputs (every PNG colour type, 16-bit samples, palettes with tRNS, baseline JPEG).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace VantorGLTest {

struct PngPaletteEntry {
    std::uint8_t r, g, b;
};

// Writes `rows` (height rows of packed samples exactly as the PNG stores them: big-endian
// 16-bit samples, bit-packed for depths below 8) with the given libpng colour type and depth.
// `palette` and `transparency` (the tRNS bytes) are written when non-empty. Returns success.
bool WritePng(const std::string& path, int width, int height, int colorType, int bitDepth,
              const std::vector<std::vector<std::uint8_t>>& rows, const std::vector<PngPaletteEntry>& palette = {},
              const std::vector<std::uint8_t>& transparency = {});

// Writes an 8-bit RGBA image (top row first) as a PNG with alpha.
bool WriteRgbaPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba);

// Writes an 8-bit RGB image (top row first) as a baseline JPEG of the given quality.
bool WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
               int quality = 95);

// Reads a whole file / writes bytes to a file (for truncating and corrupting inputs).
std::vector<std::uint8_t> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace VantorGLTest
