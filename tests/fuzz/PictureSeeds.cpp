// Writes the hand-made seed corpora of the two texture fuzz targets: `picture_seeds PNGDIR JPEGDIR`.
// Small PNGs of every colour type, depth, palette and interlace the PNG route expands, and JPEGs
// of every kind the picture route meets (baseline, progressive, grey, Adobe CMYK, restart markers).
#include "support/PictureWriter.h"

#include <png.h>

#include <cstdio>
#include <jpeglib.h>

using namespace VantorGLTest;

namespace {

// A size x size test pattern with black corners, so the alpha rule has something to do.
std::vector<std::uint8_t> Pattern(int width, int height, int components) {
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                pixels.push_back((x < 2 && y < 2) ? 0 : std::uint8_t((x * 37 + y * 11 + c * 80) & 0xff));
    return pixels;
}

// An interlaced RGBA PNG (the writer in tests/support writes non-interlaced ones only).
bool WriteInterlacedPng(const std::string& path, int width, int height) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<std::uint8_t> pixels = Pattern(width, height, 4);
    std::vector<png_bytep> rows;
    for (int y = 0; y < height; ++y) rows.push_back(pixels.data() + std::size_t(y) * width * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

enum class eJpegKind { Baseline, Progressive, Grey, Cmyk, Restarts };

bool WriteJpegKind(const std::string& path, int width, int height, eJpegKind kind) {
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
    jpeg_set_quality(&info, 80, TRUE);
    if (kind == eJpegKind::Progressive) jpeg_simple_progression(&info);
    if (kind == eJpegKind::Cmyk) jpeg_set_colorspace(&info, JCS_YCCK);  // the Adobe kind, with its marker
    if (kind == eJpegKind::Restarts) info.restart_interval = 1;
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> pixels = Pattern(width, height, info.input_components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = pixels.data() + std::size_t(info.next_scanline) * width * info.input_components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PNGDIR JPEGDIR\n", argv[0]);
        return 2;
    }
    const std::string png = argv[1], jpeg = argv[2];
    bool ok = true;

    // Every colour type and depth, 3 x 2 pixels (not powers of two, so the scaler runs).
    struct Case {
        const char* name;
        int colorType, bitDepth, rowBytes;
    };
    const Case cases[] = {
        {"grey1", PNG_COLOR_TYPE_GRAY, 1, 1},        {"grey4", PNG_COLOR_TYPE_GRAY, 4, 2},
        {"grey8", PNG_COLOR_TYPE_GRAY, 8, 3},        {"grey16", PNG_COLOR_TYPE_GRAY, 16, 6},
        {"greyalpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, 6}, {"rgb8", PNG_COLOR_TYPE_RGB, 8, 9},
        {"rgb16", PNG_COLOR_TYPE_RGB, 16, 18},       {"rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, 12},
        {"rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16, 24},
    };
    for (const Case& c : cases) {
        std::vector<std::vector<std::uint8_t>> rows(2, std::vector<std::uint8_t>(std::size_t(c.rowBytes)));
        for (std::size_t i = 0; i < rows[1].size(); ++i) rows[1][i] = std::uint8_t(0x35 * (i + 1));
        ok &= WritePng(png + "/" + c.name + ".png", 3, 2, c.colorType, c.bitDepth, rows);
    }
    const std::vector<PngPaletteEntry> palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ok &= WritePng(png + "/palette2.png", 3, 2, PNG_COLOR_TYPE_PALETTE, 2, {{0x1b}, {0xe4}}, palette);
    ok &= WritePng(png + "/palette8-trns.png", 3, 2, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1, 2}, {3, 2, 1}}, palette,
                   {0, 128});
    ok &= WritePng(png + "/grey8-trns.png", 3, 2, PNG_COLOR_TYPE_GRAY, 8, {{0, 9, 200}, {9, 0, 255}}, {}, {0, 9});
    ok &= WriteInterlacedPng(png + "/interlaced.png", 9, 9);
    ok &= WriteRgbaPng(png + "/rgba-17x5.png", 17, 5, Pattern(17, 5, 4));

    ok &= WriteJpeg(jpeg + "/baseline.jpg", 20, 12, Pattern(20, 12, 3));
    ok &= WriteJpegKind(jpeg + "/progressive.jpg", 24, 16, eJpegKind::Progressive);
    ok &= WriteJpegKind(jpeg + "/grey.jpg", 16, 9, eJpegKind::Grey);
    ok &= WriteJpegKind(jpeg + "/adobe-cmyk.jpg", 16, 16, eJpegKind::Cmyk);
    ok &= WriteJpegKind(jpeg + "/restarts.jpg", 33, 17, eJpegKind::Restarts);
    // The picture route reads PNG content too, whatever the name says.
    ok &= WriteRgbaPng(jpeg + "/png-content.jpg", 5, 3, Pattern(5, 3, 4));
    if (!ok) {
        std::fprintf(stderr, "picture_seeds: cannot write the seeds into %s and %s\n", png.c_str(), jpeg.c_str());
        return 1;
    }
    return 0;
}
