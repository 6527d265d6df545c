// PictureWriter: writes small PNG, JPEG, BMP and GIF files from test code, so loader tests make
// their own inputs (every PNG colour type, 16-bit samples, palettes with tRNS, interlacing, the
// JPEG kinds: baseline, progressive, grey, CMYK, restart markers; palette and true-colour BMPs;
// GIFs of several frames with a transparent colour).
#pragma once

#include "support/FileBytes.h"

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

// Writes an 8-bit RGBA image (top row first) as a PNG with alpha, Adam7-interlaced on request.
bool WriteRgbaPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
                  bool interlaced = false);

// The JPEG encodings the picture route meets. Grey takes 1 sample a pixel, Cmyk 4 (written as
// Adobe YCCK, with its marker), the others RGB; Restarts puts a restart marker after every MCU.
enum class eJpegKind { Baseline, Progressive, Grey, Cmyk, Restarts };

// Writes an 8-bit image (top row first, samples as `kind` takes them) as a JPEG of the given
// quality.
bool WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& pixels,
               int quality = 95, eJpegKind kind = eJpegKind::Baseline);

// Writes an uncompressed BMP (40-byte info header) of `samples`, top row first: palette indices,
// one a pixel, for 1, 4 and 8 bits per pixel (with `palette` as the colour table), RGB for 24,
// RGBA for 32. The file stores the bottom row first, or the top row first under a negative
// height when `topDown`.
bool WriteBmp(const std::string& path, int width, int height, int bitsPerPixel,
              const std::vector<std::uint8_t>& samples, const std::vector<PngPaletteEntry>& palette = {},
              bool topDown = false);

// Writes a GIF89a of `frames`, each width x height palette indices (top row first) covering the
// whole screen, over one global colour table (`palette`, at most 256 entries). Each frame has a
// graphic control block with `transparent` as its transparent index (none when -1).
bool WriteGif(const std::string& path, int width, int height, const std::vector<PngPaletteEntry>& palette,
              const std::vector<std::vector<std::uint8_t>>& frames, int transparent = -1);

}  // namespace VantorGLTest
