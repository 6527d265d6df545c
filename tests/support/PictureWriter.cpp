// PictureWriter: libpng and libjpeg encoders for test inputs.
#include "support/PictureWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <jpeglib.h>

namespace VantorGLTest {

namespace {

bool WritePngRows(const std::string& path, int width, int height, int colorType, int bitDepth, int interlace,
                  const std::vector<std::vector<std::uint8_t>>& rows, const std::vector<PngPaletteEntry>& palette,
                  const std::vector<std::uint8_t>& transparency) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> pointers;
    for (const auto& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
    std::vector<png_color> colors;
    for (const auto& entry : palette) colors.push_back(png_color{entry.r, entry.g, entry.b});
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colorType, interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!colors.empty()) png_set_PLTE(png, info, colors.data(), int(colors.size()));
    if (!transparency.empty())
        png_set_tRNS(png, info, transparency.data(), int(transparency.size()), nullptr);
    png_write_info(png, info);
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, int colorType, int bitDepth,
              const std::vector<std::vector<std::uint8_t>>& rows, const std::vector<PngPaletteEntry>& palette,
              const std::vector<std::uint8_t>& transparency) {
    return WritePngRows(path, width, height, colorType, bitDepth, PNG_INTERLACE_NONE, rows, palette, transparency);
}

bool WriteRgbaPng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgba,
                  bool interlaced) {
    std::vector<std::vector<std::uint8_t>> rows;
    for (int y = 0; y < height; ++y)
        rows.emplace_back(rgba.begin() + std::ptrdiff_t(y) * width * 4, rgba.begin() + std::ptrdiff_t(y + 1) * width * 4);
    return WritePngRows(path, width, height, PNG_COLOR_TYPE_RGB_ALPHA, 8,
                        interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, rows, {}, {});
}

bool WriteJpeg(const std::string& path, int width, int height, const std::vector<std::uint8_t>& pixels,
               int quality, eJpegKind kind) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = kind == eJpegKind::Grey ? 1 : kind == eJpegKind::Cmyk ? 4 : 3;
    info.in_color_space = kind == eJpegKind::Grey ? JCS_GRAYSCALE : kind == eJpegKind::Cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (kind == eJpegKind::Progressive) jpeg_simple_progression(&info);
    if (kind == eJpegKind::Cmyk) jpeg_set_colorspace(&info, JCS_YCCK);
    if (kind == eJpegKind::Restarts) info.restart_interval = 1;
    jpeg_start_compress(&info, TRUE);
    const std::size_t rowSamples = std::size_t(width) * std::size_t(info.input_components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.data() + std::size_t(info.next_scanline) * rowSamples);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace VantorGLTest
