// Tests for the texture decoders: every PNG colour type, BMP and GIF by content, the sizing and
// alpha rules of both routes, row order, and malformed files that must fail with a reason
// instead of crashing.
#include "assets/PictureDecoder.h"

#include "support/PictureWriter.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <array>
#include <filesystem>

using namespace VantorGL;
using namespace VantorGLTest;
namespace fs = std::filesystem;

namespace {

using Rgba = std::array<int, 4>;

Rgba Texel(const cDecodedPicture& picture, int x, int row) {
    const std::uint8_t* p = picture.rgba.data() + (std::size_t(row) * picture.textureWidth + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// RGB image, top half `top`, bottom half `bottom`.
std::vector<std::uint8_t> TwoBands(int width, int height, Rgba top, Rgba bottom) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba& c = y < height / 2 ? top : bottom;
            rgb.insert(rgb.end(), {std::uint8_t(c[0]), std::uint8_t(c[1]), std::uint8_t(c[2])});
        }
    return rgb;
}

// A picture the route accepted: a real size and every texel of it.
void ExpectWholePicture(const cDecodedPicture& picture) {
    EXPECT_GT(picture.textureWidth, 0);
    EXPECT_GT(picture.textureHeight, 0);
    EXPECT_EQ(picture.rgba.size(), std::size_t(picture.textureWidth) * picture.textureHeight * 4);
}

// The CRC-32 of PNG chunks (ISO 3309), bitwise: only used on a few bytes.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xffffffffu;
}

}  // namespace

class PictureDecoderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(scratch.Path() / "Data" / "Pics");
    }
    // Decodes by the route the path picks, with a 4096 limit; expects success.
    cDecodedPicture Decode(const std::string& path, int maxTextureSize = 4096) {
        cDecodedPicture picture;
        std::string error;
        EXPECT_TRUE(DecodeTextureFile(path, maxTextureSize, picture, error)) << path << ": " << error;
        return picture;
    }
    // Expects failure and returns the reason.
    std::string Failure(const std::string& path, eTextureRoute route) {
        cDecodedPicture picture;
        std::string error;
        EXPECT_FALSE(DecodeTextureFile(path, route, 4096, picture, error)) << path;
        EXPECT_FALSE(error.empty()) << path;
        return error;
    }
    VantorGLTest::ScratchWorkingFolder scratch{"picdecoder"};
};

TEST(PictureSizing, PictureRouteRoundsEachSideToTheNearestPowerOfTwo) {
    EXPECT_EQ(PictureSideSize(300, 2048), 256);
    EXPECT_EQ(PictureSideSize(400, 2048), 512);
    EXPECT_EQ(PictureSideSize(640, 2048), 512);
    EXPECT_EQ(PictureSideSize(480, 2048), 512);
    EXPECT_EQ(PictureSideSize(100, 2048), 128);
    EXPECT_EQ(PictureSideSize(1500, 2048), 2048);
    EXPECT_EQ(PictureSideSize(1500, 1024), 1024);  // over the limit: the limit itself
    EXPECT_EQ(PictureSideSize(1024, 1024), 1024);
    EXPECT_EQ(PictureSideSize(1, 1024), 1);
}

TEST(PictureSizing, PngRouteScalesUpToTheNextPowerOfTwoWithinTheLimit) {
    EXPECT_EQ(PngSideSize(300, 2048), 512);
    EXPECT_EQ(PngSideSize(256, 2048), 256);
    EXPECT_EQ(PngSideSize(257, 2048), 512);
    EXPECT_EQ(PngSideSize(1, 2048), 1);
    EXPECT_EQ(PngSideSize(3000, 2048), 2048);
}

TEST(PictureSizing, ExactBlackAloneBecomesTransparent) {
    std::vector<std::uint8_t> rgba = {0, 0, 0, 255, 1, 0, 0, 0, 0, 0, 1, 7, 255, 255, 255, 0};
    EXPECT_EQ(ApplyBlackIsTransparent(rgba.data(), 4), 1u);
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(rgba[7], 255);
    EXPECT_EQ(rgba[11], 255);
    EXPECT_EQ(rgba[15], 255);
}

