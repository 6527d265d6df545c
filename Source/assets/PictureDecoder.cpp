// PictureDecoder: libpng, libjpeg-turbo and stb_image (BMP, GIF) behind one small interface, plus
// the sizing, scaling and alpha rules of the two texture routes. libpng and libjpeg report errors
// by longjmp; each setjmp frame below holds only C objects, and everything C++ lives in the
// caller's frame.
#include "assets/PictureDecoder.h"

#include "assets/DataPath.h"

#include <png.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <system_error>
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <jerror.h>
#include <stb_image.h>

namespace VantorGL {

namespace {

constexpr std::uint8_t kPngMagic[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::uint8_t kJpegMagic[3] = {0xff, 0xd8, 0xff};
constexpr std::uint8_t kBmpMagic[2] = {'B', 'M'};
constexpr std::uint8_t kGif87Magic[6] = {'G', 'I', 'F', '8', '7', 'a'};
constexpr std::uint8_t kGif89Magic[6] = {'G', 'I', 'F', '8', '9', 'a'};

// A block of file bytes already in memory (a whole file read, or a caller's buffer).
struct cBytes {
    const std::uint8_t* data;
    std::size_t size;
};

bool StartsWith(cBytes bytes, const std::uint8_t* magic, std::size_t size) {
    return bytes.data && bytes.size >= size && std::memcmp(bytes.data, magic, size) == 0;
}

bool IsPng(cBytes bytes) { return StartsWith(bytes, kPngMagic, sizeof kPngMagic); }
bool IsJpeg(cBytes bytes) { return StartsWith(bytes, kJpegMagic, sizeof kJpegMagic); }
bool IsBmp(cBytes bytes) { return StartsWith(bytes, kBmpMagic, sizeof kBmpMagic); }
bool IsGif(cBytes bytes) {
    return StartsWith(bytes, kGif87Magic, sizeof kGif87Magic) || StartsWith(bytes, kGif89Magic, sizeof kGif89Magic);
}

// Reads a whole data file; a failure says why in the picture loader's words.
bool ReadWholeFile(const std::string& file, std::vector<std::uint8_t>& bytes, std::string& error) {
    int osError = 0;
    switch (ReadWholeDataFile(file, bytes, osError)) {
        case eFileRead::Ok: return true;
        case eFileRead::CannotOpen:
            error = osError == ENOENT ? "no such file" : std::error_code(osError, std::generic_category()).message();
            return false;
        case eFileRead::Folder: error = "is a folder, not a picture file"; return false;
        case eFileRead::NotRegular: error = "not a regular file"; return false;
        case eFileRead::Empty: error = "empty file"; return false;
        case eFileRead::TooLarge: error = "file too large for a texture"; return false;
        case eFileRead::ReadError: error = "read error"; return false;
    }
    return false;
}

bool CheckPixelCount(std::uint32_t width, std::uint32_t height, char* message, std::size_t messageSize) {
    if (width == 0 || height == 0 || std::int64_t(width) * height > kMaxDecodedPixels) {
        std::snprintf(message, messageSize, "picture size %ux%u not supported", unsigned(width), unsigned(height));
        return false;
    }
    return true;
}

// --- PNG ----------------------------------------------------------------------------------------

struct PngReadState {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
    char message[160];
};

void PngError(png_structp png, png_const_charp text) {
    auto* state = static_cast<PngReadState*>(png_get_error_ptr(png));
    std::snprintf(state->message, sizeof state->message, "corrupt PNG: %s", text);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep target, png_size_t count) {
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (count > state->size - state->offset) {
        std::snprintf(state->message, sizeof state->message, "truncated PNG file");
        png_longjmp(png, 1);
    }
    std::memcpy(target, state->data + state->offset, count);
    state->offset += count;
}

// The setjmp frame for libpng. `pixels` and `rows` belong to the caller; they are sized here once
// the header is known. Returns false with state.message set on any error.
bool DecodePngInto(PngReadState& state, cRawImage& image, std::vector<std::uint8_t>& pixels,
                   std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, PngError, PngWarning);
    if (!png) {
        std::snprintf(state.message, sizeof state.message, "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::snprintf(state.message, sizeof state.message, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &state, PngRead);
    png_read_info(png, info);

    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    if (!CheckPixelCount(width, height, state.message, sizeof state.message)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    int colorType = png_get_color_type(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;

    // Everything becomes 8-bit RGBA: the file's alpha where it has one, opaque otherwise.
    if (bitDepth == 16) png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        alpha = true;
    }
    if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
    if (!alpha) png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t(width) * 4) {
        std::snprintf(state.message, sizeof state.message, "unsupported PNG layout");
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }

    pixels.resize(std::size_t(width) * height * 4);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + std::size_t(y) * width * 4;
    png_read_image(png, rows.data());
    // The trailing chunks are not needed; a file cut after its image data still loads.
    png_destroy_read_struct(&png, &info, nullptr);

    image.width = int(width);
    image.height = int(height);
    image.fileHasAlpha = alpha;
    return true;
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// libpng allocates a chunk's whole stated length before it reads the chunk, so a 70-byte file
// whose chunk header claims 2 GB costs 2 GB before the read fails. Every chunk libpng reads
// whole, the ones before the image data, must lie inside the file. The image data itself is
// streamed, and nothing after it is read, so a file cut there keeps loading as before.
bool ChunksBeforeImageDataFit(cBytes bytes) {
    constexpr std::uint32_t kIdat = 0x49444154;  // "IDAT"
    std::size_t at = sizeof kPngMagic;
    while (bytes.size - at >= 8) {
        const std::uint32_t length = BigEndian32(bytes.data + at);
        if (BigEndian32(bytes.data + at + 4) == kIdat) return true;
        if (length > bytes.size - at - 8) return false;
        at += 8 + std::size_t(length);
        if (bytes.size - at < 4) return true;  // the check sum is cut: libpng says so itself
        at += 4;
    }
    return true;
}

bool DecodePngBytes(cBytes bytes, cRawImage& out, std::string& error) {
    if (!ChunksBeforeImageDataFit(bytes)) {
        error = "truncated PNG file";
        return false;
    }
    PngReadState state{bytes.data, bytes.size, 0, {}};
    std::vector<png_bytep> rows;
    if (!DecodePngInto(state, out, out.rgba, rows)) {
        error = state.message;
        return false;
    }
    return true;
}

// --- JPEG ---------------------------------------------------------------------------------------

struct JpegErrorState {
    jpeg_error_mgr manager;  // first, so the library's pointer to it is a pointer to us
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX + 32];
};

void JpegErrorExit(j_common_ptr info) {
    auto* state = reinterpret_cast<JpegErrorState*>(info->err);
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    std::snprintf(state->message, sizeof state->message, "corrupt JPEG: %s", text);
    std::longjmp(state->jump, 1);
}

// Damage in the compressed data is an error, not a picture with smeared blocks: running out of
// data (a cut-off file) and the decoder's "corrupt data" warnings. Other warnings (an unknown
// JFIF revision, an odd colour transform code) leave a usable picture and are ignored.
void JpegEmitMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    auto* state = reinterpret_cast<JpegErrorState*>(info->err);
    switch (info->err->msg_code) {
        case JWRN_JPEG_EOF:
            std::snprintf(state->message, sizeof state->message, "truncated JPEG file");
            std::longjmp(state->jump, 1);
        case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
        case JWRN_EXTRANEOUS_DATA:
        case JWRN_MUST_RESYNC:
        case JWRN_NOT_SEQUENTIAL:
        case JWRN_BOGUS_PROGRESSION: {
            char text[JMSG_LENGTH_MAX];
            info->err->format_message(info, text);
            if (std::strncmp(text, "Corrupt JPEG data", 17) == 0) {
                std::snprintf(state->message, sizeof state->message, "%s", text);
                state->message[0] = 'c';  // "corrupt JPEG data: bad Huffman code"
            } else {
                std::snprintf(state->message, sizeof state->message, "corrupt JPEG: %s", text);
            }
            std::longjmp(state->jump, 1);
        }
        default:
            return;
    }
}

void JpegOutputMessage(j_common_ptr) {}

// The setjmp frame for libjpeg; `pixels` belongs to the caller.
bool DecodeJpegInto(cBytes bytes, JpegErrorState& errors, cRawImage& image,
                    std::vector<std::uint8_t>& pixels) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegErrorExit;
    errors.manager.emit_message = JpegEmitMessage;
    errors.manager.output_message = JpegOutputMessage;
    errors.message[0] = '\0';
    jpeg_create_decompress(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_mem_src(&info, bytes.data, static_cast<unsigned long>(bytes.size));
    jpeg_read_header(&info, TRUE);
    if (!CheckPixelCount(info.image_width, info.image_height, errors.message, sizeof errors.message)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Adobe CMYK/YCCK files cannot become RGB inside the library; they are converted below.
    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
    jpeg_start_decompress(&info);

    std::size_t width = info.output_width;
    pixels.resize(width * info.output_height * 4);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels.data() + std::size_t(info.output_scanline) * width * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    image.width = int(info.output_width);
    image.height = int(info.output_height);
    jpeg_destroy_decompress(&info);

    if (cmyk) {
        // Adobe writes CMYK inverted: each stored byte is 255 - ink, so R = C' * K' / 255.
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            unsigned k = pixels[i + 3];
            pixels[i + 0] = std::uint8_t(pixels[i + 0] * k / 255);
            pixels[i + 1] = std::uint8_t(pixels[i + 1] * k / 255);
            pixels[i + 2] = std::uint8_t(pixels[i + 2] * k / 255);
            pixels[i + 3] = 255;
        }
    }
    image.fileHasAlpha = false;
    return true;
}

bool DecodeJpegBytes(cBytes bytes, cRawImage& out, std::string& error) {
    JpegErrorState errors;
    if (!DecodeJpegInto(bytes, errors, out, out.rgba)) {
        error = errors.message;
        return false;
    }
    return true;
}

// --- BMP and GIF (stb_image) --------------------------------------------------------------------

std::uint32_t LittleEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// stb_image reads past the end of its bytes as zeros, so a cut-short BMP or GIF would come out
// with a black or empty tail instead of failing. The checks below find where the bytes the
// decoder reads end and refuse a file that stops before that, in the JPEG and PNG loaders' words.

constexpr std::size_t kBmpFileHeader = 14;

// The pixel depth, from the old 12-byte core header or any later one.
unsigned BmpBitsPerPixel(cBytes bytes) {
    const std::size_t at = LittleEndian32(bytes.data + kBmpFileHeader) == 12 ? 24 : 28;
    return bytes.data[at] | unsigned(bytes.data[at + 1]) << 8;
}

// Before stb_image reads the header: the info header (its size is its first field) must be there
// whole, with a depth and a compression stb_image reads (none, or bit fields). stb_image's own
// reason for a header it refuses is lost in its search of the other formats.
bool BmpHeaderReadable(cBytes bytes, std::string& error) {
    if (bytes.size < kBmpFileHeader + 4) return error = "truncated BMP file", false;
    const std::uint32_t infoSize = LittleEndian32(bytes.data + kBmpFileHeader);
    const bool known = infoSize == 12 || infoSize == 40 || infoSize == 56 || infoSize == 108 || infoSize == 124;
    if (!known) return error = "corrupt BMP: unknown header size", false;
    if (bytes.size < kBmpFileHeader + infoSize) return error = "truncated BMP file", false;
    const unsigned bits = BmpBitsPerPixel(bytes);
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return error = "corrupt BMP: " + std::to_string(bits) + " bits per pixel", false;
    const std::uint32_t compression = infoSize == 12 ? 0 : LittleEndian32(bytes.data + 30);
    if (compression == 1 || compression == 2) return error = "run-length compressed BMP not supported", false;
    if (compression != 0 && compression != 3) return error = "BMP compression not supported", false;
    return true;
}

// Once stb_image has read the header: the rows (uncompressed, the only kind it reads) lie at the
// header's pixel offset, each padded to four bytes.
bool BmpPixelsFit(cBytes bytes, std::int64_t width, std::int64_t height) {
    const std::uint32_t offset = LittleEndian32(bytes.data + 10);
    const std::int64_t rowBytes = (width * BmpBitsPerPixel(bytes) + 31) / 32 * 4;
    return std::int64_t(offset) + rowBytes * height <= std::int64_t(bytes.size);
}

constexpr std::size_t kGifScreenHeader = 13;

// Walks the blocks after the screen header (there whole) up to the end of the first image's
// data. Later frames are never decoded, so a file cut after the first one still loads.
bool GifFirstFrameFits(cBytes bytes, std::string& error) {
    const std::uint8_t* data = bytes.data;
    const std::size_t size = bytes.size;
    std::size_t at = kGifScreenHeader;
    if (data[10] & 0x80) at += std::size_t(3) << ((data[10] & 7) + 1);  // global colour table
    // Data sub-blocks: a length byte and that many bytes, up to a zero length.
    auto skipSubBlocks = [&]() {
        while (at < size) {
            const std::uint8_t length = data[at++];
            if (length == 0) return true;
            at += length;
        }
        return false;
    };
    while (at < size) {
        const std::uint8_t block = data[at++];
        if (block == 0x21) {  // extension: a label, then sub-blocks
            ++at;
            if (!skipSubBlocks()) break;
        } else if (block == 0x2c) {  // image: descriptor, local colour table, LZW code size, data
            if (size - at < 9) break;
            const std::uint8_t flags = data[at + 8];
            at += 9;
            if (flags & 0x80) at += std::size_t(3) << ((flags & 7) + 1);
            ++at;
            if (skipSubBlocks()) return true;
            break;
        } else if (block == 0x3b) {
            return error = "GIF file holds no picture", false;
        } else {
            return error = "corrupt GIF: unknown block", false;
        }
    }
    return error = "truncated GIF file", false;
}

// BMP or GIF (its first frame) through stb_image, once the header's size has passed the same
// limit as every other picture. A GIF's transparent pixels are not drawn: they come out black, as
// on an empty bitmap, so the picture route's alpha rule makes them transparent.
bool DecodeStbBytes(cBytes bytes, bool gif, cRawImage& out, std::string& error) {
    const std::string format = gif ? "GIF" : "BMP";
    if (bytes.size > std::size_t(INT32_MAX)) return error = "file too large for a texture", false;
    if (gif && bytes.size < kGifScreenHeader) return error = "truncated GIF file", false;
    if (!gif && !BmpHeaderReadable(bytes, error)) return false;
    const int size = int(bytes.size);
    int width = 0, height = 0, components = 0;
    if (!stbi_info_from_memory(bytes.data, size, &width, &height, &components))
        return error = "corrupt " + format + " header", false;
    // A BMP stored top row first says so with a negative height.
    const std::int64_t rows = height < 0 ? -std::int64_t(height) : height;
    char message[80];
    if (!CheckPixelCount(std::uint32_t(std::max(width, 0)), std::uint32_t(rows), message, sizeof message))
        return error = message, false;
    if (gif ? !GifFirstFrameFits(bytes, error) : !BmpPixelsFit(bytes, width, rows)) {
        if (!gif) error = "truncated BMP file";
        return false;
    }
    stbi_uc* pixels = stbi_load_from_memory(bytes.data, size, &width, &height, &components, 4);
    if (!pixels) {
        // stb_image's reasons are short codes ("bad masks", "illegal code in raster").
        const char* reason = stbi_failure_reason();
        return error = "corrupt " + format + ": " + (reason && *reason ? reason : "no picture"), false;
    }
    out.width = width;
    out.height = height;
    out.rgba.assign(pixels, pixels + std::size_t(width) * height * 4);
    stbi_image_free(pixels);
    out.fileHasAlpha = false;
    for (std::size_t i = 0; i < out.rgba.size(); i += 4) {
        if (out.rgba[i + 3] == 255) continue;
        out.fileHasAlpha = true;
        if (gif && out.rgba[i + 3] == 0) out.rgba[i] = out.rgba[i + 1] = out.rgba[i + 2] = 0;
    }
    return true;
}

bool AnyTransparent(const std::vector<std::uint8_t>& rgba) {
    for (std::size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] != 255) return true;
    return false;
}

// Scales `image` to the texture size in `out` (moving the pixels when no scaling is needed).
void FillTexture(cRawImage& image, int textureWidth, int textureHeight, bool flipRows, cDecodedPicture& out) {
    out.width = image.width;
    out.height = image.height;
    out.textureWidth = textureWidth;
    out.textureHeight = textureHeight;
    out.fileHasAlpha = image.fileHasAlpha;
    if (textureWidth == image.width && textureHeight == image.height && !flipRows) {
        out.rgba = std::move(image.rgba);
        return;
    }
    out.rgba.resize(std::size_t(textureWidth) * textureHeight * 4);
    ScaleNearest(image.rgba.data(), image.width, image.height, out.rgba.data(), textureWidth, textureHeight,
                 flipRows);
}

}  // namespace

const char* TextureRouteName(eTextureRoute route) { return route == eTextureRoute::Png ? "png" : "picture"; }

eTextureRoute ChooseTextureRoute(const std::string& path) {
    return path.find(".png") != std::string::npos ? eTextureRoute::Png : eTextureRoute::Picture;
}

bool DecodeImageBytes(const std::uint8_t* data, std::size_t size, cRawImage& out, std::string& error) {
    const cBytes bytes{data, size};
    if (!data || size == 0) {
        error = "empty file";
        return false;
    }
    if (IsPng(bytes)) return DecodePngBytes(bytes, out, error);
    if (IsJpeg(bytes)) return DecodeJpegBytes(bytes, out, error);
    if (IsBmp(bytes)) return DecodeStbBytes(bytes, false, out, error);
    if (IsGif(bytes)) return DecodeStbBytes(bytes, true, out, error);
    error = "not a JPEG, PNG, BMP or GIF picture";
    return false;
}

bool DecodeImageFile(const std::string& file, cRawImage& out, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(file, bytes, error)) return false;
    return DecodeImageBytes(bytes.data(), bytes.size(), out, error);
}

