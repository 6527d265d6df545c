// Tests for cScreenExtent and the passes it bounds: a zoom blur's reach from a source box (the
// centre inside or outside it, an edge touched, nothing in view), projected boxes, and the
// demo's glow and ray passes drawing every byte they draw over the whole view.
#include "render/ScreenExtent.h"

#include "support/DemoHarness.h"
#include "support/GlTestContext.h"
#include "support/KeptFrame.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using VantorGL::cScreenExtent;
using VantorGLTest::DemoHarness;

namespace {

cScreenExtent Box(double x0, double y0, double x1, double y1) {
    cScreenExtent box;
    box.x0 = x0, box.y0 = y0, box.x1 = x1, box.y1 = y1;
    return box;
}

}  // namespace

// Taps from 1 down to 0.5 of the offset: a fragment is lit up to twice as far from the centre
// as the source reaches, never nearer to the centre than the source's near side.
TEST(ScreenExtent, ZoomBlurReachesAlongTheLinesToItsCentre) {
    const cScreenExtent around = Box(0.4, 0.45, 0.7, 0.55).ZoomBlurReach(0.5, 0.5, 1.0, -0.5, 0.0);
    EXPECT_DOUBLE_EQ(around.x0, 0.3);
    EXPECT_DOUBLE_EQ(around.x1, 0.9);
    EXPECT_DOUBLE_EQ(around.y0, 0.4);
    EXPECT_DOUBLE_EQ(around.y1, 0.6);
    const cScreenExtent aside = Box(0.6, 0.6, 0.7, 0.7).ZoomBlurReach(0.5, 0.5, 1.0, -0.5, 0.01);
    EXPECT_NEAR(aside.x0, 0.59 - 0.01, 1e-12) << "no nearer to the centre than the source, less the margins";
    EXPECT_NEAR(aside.x1, 0.5 + 2 * 0.21 + 0.01, 1e-12);
    // A source at the view's edge: clamped taps past the edge read it, so the reach goes on.
    const cScreenExtent edge = Box(0.8, 0.4, 1.0, 0.6).ZoomBlurReach(0.5, 0.5, 1.0, -0.5, 0.0);
    EXPECT_EQ(edge.x1, cScreenExtent::kInfinity);
    EXPECT_DOUBLE_EQ(edge.x0, 0.8);
    // Content beyond the view is not in the source at all; taps through the centre reach all.
    EXPECT_TRUE(Box(1.2, 0.2, 1.5, 0.4).ZoomBlurReach(0.5, 0.5, 1.0, -0.5, 0.01).Empty());
    EXPECT_TRUE(Box(0.6, 0.6, 0.7, 0.7).ZoomBlurReach(0.5, 0.5, 1.0, -1.0, 0.0).CoversView());
    cScreenExtent nothing;
    EXPECT_TRUE(nothing.ZoomBlurReach(0.5, 0.5, 1.0, -0.5, 0.01).Empty());
}

// The scissor box holds every fragment of the extent through the quad's overlap, and a box in
// front of the eye projects where GL draws it; one reaching behind the eye bounds nothing.
TEST(ScreenExtent, ProjectedBoxesAndScissorBoxes) {
    const GLint viewport[4] = {10, 20, 1000, 500};
    GLint box[4];
    ASSERT_TRUE(Box(0.5, 0.5, 0.75, 1.5).ScissorBox(viewport, 1.0, box));
    EXPECT_EQ(box[0], 510);
    EXPECT_EQ(box[1], 270);
    EXPECT_EQ(box[2], 250);
    EXPECT_EQ(box[3], 250) << "cut to the viewport";
    ASSERT_TRUE(Box(0.0, 0.0, 1.0, 1.0).ScissorBox(viewport, 1.1, box));
    EXPECT_EQ(box[2], 1000) << "a quad wider than the view puts texture 0..1 beyond its edges";
    EXPECT_FALSE(Box(1.2, 0.0, 1.3, 1.0).ScissorBox(viewport, 1.0, box));

    VantorGLTest::GlTestContext gl;
    if (!gl.Ok()) GTEST_SKIP() << "no GL context";
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 0.0f, 0.0f);
    cScreenExtent extent;
    const float corners[6] = {-1, -0.5f, 0, 0, 0.5f, 0};
    extent.AddPoints(corners, 2);
    EXPECT_DOUBLE_EQ(extent.x0, 0.5);
    EXPECT_DOUBLE_EQ(extent.x1, 0.75);
    EXPECT_DOUBLE_EQ(extent.y0, 0.25);
    EXPECT_DOUBLE_EQ(extent.y1, 0.75);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float aroundTheEye[6] = {-1, -0.5f, -5, 0, 0, 5};
    extent.Clear();
    extent.AddPoints(aroundTheEye, 2);
    EXPECT_TRUE(extent.CoversView()) << "points on both sides of the eye";
}

// The glow of the crystal cluster and the rays of the figure and of the canyon's sky, drawn
// only where they can reach, give the frames they give over the whole view, byte for byte: at
// moments across each scene, with the moving camera, and where the figure leaves the view.
TEST(ScreenExtent, BoundedPassesDrawTheFramesOfFullScreenPasses) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    VantorGL::cDemoScene& demo = harness.Demo();
    std::vector<int> moments = {25500, 33000, 41500};
    for (int ms = 57500; ms < 86300; ms += 3000) moments.push_back(ms);
    for (int ms = 96500; ms < 110300; ms += 3000) moments.push_back(ms);
    for (int ms = 134500; ms < 167000; ms += 4000) moments.push_back(ms);
    // The source's bounds of the scene drawing at `ms` (the crystal cluster's glow is bounded
    // by its own rule, not by an extent).
    const auto source = [&](int ms) -> const cScreenExtent* {
        if (ms >= 134300) return &demo.cucumberCamping.skyExtent;
        if (ms >= 96300) return &demo.tavikIsleSecond.figureExtent;
        if (ms >= 57300) return &demo.tavikIsleFirst.figureExtent;
        return nullptr;
    };
    std::vector<std::vector<std::uint8_t>> bounded;
    int narrowed = 0, atTheEdge = 0;
    harness.Restart();
    for (int ms : moments) {
        bounded.push_back(harness.FrameAt(ms));
        const cScreenExtent* extent = source(ms);
        if (!extent) continue;
        const VantorGL::cRadialBlurShader& rays = demo.registry.radialBlurShader;
        const cScreenExtent reach = extent->ZoomBlurReach(rays.CenterX(), rays.CenterY(), rays.Start(), rays.Scale(), 0.0);
        if (!reach.CoversView()) ++narrowed;
        if (!reach.CoversView() && (extent->x0 < 0.0 || extent->y0 < 0.0 || extent->x1 > 1.0 || extent->y1 > 1.0))
            ++atTheEdge;
    }
    EXPECT_GE(narrowed, 20) << "the rays are bounded at most moments of the figure and the canyon";
    EXPECT_GE(atTheEdge, 3) << "moments where the figure leaves the view are among them";

    struct Unbounded {  // the passes bounded again whatever happens below
        explicit Unbounded(bool& flag) : flag(flag) { flag = false; }
        ~Unbounded() { flag = true; }
        bool& flag;
    } unbounded(demo.registry.boundedPasses);
    harness.Restart();
    for (std::size_t i = 0; i < moments.size(); ++i) {
        VantorGLTest::ExpectSameFrame(bounded[i], harness.FrameAt(moments[i]), moments[i], "bounded", "unbounded");
    }
    harness.Restart();
}