TEST(PictureSizing, NearestNeighbourKeepsCornersAndCanFlip) {
    // 3 x 1 source: red, green, blue -> 4 x 2, flipped rows are identical here, so check columns.
    std::vector<std::uint8_t> source = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255};
    std::vector<std::uint8_t> target(4 * 2 * 4);
    ScaleNearest(source.data(), 3, 1, target.data(), 4, 2, true);
    EXPECT_EQ(target[0], 255);        // first column red
    EXPECT_EQ(target[3 * 4 + 2], 255);  // last column blue
    // 1 x 2 source (top red, bottom blue) flipped: first target row is the bottom (blue).
    std::vector<std::uint8_t> column = {255, 0, 0, 255, 0, 0, 255, 255};
    std::vector<std::uint8_t> flipped(1 * 4 * 4);
    ScaleNearest(column.data(), 1, 2, flipped.data(), 1, 4, true);
    EXPECT_EQ(flipped[2], 255);
    EXPECT_EQ(flipped[3 * 4 + 0], 255);
}

TEST(PictureSizing, RouteFollowsTheLowerCaseExtensionAnywhereInThePath) {
    EXPECT_EQ(ChooseTextureRoute("data\\og2.png"), eTextureRoute::Png);
    EXPECT_EQ(ChooseTextureRoute("x.PNG"), eTextureRoute::Picture);
    EXPECT_EQ(ChooseTextureRoute("Data/chrome.jpg"), eTextureRoute::Picture);
    EXPECT_EQ(ChooseTextureRoute("a.png.jpg"), eTextureRoute::Png);
    EXPECT_STREQ(TextureRouteName(eTextureRoute::Png), "png");
    EXPECT_STREQ(TextureRouteName(eTextureRoute::Picture), "picture");
}

// Every PNG colour type comes out as 8-bit RGBA, top row first, alpha only where the file has it.
TEST_F(PictureDecoderTest, EveryPngColourTypeExpandsToRgba) {
    struct Case {
        const char* name;
        int colorType, bitDepth;
        std::vector<std::vector<std::uint8_t>> rows;  // 2 x 2
        std::vector<PngPaletteEntry> palette;
        std::vector<std::uint8_t> trns;
        Rgba topLeft, bottomRight;
        bool alpha;
    };
    const std::vector<Case> cases = {
        {"grey.png", PNG_COLOR_TYPE_GRAY, 8, {{10, 20}, {30, 40}}, {}, {}, {10, 10, 10, 255}, {40, 40, 40, 255}, false},
        {"grey1.png", PNG_COLOR_TYPE_GRAY, 1, {{0x80}, {0x40}}, {}, {}, {255, 255, 255, 255}, {255, 255, 255, 255}, false},
        {"greyalpha.png", PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{10, 100, 20, 110}, {30, 120, 40, 130}}, {}, {},
         {10, 10, 10, 100}, {40, 40, 40, 130}, true},
        {"rgb.png", PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}, {}, {}, {1, 2, 3, 255},
         {10, 11, 12, 255}, false},
        {"rgba.png", PNG_COLOR_TYPE_RGB_ALPHA, 8, {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}}, {}, {},
         {1, 2, 3, 4}, {13, 14, 15, 16}, true},
        {"palette.png", PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}, {1, 2}}, {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}}, {},
         {200, 0, 0, 255}, {0, 0, 200, 255}, false},
        {"palettetrns.png", PNG_COLOR_TYPE_PALETTE, 8, {{0, 1}, {1, 2}}, {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}},
         {0, 128}, {200, 0, 0, 0}, {0, 0, 200, 255}, true},
        // 16-bit samples (big-endian in the file) scale to 8 bits (v * 255 / 65535), not garbage.
        {"rgb16.png", PNG_COLOR_TYPE_RGB, 16,
         {{0xff, 0xff, 0x80, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc}},
         {}, {}, {255, 128, 0, 255}, {0x12, 0x56, 0x9a, 255}, false},
        {"rgba16.png", PNG_COLOR_TYPE_RGB_ALPHA, 16,
         {{0xff, 0xff, 0, 0, 0, 0, 0x40, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 0xc0, 0xc0}},
         {}, {}, {255, 0, 0, 64}, {0, 0, 255, 192}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WritePng(c.name, 2, 2, c.colorType, c.bitDepth, c.rows, c.palette, c.trns));
        cDecodedPicture picture = Decode(c.name);
        EXPECT_EQ(picture.route, eTextureRoute::Png);
        EXPECT_EQ(picture.width, 2);
        EXPECT_EQ(picture.textureWidth, 2);
        EXPECT_EQ(picture.textureHeight, 2);
        EXPECT_EQ(picture.fileHasAlpha, c.alpha);
        EXPECT_EQ(Texel(picture, 0, 0), c.topLeft);
        EXPECT_EQ(Texel(picture, 1, 1), c.bottomRight);
    }
}