int PictureSideSize(int size, int maxTextureSize) {
    if (size > maxTextureSize) return maxTextureSize;
    if (size < 1) return 1;
    int n = int(std::floor(std::log(double(size)) / std::log(2.0) + 0.5));
    // With a power-of-two maximum the rounded side never exceeds it; the clamp keeps odd limits safe.
    return std::min(1 << n, maxTextureSize);
}

int PngSideSize(int size, int maxTextureSize) {
    int side = 1;
    while (side < size && side < maxTextureSize) side <<= 1;
    return std::min(side, maxTextureSize);
}

void ScaleNearest(const std::uint8_t* source, int sourceWidth, int sourceHeight, std::uint8_t* target,
                  int targetWidth, int targetHeight, bool flipRows) {
    // Each target texel takes the source pixel under its centre.
    std::vector<int> columns(static_cast<std::size_t>(targetWidth));
    for (int x = 0; x < targetWidth; ++x)
        columns[x] = int((std::int64_t(2 * x + 1) * sourceWidth) / (std::int64_t(2) * targetWidth));
    for (int y = 0; y < targetHeight; ++y) {
        int sourceY = int((std::int64_t(2 * y + 1) * sourceHeight) / (std::int64_t(2) * targetHeight));
        const std::uint8_t* sourceRow = source + std::size_t(sourceY) * sourceWidth * 4;
        int targetY = flipRows ? targetHeight - 1 - y : y;
        std::uint8_t* targetRow = target + std::size_t(targetY) * targetWidth * 4;
        for (int x = 0; x < targetWidth; ++x) std::memcpy(targetRow + std::size_t(x) * 4, sourceRow + std::size_t(columns[x]) * 4, 4);
    }
}

