// FrameWriter: reads the back buffer and writes it as an 8-bit RGB PNG, top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class FrameWriter {
public:
    // Sizes the buffers once for width x height pixels.
    void Resize(int width, int height);
    // glReadPixels of the back buffer into the buffer, flipped to top row first; then the PNG.
    // False (with a CAPTURE line on stderr) when the file cannot be written.
    bool Write(const std::string& path);

private:
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    std::vector<std::uint8_t> flipped;
};