TEST_F(PictureDecoderTest, PngSidesScaleUpAndKeepTheTopRowFirst) {
    // 3 x 5: top row red, bottom row blue, the rest green.
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x) {
            Rgba c = y == 0 ? Rgba{255, 0, 0, 255} : y == 4 ? Rgba{0, 0, 255, 255} : Rgba{0, 255, 0, 255};
            rgba.insert(rgba.end(), c.begin(), c.end());
        }
    ASSERT_TRUE(WriteRgbaPng("Data/Pics/odd.png", 3, 5, rgba));
    cDecodedPicture picture = Decode("data\\pics\\odd.png");
    EXPECT_EQ(picture.textureWidth, 4);
    EXPECT_EQ(picture.textureHeight, 8);
    EXPECT_EQ(picture.width, 3);
    EXPECT_EQ(picture.height, 5);
    EXPECT_EQ(Texel(picture, 3, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(Texel(picture, 0, 7), (Rgba{0, 0, 255, 255}));
    EXPECT_FALSE(picture.hasTransparency);

    cDecodedPicture small = Decode("data/pics/odd.png", 2);  // the limit wins over the image
    EXPECT_EQ(small.textureWidth, 2);
    EXPECT_EQ(small.textureHeight, 2);
}

// PNG content behind a name without ".png" takes the picture route's rules: bottom row first,
// black transparent and everything else opaque, whatever the file's alpha said. PNG is lossless,
// so the alpha rule is exact here.
TEST_F(PictureDecoderTest, PngContentOnThePictureRouteFollowsPictureRules) {
    std::vector<std::uint8_t> rgba = {
        0, 0, 0, 255, 1, 0, 0, 0,        // top: black (opaque in the file), (1,0,0) (transparent in the file)
        0, 0, 255, 255, 0, 0, 255, 255,  // bottom: blue
    };
    ASSERT_TRUE(WriteRgbaPng("upper.PNG", 2, 2, rgba));
    cDecodedPicture picture = Decode("upper.PNG");
    EXPECT_EQ(picture.route, eTextureRoute::Picture);
    EXPECT_TRUE(picture.fileHasAlpha);
    EXPECT_TRUE(picture.hasTransparency);
    EXPECT_EQ(Texel(picture, 0, 0), (Rgba{0, 0, 255, 255}));  // first row: the bottom of the image
    EXPECT_EQ(Texel(picture, 0, 1), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(Texel(picture, 1, 1), (Rgba{1, 0, 0, 255}));
}

// BMP and GIF are found by content, whatever the name, and follow the picture route's rules like
// a JPEG: bottom row first, exact black transparent, the file's own alpha replaced. A GIF's
// transparent colour is nothing drawn, so black and transparent; only its first frame is used.
TEST_F(PictureDecoderTest, BmpAndGifContentTakesThePictureRouteWhateverTheName) {
    // 4 x 2: top red, green, black, magenta; bottom blue, (1, 0, 0), yellow, grey.
    const std::vector<PngPaletteEntry> palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 0},    {255, 0, 255},
                                                  {0, 0, 255}, {1, 0, 0},   {255, 255, 0}, {128, 128, 128}};
    const std::vector<std::uint8_t> indices = {0, 1, 2, 3, 4, 5, 6, 7};
    std::vector<std::uint8_t> rgb, rgba;
    for (std::uint8_t i : indices) {
        rgb.insert(rgb.end(), {palette[i].r, palette[i].g, palette[i].b});
        rgba.insert(rgba.end(), {palette[i].r, palette[i].g, palette[i].b, std::uint8_t(i * 30)});
    }
    ASSERT_TRUE(WriteBmp("Data/Pics/shot.jpg", 4, 2, 24, rgb));
    ASSERT_TRUE(WriteBmp("palette.JPG", 4, 2, 8, indices, palette, true));  // stored top row first
    ASSERT_TRUE(WriteBmp("nibbles.bmp", 4, 2, 4, indices, palette));
    ASSERT_TRUE(WriteBmp("alpha.bmp", 4, 2, 32, rgba));
    const std::vector<std::uint8_t> green(8, 1);
    ASSERT_TRUE(WriteGif("frames.jpg", 4, 2, palette, {indices, green}, 3));  // magenta is transparent

    struct Case {
        const char* path;
        bool fileHasAlpha;
        Rgba topRight;
    };
    for (const Case& c : {Case{"data\\pics\\shot.jpg", false, {255, 0, 255, 255}},
                          Case{"palette.JPG", false, {255, 0, 255, 255}},
                          Case{"nibbles.bmp", false, {255, 0, 255, 255}},
                          Case{"alpha.bmp", true, {255, 0, 255, 255}}, Case{"frames.jpg", true, {0, 0, 0, 0}}}) {
        SCOPED_TRACE(c.path);
        cDecodedPicture picture = Decode(c.path);
        EXPECT_EQ(picture.route, eTextureRoute::Picture);
        EXPECT_EQ(picture.textureWidth, 4);
        EXPECT_EQ(picture.textureHeight, 2);
        EXPECT_EQ(picture.fileHasAlpha, c.fileHasAlpha);
        EXPECT_TRUE(picture.hasTransparency);
        EXPECT_EQ(Texel(picture, 0, 0), (Rgba{0, 0, 255, 255}));  // first row: the bottom of the image
        EXPECT_EQ(Texel(picture, 1, 0), (Rgba{1, 0, 0, 255}));
        EXPECT_EQ(Texel(picture, 0, 1), (Rgba{255, 0, 0, 255}));  // red, though the 32-bit file said alpha 0
        EXPECT_EQ(Texel(picture, 2, 1), (Rgba{0, 0, 0, 0}));
        EXPECT_EQ(Texel(picture, 3, 1), c.topRight);
    }

    // Sizes follow the picture rule: 5 x 3 becomes 4 x 4.
    ASSERT_TRUE(WriteBmp("odd.bmp", 5, 3, 24, std::vector<std::uint8_t>(5 * 3 * 3, 90)));
    cDecodedPicture odd = Decode("odd.bmp");
    EXPECT_EQ(odd.width, 5);
    EXPECT_EQ(odd.textureWidth, 4);
    EXPECT_EQ(odd.textureHeight, 4);

    // Only the first frame is read: a GIF cut inside its second frame still loads.
    const std::vector<std::uint8_t> gif = ReadBytes("frames.jpg");
    WriteBytes("first-frame.gif", std::vector<std::uint8_t>(gif.begin(), gif.end() - 6));
    EXPECT_EQ(Texel(Decode("first-frame.gif"), 0, 0), (Rgba{0, 0, 255, 255}));
}

