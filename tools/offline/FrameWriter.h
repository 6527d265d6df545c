// FrameWriter: reads the back buffer and writes it as an 8-bit RGB PNG, top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes width x height 8-bit RGB pixels, top row first, as a PNG at zlib `compressionLevel`
// (0..9). False, with a CAPTURE line on stderr, when the file cannot be written.
bool WriteRgbPng(const std::string& path, int width, int height, const std::uint8_t* rows, int compressionLevel);

class FrameWriter {
public:
    // Sizes the buffers once for width x height pixels.
    void Resize(int width, int height);
    // glReadPixels of the back buffer into the buffer, flipped to top row first.
    void ReadBack();
    // ReadBack, then the PNG. False (with a CAPTURE line on stderr) when it cannot be written.
    bool Write(const std::string& path);
    // The last frame read back: RGB, top row first, width x height as sized.
    const std::uint8_t* Rows() const { return flipped.data(); }

private:
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> flipped;
};