std::size_t ApplyBlackIsTransparent(std::uint8_t* rgba, std::size_t pixelCount) {
    std::size_t transparent = 0;
    for (std::size_t i = 0; i < pixelCount; ++i) {
        std::uint8_t* p = rgba + i * 4;
        bool black = p[0] == 0 && p[1] == 0 && p[2] == 0;
        p[3] = black ? 0 : 255;
        transparent += black;
    }
    return transparent;
}

bool DecodePngTextureBytes(const std::uint8_t* data, std::size_t size, int maxTextureSize, cDecodedPicture& out,
                           std::string& error) {
    if (maxTextureSize < 1) {
        error = "no usable maximum texture size";
        return false;
    }
    if (!data || size == 0) {
        error = "empty file";
        return false;
    }
    if (!IsPng(cBytes{data, size})) {
        error = "not a PNG file";
        return false;
    }
    cRawImage image;
    if (!DecodePngBytes(cBytes{data, size}, image, error)) return false;
    out.route = eTextureRoute::Png;
    FillTexture(image, PngSideSize(image.width, maxTextureSize), PngSideSize(image.height, maxTextureSize),
                false, out);
    out.hasTransparency = out.fileHasAlpha && AnyTransparent(out.rgba);
    return true;
}

bool DecodePictureTextureBytes(const std::uint8_t* data, std::size_t size, int maxTextureSize,
                               cDecodedPicture& out, std::string& error) {
    if (maxTextureSize < 1) {
        error = "no usable maximum texture size";
        return false;
    }
    cRawImage image;
    if (!DecodeImageBytes(data, size, image, error)) return false;
    out.route = eTextureRoute::Picture;
    // Bottom row first, like the bottom-up bitmap the picture was once drawn into.
    FillTexture(image, PictureSideSize(image.width, maxTextureSize),
                PictureSideSize(image.height, maxTextureSize), true, out);
    out.hasTransparency = ApplyBlackIsTransparent(out.rgba.data(), out.rgba.size() / 4) > 0;
    return true;
}