TEST_F(PictureDecoderTest, JpegSizesFollowThePictureRule) {
    ASSERT_TRUE(WriteJpeg("vga.jpg", 640, 480, TwoBands(640, 480, {220, 30, 30, 0}, {30, 30, 220, 0})));
    cDecodedPicture vga = Decode("vga.jpg");
    EXPECT_EQ(vga.route, eTextureRoute::Picture);
    EXPECT_EQ(vga.width, 640);
    EXPECT_EQ(vga.height, 480);
    EXPECT_EQ(vga.textureWidth, 512);
    EXPECT_EQ(vga.textureHeight, 512);
    EXPECT_FALSE(vga.fileHasAlpha);
    // Bottom row first: the first texel row is the blue bottom band (lossy, so roughly).
    Rgba first = Texel(vga, 10, 0), last = Texel(vga, 10, 511);
    EXPECT_GT(first[2], 180);
    EXPECT_LT(first[0], 80);
    EXPECT_GT(last[0], 180);
    EXPECT_LT(last[2], 80);
    EXPECT_EQ(first[3], 255);

    ASSERT_TRUE(WriteJpeg("strip.jpg", 1500, 100, TwoBands(1500, 100, {90, 90, 90, 0}, {90, 90, 90, 0})));
    cDecodedPicture wide = Decode("strip.jpg", 2048);
    EXPECT_EQ(wide.textureWidth, 2048);
    EXPECT_EQ(wide.textureHeight, 128);
    cDecodedPicture narrow = Decode("strip.jpg", 1024);
    EXPECT_EQ(narrow.textureWidth, 1024);
    EXPECT_EQ(narrow.textureHeight, 128);
}

