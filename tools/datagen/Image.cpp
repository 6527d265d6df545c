// Image: canvas helpers and the libpng / libjpeg-turbo encoders and decoders of the generator.
#include "Image.h"

#include "shell/Console.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <jpeglib.h>

namespace Datagen {

Rgba Hex(uint32_t rgb, float a) {
    return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, a};
}

Rgba Mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba Scale(const Rgba& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

void Over(Rgba& dst, const Rgba& src, float coverage) {
    float sa = std::clamp(src.a * coverage, 0.0f, 1.0f);
    if (sa <= 0.0f) return;
    float da = dst.a * (1.0f - sa);
    float outA = sa + da;
    // Keep the colour of fully transparent results meaningful: linear filtering of an RGBA
    // texture mixes the colour of transparent texels into the edge of what is drawn.
    dst.r = (src.r * sa + dst.r * da) / outA;
    dst.g = (src.g * sa + dst.g * da) / outA;
    dst.b = (src.b * sa + dst.b * da) / outA;
    dst.a = outA;
}

Image::Image(int w, int h, Rgba fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

Image BoxReduced(const Image& image, int factor) {
    Image reduced(image.width / factor, image.height / factor);
    const float share = 1.0f / float(factor * factor);
    for (int y = 0; y < reduced.height; ++y)
        for (int x = 0; x < reduced.width; ++x) {
            Rgba sum{0, 0, 0, 0};
            for (int j = 0; j < factor; ++j)
                for (int i = 0; i < factor; ++i) {
                    const Rgba& c = image.At(x * factor + i, y * factor + j);
                    sum.r += c.r, sum.g += c.g, sum.b += c.b, sum.a += c.a;
                }
            reduced.At(x, y) = {sum.r * share, sum.g * share, sum.b * share, sum.a * share};
        }
    return reduced;
}

Field::Field(int w, int h, float fill) : width(w), height(h), values(static_cast<size_t>(w) * h, fill) {}

float Field::Wrap(int x, int y) const {
    x %= width;
    y %= height;
    if (x < 0) x += width;
    if (y < 0) y += height;
    return At(x, y);
}

namespace {

// A fixed 8 x 8 Bayer pattern in (-0.5, 0.5): deterministic and invisible at one step.
float Dither(int x, int y) {
    static const uint8_t kBayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
        {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},   {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37},  {63, 31, 55, 23, 61, 29, 53, 21}};
    return (kBayer[y & 7][x & 7] + 0.5f) / 64.0f - 0.5f;
}

uint8_t ToByte(float v, float dither) {
    float s = v * 255.0f + dither + 0.5f;
    return static_cast<uint8_t>(std::clamp(std::floor(s), 0.0f, 255.0f));
}

std::vector<uint8_t> Quantise(const Image& image, int channels, bool dither) {
    std::vector<uint8_t> out(static_cast<size_t>(image.width) * image.height * channels);
    size_t i = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.At(x, y);
            float d = dither ? Dither(x, y) : 0.0f;
            out[i++] = ToByte(p.r, d);
            out[i++] = ToByte(p.g, d);
            out[i++] = ToByte(p.b, d);
            if (channels == 4) out[i++] = ToByte(p.a, d);
        }
    }
    return out;
}

struct JpegError {
    jpeg_error_mgr manager;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    longjmp(error->jump, 1);
}

// libjpeg's warnings ("Premature end of JPEG file") go through the console like ours.
void JpegWarning(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    VantorGL::ConsolePrint("DATAGEN", "JPEG: %s", message);
}

}  // namespace

std::vector<uint8_t> EncodePng(const Image& image, bool withAlpha, bool dither) {
    const int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> pixels = Quantise(image, channels, dither);
    // The full writer for zlib's best level (the simple one has none): the pictures decode to
    // the same pixels, in about an eighth fewer bytes.
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    std::vector<uint8_t> out;
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) rows[y] = pixels.data() + std::size_t(y) * image.width * channels;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(
        png, &out,
        [](png_structp writer, png_bytep data, png_size_t length) {
            auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(writer));
            bytes->insert(bytes->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> EncodeJpeg(const Image& image, int quality, bool dither) {
    std::vector<uint8_t> pixels = Quantise(image, 3, dither);
    jpeg_compress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JpegErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        VantorGL::ConsolePrint("DATAGEN", "JPEG encoder: %s", error.message);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width);
    info.image_height = static_cast<JDIMENSION>(image.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    for (int c = 0; c < 3; ++c) info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = pixels.data() + static_cast<size_t>(info.next_scanline) * image.width * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) {
        VantorGL::ConsolePrint("DATAGEN", "%s: nothing to write (encoder failed)", path.c_str());
        return false;
    }
    std::error_code code;
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, code);
    // Written whole under a name of its own, then renamed into place: a reader (the studio
    // watching the folder) sees the old file or the new one, never a part.
    const std::string temporary = path + kTemporarySuffix;
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        std::filesystem::remove(temporary, code);
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot write", path.c_str());
        return false;
    }
    std::filesystem::rename(temporary, path, code);
    if (code) {
        std::filesystem::remove(temporary, code);
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot put in place: %s", path.c_str(), code.message().c_str());
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, DecodedPicture& out, std::string& error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = png.message;
        return false;
    }
    bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    out.width = static_cast<int>(png.width);
    out.height = static_cast<int>(png.height);
    out.channels = alpha ? 4 : 3;
    out.bytes.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, out.bytes.data(), 0, nullptr)) {
        error = png.message;
        png_image_free(&png);
        return false;
    }
    return true;
}

bool ReadJpeg(const std::string& path, DecodedPicture& out, std::string& error) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = "cannot open";
        return false;
    }
    jpeg_decompress_struct info;
    JpegError jerror;
    info.err = jpeg_std_error(&jerror.manager);
    jerror.manager.error_exit = JpegErrorExit;
    jerror.manager.output_message = JpegWarning;
    if (setjmp(jerror.jump)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        error = jerror.message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.channels = 3;
    out.bytes.resize(static_cast<size_t>(out.width) * out.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.bytes.data() + static_cast<size_t>(info.output_scanline) * out.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return true;
}

}  // namespace Datagen
