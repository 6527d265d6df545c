// Tests for cAbstractIScene, the smallest scene: one frame drawn headless at the demo's size shows
// the white sphere in the middle of a bordered quad on black.
#include "scenes/AbstractIScene.h"

#include "support/DemoHarness.h"
#include "support/GeneratedData.h"
#include "support/GlTestContext.h"
#include "support/KeptFrame.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

bool IsWhite(const std::uint8_t* p) { return p[0] > 230 && p[1] > 230 && p[2] > 230; }
bool IsBlack(const std::uint8_t* p) { return p[0] < 12 && p[1] < 12 && p[2] < 12; }

}  // namespace

TEST(AbstractIScene, OneFrameShowsTheWhiteSphereInsideTheBorderedQuad) {
    VantorGLTest::GlTestContext context(kWidth, kHeight);
    REQUIRE_GL(context);
    // The scene's font comes from the generated data folder, found from the source tree.
    std::filesystem::path source = QUENLITE_SOURCE_DIR;
    REQUIRE_GENERATED_DATA();
    VantorGLTest::WorkingFolder dataHome(source);

    static VantorGL::cAbstractIScene scene;
    EXPECT_EQ(scene.Init(), 0);
    // In the program the registry's texture loads leave 2D texturing on before any scene draws.
    // The sphere is drawn with whatever texture is bound: right after Init that is the target's
    // own (Create leaves it bound), so the first frame's sphere samples the empty target and
    // comes out black; from the second frame on the presentation has unbound it.
    glEnable(GL_TEXTURE_2D);
    scene.Render();
    scene.Render();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    std::vector<std::uint8_t> pixels = context.ReadPixels();
    // The white blob: its extent and centre.
    int minX = kWidth, maxX = -1, minY = kHeight, maxY = -1, white = 0, other = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::uint8_t* p = &pixels[(std::size_t(y) * kWidth + x) * 4];
            if (IsWhite(p)) {
                ++white;
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            } else if (!IsBlack(p)) {
                ++other;  // the sphere's anti-aliased rim
            }
        }
    ASSERT_GT(white, 0) << "no sphere; see " << VantorGLTest::DemoHarness::KeepFrame(pixels, kWidth, kHeight, "abstract-frame");
    // Radius 0.2 at 10 units under the 45 degree view is 37 pixels across in the target; the
    // quad at 5 units spans three quarters of the window, so 28 on screen (38 without a border).
    double across = 768.0 * 0.4 / (2.0 * 10.0 * std::tan(22.5 * M_PI / 180.0)) * (3.12 / (2.0 * 5.0 * std::tan(22.5 * M_PI / 180.0)));
    EXPECT_NEAR(maxX - minX + 1, across, 3.0);
    EXPECT_NEAR(maxY - minY + 1, across, 3.0);
    EXPECT_NEAR((minX + maxX) / 2.0, kWidth / 2.0, 2.0);
    EXPECT_NEAR((minY + maxY) / 2.0, kHeight / 2.0, 2.0);
    // A round blob, not a square: about pi/4 of its box.
    EXPECT_NEAR(double(white) / double((maxX - minX + 1) * (maxY - minY + 1)), M_PI / 4.0, 0.08);
    // Everything else is black: the target's background and the border around the quad.
    EXPECT_LT(other, white);
    EXPECT_TRUE(IsBlack(&pixels[0]));
    EXPECT_TRUE(IsBlack(&pixels[(std::size_t(kHeight / 2) * kWidth + 40) * 4]));
    VantorGLTest::KeepFrameIfFailed(pixels, kWidth, kHeight, "abstract-frame");
}
