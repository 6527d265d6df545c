// The greeting layout's shortcuts must answer exactly as the walks they skip: over copies of
// every size and turn, near the camera and far, and at thresholds drawn around the walk's own
// answer, where a bound's margin decides.
#include "GreetingGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using namespace Datagen;

struct Draw {
    std::mt19937 rng{2010};
    float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }
    Vec3 Direction() {
        for (;;) {
            const Vec3 v{Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)};
            if (Dot(v, v) > 0.01f && Dot(v, v) <= 1) return Normalize(v);
        }
    }
    GreetingCamera Camera() { return GreetingCamera(Uniform(0, 80)); }
    // A slab of a line's proportions at `middle`, turned any way.
    GreetingCopy CopyAt(Vec3 middle) {
        GreetingCopy g;
        g.out = Direction();
        g.up = Normalize(Cross(g.out, Direction()));
        g.across = Cross(g.up, g.out);
        g.letterHeight = Uniform(0.2f, 3);
        g.width = g.letterHeight * Uniform(8, 25);
        g.depth = kGreetingDepth * g.letterHeight;
        g.origin = middle;
        return g;
    }
};

TEST(GreetingGeometry, LetterSizeShortcutAnswersAsTheWalk) {
    Draw draw;
    int larger = 0, smaller = 0;
    for (int k = 0; k < 20000; ++k) {
        const GreetingCamera cam = draw.Camera();
        // Mostly ahead of the eye, some beside and behind it, from touching distance to far.
        const Vec3 where = Normalize(cam.f * draw.Uniform(-0.3f, 2) + draw.Direction());
        const GreetingCopy g = draw.CopyAt(cam.eye + where * draw.Uniform(0.1f, 30));
        const float walk = LetterPxOnScreen(g, cam);
        const float px = k % 2 ? kGreetingMaxLetterPx : walk * draw.Uniform(0.9f, 1.1f);
        ASSERT_EQ(LargerOnScreenThan(g, cam, px), walk > px) << "copy " << k << ": walk says " << walk << " px against " << px;
        ++(walk > px ? larger : smaller);
    }
    EXPECT_GT(larger, 1000);
    EXPECT_GT(smaller, 1000);
}

TEST(GreetingGeometry, ClearanceShortcutAnswersAsTheWalk) {
    Draw draw;
    int within = 0, apart = 0;
    for (int k = 0; k < 20000; ++k) {
        const GreetingCopy a = draw.CopyAt({draw.Uniform(-20, 20), draw.Uniform(-20, 20), draw.Uniform(-20, 20)});
        const GreetingCopy b = draw.CopyAt(a.origin + draw.Direction() * draw.Uniform(0, 2 * a.width));
        const float clearance = k % 2 ? 0.6f : draw.Uniform(0.05f, 3);
        const bool walk = CopiesWithinByWalk(a, b, clearance);
        ASSERT_EQ(CopiesWithin(a, b, clearance), walk) << "pair " << k;
        ++(walk ? within : apart);
    }
    EXPECT_GT(within, 1000);
    EXPECT_GT(apart, 1000);
}

TEST(GreetingGeometry, SightShortcutAnswersAsTheWalk) {
    Draw draw;
    int hidden = 0, clear = 0;
    for (int k = 0; k < 20000; ++k) {
        const GreetingCamera cam = draw.Camera();
        const GreetingCopy back = draw.CopyAt(cam.eye + draw.Direction() * draw.Uniform(1, 30));
        // The front one somewhere on the way there, or off it.
        const Vec3 onTheWay = Lerp(cam.eye, back.origin, draw.Uniform(-0.2f, 1.2f));
        const GreetingCopy front = draw.CopyAt(onTheWay + draw.Direction() * draw.Uniform(0, back.width));
        const bool walk = HidesSightByWalk(front, back, cam);
        ASSERT_EQ(HidesSight(front, back, cam), walk) << "pair " << k;
        ++(walk ? hidden : clear);
    }
    EXPECT_GT(hidden, 1000);
    EXPECT_GT(clear, 1000);
}

}  // namespace

// Outlines overlap where both are seen: slanted lines side by side stay apart though their boxes
// meet, lines crossing beyond the frame's edge stay apart, and the margin keeps near ones apart.
TEST(GreetingGeometry, OutlinesOverlapOnlyWhereBothAreInTheFrame) {
    // A line 2 tall from (x0, y0) to (x1, y1), corners in order round its edge.
    auto line = [](float x0, float y0, float x1, float y1) {
        const float len = std::hypot(x1 - x0, y1 - y0), nx = -(y1 - y0) / len, ny = (x1 - x0) / len;
        return ScreenQuad{{x0 - nx, x1 - nx, x1 + nx, x0 + nx}, {y0 - ny, y1 - ny, y1 + ny, y0 + ny}};
    };
    const ScreenFrame frame{0, 0, 100, 100};
    auto overlap = [&](const ScreenQuad& a, const ScreenQuad& b, float margin) { return QuadsOverlapInFrame(a, b, margin, frame); };
    EXPECT_FALSE(overlap(line(10, 10, 90, 50), line(10, 20, 90, 60), 0));  // parallel, 8.9 apart
    EXPECT_TRUE(overlap(line(10, 10, 90, 50), line(10, 50, 90, 10), 0));   // crossing in the frame
    EXPECT_FALSE(overlap(line(10, 90, 130, 150), line(10, 150, 130, 90), 0));  // crossing beyond it
    EXPECT_FALSE(overlap(line(10, 10, 90, 10), line(10, 13, 90, 13), 0.5f));   // 1 apart
    EXPECT_TRUE(overlap(line(10, 10, 90, 10), line(10, 13, 90, 13), 1.5f));
    EXPECT_FALSE(overlap(line(110, 10, 190, 10), line(110, 10, 190, 10), 0));  // one place, unseen
}

// A streak is measured by the part of it that is seen: inside, across an edge, along an edge,
// wholly beyond, and a point.
TEST(GreetingGeometry, SegmentCountsOnlyWhereItIsInTheFrame) {
    const ScreenFrame frame{0, 0, 100, 100};
    EXPECT_NEAR(SegmentLengthInFrame(10, 10, 40, 50, frame), 50, 1e-4);
    EXPECT_NEAR(SegmentLengthInFrame(-50, 50, 150, 50, frame), 100, 1e-4);    // through both sides
    EXPECT_NEAR(SegmentLengthInFrame(50, 50, 150, 150, frame), 50 * std::sqrt(2.0f), 1e-3);
    EXPECT_NEAR(SegmentLengthInFrame(0, -20, 0, 30, frame), 30, 1e-4);        // on the edge
    EXPECT_EQ(SegmentLengthInFrame(110, -10, 190, 50, frame), 0);
    EXPECT_EQ(SegmentLengthInFrame(-10, 120, 120, 101, frame), 0);           // passes the corner
    EXPECT_EQ(SegmentLengthInFrame(20, 20, 20, 20, frame), 0);
}
