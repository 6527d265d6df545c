// Tests for the data generator's pictures: every picture the manifest names is written at its
// path, decodes at a power-of-two size, and keeps the properties its role depends on (transparent
// overlays, no black in JPEGs, exact flat normal, unit normals, tiling), byte for byte every run.
#include "Image.h"
#include "Pictures.h"

#include "assets/DataManifest.h"
#include "shell/SettingsDialogView.h"
#include "support/FileBytes.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace Datagen;

namespace {

// Every picture the demo loads (registry, loading screen, workshop) as the manifest names it,
// relative to data/. The banner is painted with the font and has its own test below.
std::vector<std::string> LoadedPictures() {
    std::set<std::string> paths;
    for (std::span<const VantorGL::cDataFile> list : {VantorGL::AssetManifest(), VantorGL::FilesOutsideRegistry()})
        for (const VantorGL::cDataFile& file : list)
            if (file.kind == VantorGL::cDataKind::Picture && std::string(file.path) != VantorGL::kBannerPicturePath)
                paths.insert(VantorGL::PathInDataFolder(file.path));
    return {paths.begin(), paths.end()};
}

bool EndsWith(const std::string& s, const char* end) {
    const std::size_t n = std::strlen(end);
    return s.size() >= n && s.compare(s.size() - n, n, end) == 0;
}

// The normal maps with relief: the manifest's normal-map members, the flat one aside.
std::vector<std::string> ReliefNormalMaps() {
    std::set<std::string> paths;
    for (const VantorGL::cDataFile& file : VantorGL::AssetManifest()) {
        const std::string user = file.user;
        if (file.kind == VantorGL::cDataKind::Picture && user.find("Norm") != std::string::npos &&
            user.find("Flat") == std::string::npos)
            paths.insert(VantorGL::PathInDataFolder(file.path));
    }
    return {paths.begin(), paths.end()};
}

bool IsPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

class PicturesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new VantorGLTest::ScratchFolder("datagen-pictures");
        root = &scratch->Path();
        written = WriteAllPictures(root->string());
    }
    static void TearDownTestSuite() {
        delete scratch;
        scratch = nullptr;
        root = nullptr;
    }
    static DecodedPicture Decode(const std::string& path) {
        DecodedPicture picture;
        std::string error;
        std::string full = (*root / path).string();
        bool png = path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0;
        bool ok = png ? ReadPng(full, picture, error) : ReadJpeg(full, picture, error);
        EXPECT_TRUE(ok) << path << ": " << error;
        return picture;
    }
    static const uint8_t* Pixel(const DecodedPicture& p, int x, int y) {
        return &p.bytes[(static_cast<size_t>(y) * p.width + x) * p.channels];
    }

    static VantorGLTest::ScratchFolder* scratch;
    static const fs::path* root;
    static bool written;
};

VantorGLTest::ScratchFolder* PicturesTest::scratch = nullptr;
const fs::path* PicturesTest::root = nullptr;
bool PicturesTest::written = false;

// ctest runs each test in its own process and the suite paints the whole set in each, so the
// checks are grouped into three tests: the files, the roles, the second run.
TEST_F(PicturesTest, EveryPictureIsWrittenAtItsPathAndDecodes) {
    ASSERT_TRUE(written);
    // That the folder holds these and nothing else is the manifest test's; here each one decodes
    // at a power-of-two size (their formats and sizes are the second run's byte compare).
    const std::vector<std::string> pictures = LoadedPictures();
    ASSERT_GT(pictures.size(), 10u);
    for (const std::string& path : pictures) {
        ASSERT_TRUE(fs::is_regular_file(*root / path)) << path << " not written";
        DecodedPicture p = Decode(path);
        EXPECT_TRUE(IsPowerOfTwo(p.width) && IsPowerOfTwo(p.height)) << path << ": " << p.width << " x " << p.height;
        EXPECT_GE(std::min(p.width, p.height), 64) << path;
        EXPECT_TRUE(p.channels == 3 || (p.channels == 4 && EndsWith(path, ".png"))) << path << ": " << p.channels << " channels";
    }

    // The flat normal is exactly straight up.
    DecodedPicture p = Decode("flatnormal.png");
    ASSERT_EQ(p.channels, 3);
    for (size_t i = 0; i < p.bytes.size(); i += 3) {
        ASSERT_EQ(p.bytes[i], 128);
        ASSERT_EQ(p.bytes[i + 1], 128);
        ASSERT_EQ(p.bytes[i + 2], 255);
    }

    // The picture route turns exact black transparent; every JPEG here must stay opaque.
    for (const std::string& path : pictures) {
        if (!EndsWith(path, ".jpg")) continue;
        DecodedPicture p = Decode(path);
        size_t black = 0;
        for (size_t i = 0; i + 2 < p.bytes.size(); i += 3)
            if (p.bytes[i] == 0 && p.bytes[i + 1] == 0 && p.bytes[i + 2] == 0) ++black;
        EXPECT_EQ(black, 0u) << path;
    }
}

