// ReadRgbPng: reads back an 8-bit RGB PNG that a tool wrote (capture frames, contact sheets),
// so tests compare its pixels as data.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace VantorGLTest {

// An 8-bit RGB PNG's rows, top row first; empty when it is not one.
inline std::vector<std::uint8_t> ReadRgbPng(const std::string& path, int& width, int& height) {
    std::vector<std::uint8_t> rgb;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return rgb;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_read_info(png, info);
        if (png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB && png_get_bit_depth(png, info) == 8) {
            width = int(png_get_image_width(png, info));
            height = int(png_get_image_height(png, info));
            rgb.resize(std::size_t(width) * height * 3);
            for (int y = 0; y < height; ++y) png_read_row(png, &rgb[std::size_t(y) * width * 3], nullptr);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return rgb;
}

}  // namespace VantorGLTest
