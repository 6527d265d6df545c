// Writes the hand-made seed corpora of the two texture fuzz targets: `picture_seeds PNGDIR JPEGDIR`.
// Small PNGs of every colour type, depth, palette and interlace the PNG route expands, and JPEGs
// of every kind the picture route meets (baseline, progressive, grey, Adobe CMYK, restart markers),
// with BMPs of each depth and row order and GIFs (several frames, a transparent colour) beside them.
#include "support/PictureWriter.h"

#include <png.h>

#include <cstdio>

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
    ok &= WriteRgbaPng(png + "/interlaced.png", 9, 9, Pattern(9, 9, 4), true);
    ok &= WriteRgbaPng(png + "/rgba-17x5.png", 17, 5, Pattern(17, 5, 4));

    ok &= WriteJpeg(jpeg + "/baseline.jpg", 20, 12, Pattern(20, 12, 3));
    ok &= WriteJpeg(jpeg + "/progressive.jpg", 24, 16, Pattern(24, 16, 3), 80, eJpegKind::Progressive);
    ok &= WriteJpeg(jpeg + "/grey.jpg", 16, 9, Pattern(16, 9, 1), 80, eJpegKind::Grey);
    ok &= WriteJpeg(jpeg + "/adobe-cmyk.jpg", 16, 16, Pattern(16, 16, 4), 80, eJpegKind::Cmyk);
    ok &= WriteJpeg(jpeg + "/restarts.jpg", 33, 17, Pattern(33, 17, 3), 80, eJpegKind::Restarts);
    // The picture route reads PNG content too, whatever the name says.
    ok &= WriteRgbaPng(jpeg + "/png-content.jpg", 5, 3, Pattern(5, 3, 4));
    // And BMP and GIF: palette depths, true colour both row orders, alpha; two frames, transparency.
    std::vector<PngPaletteEntry> colours;
    for (int i = 0; i < 16; ++i) colours.push_back({std::uint8_t(i * 17), std::uint8_t(i * 13), std::uint8_t(i * 5)});
    std::vector<std::uint8_t> indices = Pattern(8, 8, 1);
    for (std::uint8_t& index : indices) index &= 15;
    std::vector<std::uint8_t> bits = indices;
    for (std::uint8_t& bit : bits) bit &= 1;
    ok &= WriteBmp(jpeg + "/palette1.bmp", 8, 8, 1, bits, {colours[0], colours[9]});
    ok &= WriteBmp(jpeg + "/palette4.bmp", 8, 8, 4, indices, colours);
    ok &= WriteBmp(jpeg + "/palette8-top-down.bmp", 8, 8, 8, indices, colours, true);
    ok &= WriteBmp(jpeg + "/rgb24-9x5.bmp", 9, 5, 24, Pattern(9, 5, 3));
    ok &= WriteBmp(jpeg + "/rgba32.bmp", 8, 8, 32, Pattern(8, 8, 4));
    std::vector<std::uint8_t> second = Pattern(16, 16, 1);
    for (std::uint8_t& index : second) index = std::uint8_t((index >> 4) & 15);
    std::vector<std::uint8_t> first = Pattern(16, 16, 1);
    for (std::uint8_t& index : first) index &= 15;
    ok &= WriteGif(jpeg + "/two-frames.gif", 16, 16, colours, {first, second}, 0);
    ok &= WriteGif(jpeg + "/opaque-9x7.gif", 9, 7, colours, {std::vector<std::uint8_t>(63, 3)});
    if (!ok) {
        std::fprintf(stderr, "picture_seeds: cannot write the seeds into %s and %s\n", png.c_str(), jpeg.c_str());
        return 1;
    }
    return 0;
}