TEST_F(PicturesTest, PicturesFitTheirRoles) {
    ASSERT_TRUE(written);
    // Normal maps: unit normals facing out of the surface, with real relief.
    const std::vector<std::string> normalMaps = ReliefNormalMaps();
    ASSERT_GE(normalMaps.size(), 3u);
    for (const std::string& path : normalMaps) {
        DecodedPicture p = Decode(path);
        size_t off = 0, total = static_cast<size_t>(p.width) * p.height;
        double tilt = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const uint8_t* c = Pixel(p, x, y);
                float nx = c[0] / 127.5f - 1, ny = c[1] / 127.5f - 1, nz = c[2] / 127.5f - 1;
                float len = std::sqrt(nx * nx + ny * ny + nz * nz);
                if (len < 0.85f || len > 1.15f || nz <= 0.0f) ++off;  // JPEG noise on steep relief
                tilt += std::sqrt(nx * nx + ny * ny);
            }
        EXPECT_LT(off, total / 100) << path << ": normals off unit length or facing in";
        // A real relief, not a flat map in disguise.
        EXPECT_GT(tilt / total, 0.05) << path;
    }

    // Overlays transparent in the middle, the title on transparency, the fade picture near white.
    for (const char* path : {"og2.png", "og3.png"}) {
        DecodedPicture p = Decode(path);
        double alpha = 0;
        int n = 0;
        for (int y = p.height / 4; y < p.height * 3 / 4; ++y)
            for (int x = p.width / 4; x < p.width * 3 / 4; ++x, ++n) alpha += Pixel(p, x, y)[3] / 255.0;
        EXPECT_LT(alpha / n, 0.08) << path;
    }
    DecodedPicture title = Decode("logoscene.png");
    EXPECT_EQ(Pixel(title, 0, 0)[3], 0);
    EXPECT_GT(Pixel(title, title.width / 2, title.height / 2)[3] + Pixel(title, title.width * 3 / 8, title.height / 2)[3], 0);

    DecodedPicture fade = Decode("box01diffusemap.jpg");
    double light = 0;
    for (size_t i = 0; i < fade.bytes.size(); ++i) light += fade.bytes[i];
    EXPECT_GT(light / fade.bytes.size(), 0.85 * 255);

    // Blur masks: sharp (0) where the scene is framed, blurred (1) at the rim.
    DecodedPicture radial = Decode("BlurMap.png");
    EXPECT_EQ(Pixel(radial, radial.width / 2, radial.height / 2)[0], 0);
    EXPECT_EQ(Pixel(radial, 0, 0)[0], 255);
    DecodedPicture band = Decode("BlurMapII.png");
    EXPECT_EQ(Pixel(band, 7, band.height / 2)[0], 0);
    EXPECT_EQ(Pixel(band, 7, band.height * 2 / 5)[0], 0);  // inside the middle third
    EXPECT_EQ(Pixel(band, 7, 0)[0], 255);
    DecodedPicture rings = Decode("blurselvo.png");
    EXPECT_EQ(Pixel(rings, rings.width / 2, rings.height / 2)[0], 0);
    int peaks = 0;  // rings along the middle row
    for (int x = rings.width / 2; x + 1 < rings.width; ++x)
        if (Pixel(rings, x, rings.height / 2)[0] < 128 && Pixel(rings, x + 1, rings.height / 2)[0] >= 128) ++peaks;
    EXPECT_GE(peaks, 2);

    // Wrapped materials: the step across the wrap seam is no larger than steps inside.
    for (const char* path : {"pillarroom_diff.jpg", "Ter/floor_comp.jpg", "Ter/wall_comp.jpg", "Crystal_diffuse.jpg",
                             "bgspheretexture.jpg", "art1.jpg", "humanplant_template.jpg"}) {
        DecodedPicture p = Decode(path);
        auto columnStep = [&](int a, int b) {
            double sum = 0;
            for (int y = 0; y < p.height; ++y)
                for (int c = 0; c < 3; ++c) sum += std::abs(Pixel(p, a, y)[c] - Pixel(p, b, y)[c]);
            return sum / p.height;
        };
        auto rowStep = [&](int a, int b) {
            double sum = 0;
            for (int x = 0; x < p.width; ++x)
                for (int c = 0; c < 3; ++c) sum += std::abs(Pixel(p, x, a)[c] - Pixel(p, x, b)[c]);
            return sum / p.width;
        };
        double inside = (columnStep(p.width / 2 - 1, p.width / 2) + rowStep(p.height / 2 - 1, p.height / 2)) * 0.5;
        EXPECT_LT(columnStep(p.width - 1, 0), inside * 2.5 + 2.0) << path << " (left/right)";
        EXPECT_LT(rowStep(p.height - 1, 0), inside * 2.5 + 2.0) << path << " (top/bottom)";
    }
}