TEST_F(PictureDecoderTest, MissingFoldersEmptyAndWrongFilesFailWithAReason) {
    EXPECT_EQ(Failure("data/none.png", eTextureRoute::Png), "no such file");
    EXPECT_EQ(Failure("data/none.jpg", eTextureRoute::Picture), "no such file");
    fs::create_directories("Data/folder.png");
    EXPECT_NE(Failure("data/folder.png", eTextureRoute::Png).find("folder"), std::string::npos);
    ASSERT_TRUE(WriteBytes("empty.png", {}));
    EXPECT_EQ(Failure("empty.png", eTextureRoute::Png), "empty file");
    ASSERT_TRUE(WriteBytes("text.png", {'h', 'e', 'l', 'l', 'o', '\n'}));
    EXPECT_EQ(Failure("text.png", eTextureRoute::Png), "not a PNG file");
    EXPECT_EQ(Failure("text.png", eTextureRoute::Picture), "not a JPEG, PNG, BMP or GIF picture");
    // A JPEG behind a .png name is not a PNG file.
    ASSERT_TRUE(WriteJpeg("photo.png", 8, 8, TwoBands(8, 8, {1, 2, 3, 0}, {4, 5, 6, 0})));
    EXPECT_EQ(Failure("photo.png", eTextureRoute::Png), "not a PNG file");
    EXPECT_NE(Failure(std::string(300, 'a') + ".jpg", eTextureRoute::Picture).find("260"), std::string::npos);
    EXPECT_NE(Failure("http://example.org/a.jpg", eTextureRoute::Picture).find("network"), std::string::npos);
    EXPECT_EQ(Failure("", eTextureRoute::Picture), "empty path");
}

// Every prefix of a valid file and a sweep of single corrupted bytes: each decode either
// succeeds with a full-size image or fails with a reason; none may crash.
TEST_F(PictureDecoderTest, TruncatedAndCorruptFilesNeverCrash) {
    std::vector<std::uint8_t> rgba(16 * 16 * 4);
    for (std::size_t i = 0; i < rgba.size(); ++i) rgba[i] = std::uint8_t(i * 37);
    ASSERT_TRUE(WriteRgbaPng("good.png", 16, 16, rgba));
    std::vector<std::uint8_t> rgb(24 * 24 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = std::uint8_t(i * 13);
    ASSERT_TRUE(WriteJpeg("good.jpg", 24, 24, rgb));
    ASSERT_TRUE(WriteBmp("good.bmp", 12, 12, 24, std::vector<std::uint8_t>(rgb.begin(), rgb.begin() + 12 * 12 * 3)));
    std::vector<PngPaletteEntry> palette;
    for (int i = 0; i < 16; ++i) palette.push_back({std::uint8_t(i * 16), std::uint8_t(255 - i * 16), 7});
    std::vector<std::uint8_t> indices(20 * 20);
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = std::uint8_t((i * 7) % 16);
    ASSERT_TRUE(WriteGif("good.gif", 20, 20, palette, {indices, indices}, 5));

    for (const char* name : {"good.png", "good.jpg", "good.bmp", "good.gif"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> good = ReadBytes(name);
        ASSERT_GT(good.size(), 100u);
        int failures = 0;
        for (std::size_t cut = 1; cut < good.size(); cut += 3) {
            WriteBytes("cut.bin", std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(cut)));
            cDecodedPicture picture;
            std::string error;
            if (DecodeTextureFile("cut.bin", eTextureRoute::Picture, 4096, picture, error)) {
                ExpectWholePicture(picture);
            } else {
                EXPECT_FALSE(error.empty());
                ++failures;
            }
        }
        EXPECT_GT(failures, 0);
        for (std::size_t at = 0; at < good.size(); at += 2) {
            std::vector<std::uint8_t> bad = good;
            bad[at] ^= 0x5a;
            WriteBytes("bad.bin", bad);
            cDecodedPicture picture;
            std::string error;
            if (DecodeTextureFile("bad.bin", eTextureRoute::Picture, 4096, picture, error))
                ExpectWholePicture(picture);
            else
                EXPECT_FALSE(error.empty());
        }
    }
    // A PNG cut inside its image data is refused outright.
    std::vector<std::uint8_t> good = ReadBytes("good.png");
    WriteBytes("half.png", std::vector<std::uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(good.size() / 2)));
    EXPECT_NE(Failure("half.png", eTextureRoute::Png).find("PNG"), std::string::npos);
    std::vector<std::uint8_t> jpeg = ReadBytes("good.jpg");
    WriteBytes("half.jpg", std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(jpeg.size() / 2)));
    EXPECT_NE(Failure("half.jpg", eTextureRoute::Picture).find("JPEG"), std::string::npos);
    // stb_image would read a cut BMP or GIF to the end, padding with zeros; the decoder refuses it.
    for (const char* name : {"good.bmp", "good.gif"}) {
        std::vector<std::uint8_t> whole = ReadBytes(name);
        WriteBytes("half.bin", std::vector<std::uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() / 3)));
        EXPECT_NE(Failure("half.bin", eTextureRoute::Picture).find("truncated"), std::string::npos) << name;
    }
}

