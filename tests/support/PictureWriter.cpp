// PictureWriter: libpng and libjpeg encoders for test inputs, and plain BMP and GIF writers.
#include "support/PictureWriter.h"

#include <png.h>

#include <algorithm>
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

namespace {

void PutLittle(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

}  // namespace

bool WriteBmp(const std::string& path, int width, int height, int bitsPerPixel,
              const std::vector<std::uint8_t>& samples, const std::vector<PngPaletteEntry>& palette, bool topDown) {
    const int channels = bitsPerPixel == 32 ? 4 : bitsPerPixel == 24 ? 3 : 1;
    const std::size_t rowBytes = (std::size_t(width) * bitsPerPixel + 31) / 32 * 4;
    const std::uint32_t offset = 14 + 40 + std::uint32_t(palette.size()) * 4;
    std::vector<std::uint8_t> out = {'B', 'M'};
    PutLittle(out, offset + std::uint32_t(rowBytes) * height, 4);
    PutLittle(out, 0, 4);
    PutLittle(out, offset, 4);
    PutLittle(out, 40, 4);
    PutLittle(out, std::uint32_t(width), 4);
    PutLittle(out, std::uint32_t(topDown ? -height : height), 4);
    PutLittle(out, 1, 2);  // planes
    PutLittle(out, std::uint32_t(bitsPerPixel), 2);
    PutLittle(out, 0, 4);  // no compression
    PutLittle(out, std::uint32_t(rowBytes) * height, 4);
    PutLittle(out, 2835, 4);  // 72 dots per inch, both ways
    PutLittle(out, 2835, 4);
    PutLittle(out, std::uint32_t(palette.size()), 4);
    PutLittle(out, 0, 4);
    for (const PngPaletteEntry& c : palette) out.insert(out.end(), {c.b, c.g, c.r, 0});
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        std::vector<std::uint8_t> line(rowBytes);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* p = samples.data() + (std::size_t(y) * width + x) * channels;
            if (channels == 1) {
                const int bit = x * bitsPerPixel;  // indices pack from the byte's high bits
                line[bit / 8] |= std::uint8_t(p[0] << (8 - bitsPerPixel - bit % 8));
            } else {
                std::uint8_t* q = line.data() + std::size_t(x) * channels;
                q[0] = p[2], q[1] = p[1], q[2] = p[0];
                if (channels == 4) q[3] = p[3];
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return WriteBytes(path, out);
}

bool WriteGif(const std::string& path, int width, int height, const std::vector<PngPaletteEntry>& palette,
              const std::vector<std::vector<std::uint8_t>>& frames, int transparent) {
    int tableBits = 1;  // the colour table holds 2 << (its size field) entries
    while ((2 << (tableBits - 1)) < int(palette.size())) ++tableBits;
    std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
    PutLittle(out, std::uint32_t(width), 2);
    PutLittle(out, std::uint32_t(height), 2);
    out.insert(out.end(), {std::uint8_t(0xf0 | (tableBits - 1)), 0, 0});
    for (int i = 0; i < (2 << (tableBits - 1)); ++i) {
        const PngPaletteEntry c = i < int(palette.size()) ? palette[std::size_t(i)] : PngPaletteEntry{0, 0, 0};
        out.insert(out.end(), {c.r, c.g, c.b});
    }
    for (const std::vector<std::uint8_t>& frame : frames) {
        // Graphic control: no disposal, 0.1 s, the transparent index when there is one.
        out.insert(out.end(), {0x21, 0xf9, 4, std::uint8_t(transparent >= 0 ? 0x05 : 0x04), 10, 0,
                               std::uint8_t(transparent >= 0 ? transparent : 0), 0});
        out.push_back(0x2c);
        PutLittle(out, 0, 4);
        PutLittle(out, std::uint32_t(width), 2);
        PutLittle(out, std::uint32_t(height), 2);
        out.push_back(0);  // no local colour table, not interlaced
        // LZW with 8-bit literals and 9-bit codes: a clear code every 254 literals keeps the code
        // table from growing, so no decoder ever widens its codes.
        constexpr unsigned kClear = 256, kEnd = 257;
        std::vector<std::uint8_t> packed;
        std::uint32_t bits = 0;
        int count = 0;
        auto put = [&](unsigned code) {
            bits |= code << count;
            for (count += 9; count >= 8; count -= 8, bits >>= 8) packed.push_back(std::uint8_t(bits));
        };
        for (std::size_t i = 0; i < frame.size(); ++i) {
            if (i % 254 == 0) put(kClear);
            put(frame[i]);
        }
        put(kEnd);
        if (count > 0) packed.push_back(std::uint8_t(bits));
        out.push_back(8);
        for (std::size_t at = 0; at < packed.size(); at += 255) {
            const std::size_t length = std::min<std::size_t>(255, packed.size() - at);
            out.push_back(std::uint8_t(length));
            out.insert(out.end(), packed.begin() + std::ptrdiff_t(at), packed.begin() + std::ptrdiff_t(at + length));
        }
        out.push_back(0);
    }
    out.push_back(0x3b);
    return WriteBytes(path, out);
}

}  // namespace VantorGLTest