bool DecodePngTexture(const std::string& file, int maxTextureSize, cDecodedPicture& out, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(file, bytes, error)) return false;
    return DecodePngTextureBytes(bytes.data(), bytes.size(), maxTextureSize, out, error);
}

bool DecodePictureTexture(const std::string& file, int maxTextureSize, cDecodedPicture& out, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(file, bytes, error)) return false;
    return DecodePictureTextureBytes(bytes.data(), bytes.size(), maxTextureSize, out, error);
}

bool DecodeTextureFile(const std::string& path, eTextureRoute route, int maxTextureSize, cDecodedPicture& out,
                       std::string& error) {
    // The file's own fault is told first: a picture that cannot be read says so even where no
    // GL context answered the size query (the decoders check the size once the bytes are in).
    if (path.find("http://") != std::string::npos) {
        error = "network paths are not supported";
        return false;
    }
    if (path.empty()) {
        error = "empty path";
        return false;
    }
    std::string file = ResolveDataPath(path);
    if (file.empty()) {
        error = "path longer than " + std::to_string(kMaxDataPath) + " characters";
        return false;
    }
    return route == eTextureRoute::Png ? DecodePngTexture(file, maxTextureSize, out, error)
                                       : DecodePictureTexture(file, maxTextureSize, out, error);
}

bool DecodeTextureFile(const std::string& path, int maxTextureSize, cDecodedPicture& out, std::string& error) {
    return DecodeTextureFile(path, ChooseTextureRoute(path), maxTextureSize, out, error);
}

}  // namespace VantorGL