TEST_F(PicturesTest, SecondRunGivesTheSameBytes) {
    ASSERT_TRUE(written);
    TextPainter text;
    ASSERT_TRUE(text.Open(kDisplayFontPath));
    for (const PictureGroup& group : PictureGroups())
        for (const PictureFile& file : group.paint(text))
            EXPECT_TRUE(EncodePicture(file) == VantorGLTest::ReadBytes(*root / file.path)) << file.path << " differs between runs";
}

// The dialog draws the banner at its own size across its top: it must fit the dialog's width
// with room for the controls below, and cover what it is drawn over.
TEST(PicturesBannerTest, BannerFitsTheDialogAndIsOpaque) {
    TextPainter text;
    ASSERT_TRUE(text.Open(kDisplayFontPath));
    Image banner = PaintBanner(text);
    EXPECT_GT(banner.width, VantorGL::kDialogWidthPixels / 2);
    EXPECT_LT(banner.width, VantorGL::kDialogWidthPixels);
    EXPECT_GT(banner.height, 0);
    EXPECT_LT(banner.height, VantorGL::kDialogHeightPixels / 4);
    for (const Rgba& p : banner.pixels) ASSERT_GE(p.a, 0.999f);
}

TEST(PicturesIoTest, BadPathsAndBrokenFilesFailCleanly) {
    VantorGLTest::ScratchFolder scratch("datagen-io");
    const fs::path& dir = scratch.Path();
    std::ofstream(dir / "plain") << "x";
    // A parent that is a file: the write fails with a message, no exception.
    EXPECT_FALSE(WriteBytes((dir / "plain" / "og2.png").string(), {1, 2, 3}));
    EXPECT_FALSE(WriteBytes((dir / "empty.png").string(), {}));

    Image image(64, 64, Rgba{0.5f, 0.5f, 0.5f, 1});
    std::vector<uint8_t> jpeg = EncodeJpeg(image, kJpegQuality, false);
    ASSERT_GT(jpeg.size(), 8u);
    jpeg.resize(jpeg.size() - 8);  // cut in the scan: the headers whole, the end marker gone
    ASSERT_TRUE(WriteBytes((dir / "cut.jpg").string(), jpeg));
    std::ofstream(dir / "fake.png") << "not a png at all";
    DecodedPicture p;
    std::string error;
    EXPECT_FALSE(ReadPng((dir / "fake.png").string(), p, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReadPng((dir / "missing.png").string(), p, error));
    // libjpeg pads a truncated stream: the picture comes back whole in size, with one warning.
    testing::internal::CaptureStderr();
    EXPECT_TRUE(ReadJpeg((dir / "cut.jpg").string(), p, error)) << error;
    const std::string warned = testing::internal::GetCapturedStderr();
    EXPECT_EQ(p.width, 64);
    EXPECT_EQ(p.height, 64);
    EXPECT_EQ(warned.rfind("DATAGEN: JPEG: ", 0), 0u) << warned;
    EXPECT_FALSE(ReadJpeg((dir / "fake.png").string(), p, error));

    TextPainter text;
    EXPECT_FALSE(text.Open((dir / "no-font.otf").string()));
    Field coverage(16, 16);
    text.Draw(coverage, "MV", TextStyle{}, 0, 12);  // no font: draws nothing, no crash
    for (float v : coverage.values) EXPECT_EQ(v, 0.0f);
}

}  // namespace
