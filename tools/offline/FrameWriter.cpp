// FrameWriter: back buffer to PNG through libpng.
#include "offline/FrameWriter.h"

#include "shell/Console.h"
#include "shell/Platform.h"

#include <epoxy/gl.h>
#include <png.h>

#include <cstdio>
#include <cstring>

void FrameWriter::Resize(int w, int h) {
    width = w;
    height = h;
    pixels.assign(std::size_t(w) * h * 3, 0);
    flipped.assign(pixels.size(), 0);
}

void FrameWriter::ReadBack() {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    const std::size_t row = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y)
        std::memcpy(&flipped[y * row], &pixels[(height - 1 - y) * row], row);
}

bool WriteRgbPng(const std::string& path, int width, int height, const std::uint8_t* rows, int compressionLevel) {
    FILE* file = VantorGL::OpenFile(path, "wb");
    if (!file) {
        VantorGL::ConsolePrint("CAPTURE", "%s: cannot write", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        VantorGL::ConsolePrint("CAPTURE", "%s: PNG encoding failed", path.c_str());
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, compressionLevel);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t row = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y) png_write_row(png, const_cast<std::uint8_t*>(rows + y * row));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    bool ok = std::fclose(file) == 0;
    if (!ok) VantorGL::ConsolePrint("CAPTURE", "%s: cannot write", path.c_str());
    return ok;
}

bool FrameWriter::Write(const std::string& path) {
    ReadBack();
    return WriteRgbPng(path, width, height, flipped.data(), 3);  // frames are many and big: favour speed
}