TEST_F(PictureDecoderTest, AbsurdHeaderSizesAreRefusedBeforeAllocating) {
    // A valid 1 x 1 PNG whose header claims 60000 x 60000 (CRC mended so only the size is wrong).
    std::vector<std::uint8_t> rgba = {1, 2, 3, 255};
    ASSERT_TRUE(WriteRgbaPng("one.png", 1, 1, rgba));
    std::vector<std::uint8_t> bytes = ReadBytes("one.png");
    // IHDR data starts at offset 16: width, height as big-endian 32-bit.
    for (int i : {16, 20}) {
        bytes[i] = 0, bytes[i + 1] = 0, bytes[i + 2] = 0xea, bytes[i + 3] = 0x60;
    }
    std::uint32_t crc = Crc32(bytes.data() + 12, 17);
    for (int i = 0; i < 4; ++i) bytes[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
    WriteBytes("huge.png", bytes);
    EXPECT_NE(Failure("huge.png", eTextureRoute::Png).find("not supported"), std::string::npos);
}

// Found by the PNG-route fuzz target: 76 bytes whose second chunk header claims 2 GB of "sPLT".
// libpng allocates a chunk's stated length before reading it; the decoder refuses the file
// first, as truncated, instead of asking for 2 GB.
TEST_F(PictureDecoderTest, AChunkLongerThanTheFileIsRefusedBeforeLibpngAllocatesIt) {
    const std::vector<std::uint8_t> bytes = {
        0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00,
        0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x02, 0x08, 0x03, 0x00, 0x00, 0x00, 0xaa, 0xaa, 0x96, 0x28, 0x78,
        0x9c, 0x00, 0x0c, 0x73, 0x50, 0x4c, 0x54, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00, 0x00, 0xff, 0x00, 0x00,
        0x00, 0xff, 0x9b, 0xc0, 0x13, 0xdc, 0x00, 0x00, 0x00, 0x02, 0x74, 0x52, 0x4e, 0x53, 0x00, 0x80, 0x9b,
        0x3a, 0x2b, 0x4e, 0x18, 0x99, 0x60, 0x60, 0x82};
    cDecodedPicture picture;
    std::string error;
    EXPECT_FALSE(DecodePngTextureBytes(bytes.data(), bytes.size(), 2048, picture, error));
    EXPECT_EQ(error, "truncated PNG file");
    WriteBytes("claims-2gb.png", bytes);
    EXPECT_EQ(Failure("claims-2gb.png", eTextureRoute::Png), "truncated PNG file");
    EXPECT_EQ(Failure("claims-2gb.png", eTextureRoute::Picture), "truncated PNG file");

    // A file cut after its image data (here inside the closing IEND chunk) still loads.
    std::vector<std::uint8_t> rgba(4 * 4 * 4, 200);
    ASSERT_TRUE(WriteRgbaPng("whole.png", 4, 4, rgba));
    const std::vector<std::uint8_t> whole = ReadBytes("whole.png");
    ASSERT_GT(whole.size(), 20u);
    const std::vector<std::uint8_t> cut(whole.begin(), whole.end() - 6);
    EXPECT_TRUE(DecodePngTextureBytes(cut.data(), cut.size(), 2048, picture, error)) << error;
    EXPECT_EQ(picture.textureWidth, 4);
}
