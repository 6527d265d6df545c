// The greetings of the glass figure scene read through its moving camera: the two members are
// played on a hand-moved clock, the camera is taken from the scene itself after each frame's
// DrawContent, and the generated copies of each line are projected through it at 1024 x 768.
#include "FigureCameraPath.h"
#include "GreetingGeometry.h"
#include "GreetingLayout.h"
#include "MeshText.h"
#include "ModelRecipes.h"
#include "assets/Resources.h"
#include "scenes/ScenePattern.h"
#include "scenes/TavikIsleScene.h"
#include "support/GlTestContext.h"
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace VantorGL;
using Datagen::CopyPoint;
using Datagen::GreetingCopy;
using Datagen::Vec3;

namespace {

constexpr double kScreenW = 1024, kScreenH = 768;
// What a reader asks of a line, and what the frames must never show: a copy so near that its
// letters pass the largest size (a slab of glass across the view), a copy seen edge-on as a long
// streak across it (both with a little room for the frames between the layout's checks), a whole
// line of mirrored letters, or two copies' fronts over each other on screen.
constexpr double kMinLetterPx = Datagen::kGreetingMinLetterPx;
constexpr double kSlabLetterPx = Datagen::kGreetingMaxLetterPx * 1.05;
constexpr double kStreakPx = Datagen::kGreetingMaxStreakShare * kScreenW * 1.05;
constexpr double kFacingText = Datagen::kGreetingFacingText;  // a front within 60 degrees shows as text
// Every line reads in at least this share of the frames of its first-member interval, and of the
// second member's.
constexpr double kMinShare = 0.8;

struct D3 {
    double x, y, z;
};
D3 Of(const cVector3& v) { return {v.x(), v.y(), v.z()}; }
D3 Minus(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double Dot3(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3 Cross3(D3 a, D3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
D3 Unit(D3 a) {
    double l = std::sqrt(Dot3(a, a));
    return {a.x / l, a.y / l, a.z / l};
}

// gluPerspective and gluLookAt of the scene's camera record, to pixels.
struct Projector {
    D3 eye, f, s, u;
    double tanHalf, aspect;
    explicit Projector(const cCamera& cam) : eye(Of(cam.eye)) {
        f = Unit(Minus(Of(cam.center), eye));
        s = Unit(Cross3(f, Of(cam.up)));
        u = Cross3(s, f);
        tanHalf = std::tan(cam.fovy * M_PI / 360);
        aspect = cam.aspect;
    }
    double Depth(Vec3 p) const { return Dot3(Minus({p.x, p.y, p.z}, eye), f); }
    // Pixel position (y up) of a world point; false in front of the near plane.
    bool Pixel(Vec3 p, double& x, double& y) const {
        D3 d = Minus({p.x, p.y, p.z}, eye);
        double z = Dot3(d, f);
        if (z <= 1) return false;
        x = (Dot3(d, s) / (z * tanHalf * aspect) + 1) * kScreenW / 2;
        y = (Dot3(d, u) / (z * tanHalf) + 1) * kScreenH / 2;
        return true;
    }
};

// How square-on the eye sees the copy's front: 1 square-on, 0 edge-on, negative from behind.
double Facing(const GreetingCopy& g, const Projector& view, double clock) {
    const Vec3 eye = Datagen::WorldToFigure(clock, view.eye.x, view.eye.y, view.eye.z);  // where the figure sees it
    return Dot(Normalize(eye - g.origin), g.out);
}

// Is this copy whole on screen, its letters at least `minLetterPx` (24) tall at both ends, seen
// within about 55 degrees of square-on and upright enough to read?
bool Readable(const GreetingCopy& g, const Projector& view, double clock, double minLetterPx = kMinLetterPx) {
    if (Facing(g, view, clock) < Datagen::kGreetingMinFacingCos) return false;
    for (float a : {-0.5f, 0.5f})
        for (float v : {-Datagen::kGreetingBoxBelow, Datagen::kGreetingBoxAbove})
            for (float o : {-0.5f, 0.5f}) {
                double x, y;
                if (!view.Pixel(Datagen::FigureToWorld(clock, CopyPoint(g, a, v, o)), x, y)) return false;
                if (x < 0 || x > kScreenW || y < 0 || y > kScreenH) return false;
            }
    for (float a : {-0.5f, 0.0f, 0.5f}) {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // both in front of the eye: the slab's corners are
        view.Pixel(Datagen::FigureToWorld(clock, CopyPoint(g, a, 0, 0.5f)), x0, y0);
        view.Pixel(Datagen::FigureToWorld(clock, CopyPoint(g, a, 1, 0.5f)), x1, y1);
        if (y1 - y0 < minLetterPx || std::fabs(x1 - x0) > 0.6 * (y1 - y0)) return false;  // short or toppled
    }
    return true;
}

bool AnyReadable(const std::vector<GreetingCopy>& copies, const Projector& view, double clock) {
    for (const GreetingCopy& g : copies)
        if (Readable(g, view, clock)) return true;
    return false;
}

// Where a copy shows: the pixel box of its outline's points in front of the eye (`on` where it
// reaches into the frame), its outline's quadrilateral (the box where a corner is behind the
// eye), and the largest letters among those points that land on screen.
struct Shown {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9, largestLetterPx = 0;
    bool on = false;
    Datagen::ScreenQuad quad;
};
Shown ShownAt(const GreetingCopy& g, const Projector& view, double clock) {
    Shown s;
    for (int k = 0; k <= 10; ++k)
        for (float v : {-Datagen::kGreetingBoxBelow, 0.4f, Datagen::kGreetingBoxAbove}) {
            double x, y;
            const Vec3 p = Datagen::FigureToWorld(clock, CopyPoint(g, -0.5f + 0.1f * float(k), v, 0));
            if (!view.Pixel(p, x, y)) continue;
            s.x0 = std::min(s.x0, x), s.x1 = std::max(s.x1, x), s.y0 = std::min(s.y0, y), s.y1 = std::max(s.y1, y);
            if (x < 0 || x > kScreenW || y < 0 || y > kScreenH) continue;
            // Letters there stand as tall as a segment of their height square to the view at that depth.
            const double letterPx = g.letterHeight * Datagen::kFigureScale * kScreenH / (2 * view.tanHalf * view.Depth(p));
            s.largestLetterPx = std::max(s.largestLetterPx, letterPx);
        }
    s.on = s.x0 < kScreenW && s.x1 > 0 && s.y0 < kScreenH && s.y1 > 0;
    const float corners[4][2] = {{-0.5f, -Datagen::kGreetingBoxBelow}, {0.5f, -Datagen::kGreetingBoxBelow},
                                 {0.5f, Datagen::kGreetingBoxAbove}, {-0.5f, Datagen::kGreetingBoxAbove}};
    Datagen::ScreenQuad quad;
    for (size_t k = 0; k < 4; ++k) {
        double x, y;
        if (!view.Pixel(Datagen::FigureToWorld(clock, CopyPoint(g, corners[k][0], corners[k][1], 0)), x, y)) {
            quad = {{float(s.x0), float(s.x1), float(s.x1), float(s.x0)}, {float(s.y0), float(s.y0), float(s.y1), float(s.y1)}};
            break;
        }
        quad.x[k] = float(x), quad.y[k] = float(y);
    }
    s.quad = quad;
    return s;
}

// Is the copy seen nearly edge-on, its spine a streak longer than kStreakPx inside the frame?
bool Streak(const GreetingCopy& g, const Projector& view, double clock) {
    if (std::fabs(Facing(g, view, clock)) >= kFacingText) return false;
    double x0, y0, x1, y1;
    if (!view.Pixel(Datagen::FigureToWorld(clock, CopyPoint(g, -0.5f, Datagen::kGreetingSpineV, 0)), x0, y0) ||
        !view.Pixel(Datagen::FigureToWorld(clock, CopyPoint(g, 0.5f, Datagen::kGreetingSpineV, 0)), x1, y1))
        return false;
    return Datagen::SegmentLengthInFrame(float(x0), float(y0), float(x1), float(y1), {0, 0, float(kScreenW), float(kScreenH)}) > kStreakPx;
}
// Frames where a copy of `copies` passes as a slab or a streak across the view, or reads from
// behind, and where two fronts' outlines overlap on screen.
void CountClutter(const std::vector<GreetingCopy>& copies, const Projector& view, double clock, int& glass, int& overlaps) {
    std::vector<Shown> shown;
    for (const GreetingCopy& g : copies) shown.push_back(ShownAt(g, view, clock));
    bool stray = false, overlap = false;
    for (size_t i = 0; i < copies.size(); ++i) {
        GreetingCopy back = copies[i];  // the same slab, its back taken for its front
        back.out = back.out * -1.0f;
        back.across = back.across * -1.0f;
        if (shown[i].largestLetterPx > kSlabLetterPx || (shown[i].on && Streak(copies[i], view, clock)) || Readable(back, view, clock, Datagen::kGreetingMirroredLetterPx))
            stray = true;
        if (!shown[i].on || Facing(copies[i], view, clock) <= kFacingText) continue;
        for (size_t j = i + 1; j < copies.size(); ++j) {
            if (!shown[j].on || Facing(copies[j], view, clock) <= kFacingText) continue;
            if (Datagen::QuadsOverlapInFrame(shown[i].quad, shown[j].quad, 0, {0, 0, float(kScreenW), float(kScreenH)})) overlap = true;
        }
    }
    glass += stray;
    overlaps += overlap;
}

}  // namespace

// Each copy of a line is one object of its model, and its letters lie inside the copy's slab.
TEST(TavikIsleGreetings, EveryCopyIsOneObjectInsideItsSlab) {
    for (int line = 1; line <= 3; ++line) {
        Datagen::Model model;
        ASSERT_TRUE(Datagen::BuildGreeting(model, line));
        const std::vector<GreetingCopy> copies = Datagen::GreetingCopies(line);
        ASSERT_EQ(model.objects.size(), copies.size()) << "line " << line;
        for (size_t k = 0; k < copies.size(); ++k) {
            const GreetingCopy& g = copies[k];
            float lowest = 1e9f, highest = -1e9f, widest = 0, thickest = 0;
            for (Vec3 p : model.objects[k].positions) {
                Vec3 d = p - g.origin;
                lowest = std::min(lowest, Dot(d, g.up) / g.letterHeight);
                highest = std::max(highest, Dot(d, g.up) / g.letterHeight);
                widest = std::max(widest, std::fabs(Dot(d, g.across)) * 2 / g.width);
                thickest = std::max(thickest, std::fabs(Dot(d, g.out)) * 2 / g.depth);
            }
            EXPECT_GE(lowest, -Datagen::kGreetingBoxBelow) << "line " << line << " copy " << k;
            EXPECT_LE(highest, Datagen::kGreetingBoxAbove) << "line " << line << " copy " << k;
            EXPECT_GT(highest, 0.95f) << "line " << line << " copy " << k;  // tall letters reach the letter height
            EXPECT_NEAR(widest, 1, 0.02) << "line " << line << " copy " << k;
            EXPECT_NEAR(thickest, 1, 1e-3) << "line " << line << " copy " << k;
        }
    }
}

// Through the scene's own camera, frame by frame at about 60 fps: some copy of each line reads in
// a good share of the frames of its first-member interval and of the second member's frames
// (where beats may show any line at any moment), and no frame shows a copy as a slab or a streak
// across the view, or mirrored, or two copies' text over each other.
TEST(TavikIsleGreetings, EveryLineReadsThroughTheMovingCamera) {
    VantorGLTest::GlTestContext context;  // DrawContent sets the camera among its GL calls
    REQUIRE_GL(context);
    static cResources res;  // large; nothing loaded: the figure and greetings draw nothing here
    static cTavikIsleScene first, second;
    first.SetResources(&res);
    second.SetResources(&res);
    VantorGLTest::SetWindowOf(first, "tavikIsleFirst");
    VantorGLTest::SetWindowOf(second, "tavikIsleSecond");
    EXPECT_EQ(first.Init(), 0);
    EXPECT_EQ(second.Init(), 0);
    VantorGLTest::ManualCounter counter;
    cTimeSystem::Instance()->UseCounter(&counter);

    std::vector<GreetingCopy> copies[4];
    for (int line = 1; line <= 3; ++line) copies[line] = Datagen::GreetingCopies(line);
    int firstFrames[4] = {}, firstRead[4] = {}, secondFrames = 0, secondRead[4] = {};
    int strays[4] = {}, overlaps[4] = {};
    double worstCameraGap = 0;
    auto measure = [&](cTavikIsleScene& scene) {
        scene.DrawContent(kPassFigureAlone);
        // The layout's path is the scene's camera, seen from the figure.
        Datagen::FigureView path = Datagen::MovingCameraInFigure(scene.sceneClock);
        Vec3 eye = Datagen::FigureToWorld(scene.sceneClock, path.eye);
        const Vec3 centre = Datagen::FigureToWorld(scene.sceneClock, path.centre);
        const cVector3 &e = scene.camera.eye, &c = scene.camera.center;
        worstCameraGap = std::max({worstCameraGap, std::fabs(eye.x - e.x()), std::fabs(eye.y - e.y()), std::fabs(eye.z - e.z()),
                                   std::fabs(centre.x - c.x()), std::fabs(centre.y - c.y()), std::fabs(centre.z - c.z())});
        return Projector(scene.camera);
    };
    for (int ms = 0; ms < Datagen::kFigureSecondMemberToMs; ++ms) {
        first.RunUpdate();
        second.RunUpdate();
        const bool frame = ms % 17 == 0;  // about 60 fps
        if (frame && first.cameraMode == 1 && first.greeting >= 1 && first.localTime > 0 &&
            ms < Datagen::kFigureSecondMemberFromMs) {
            const Projector view = measure(first);
            ++firstFrames[first.greeting];
            if (AnyReadable(copies[first.greeting], view, first.sceneClock)) ++firstRead[first.greeting];
            CountClutter(copies[first.greeting], view, first.sceneClock, strays[first.greeting], overlaps[first.greeting]);
        }
        if (frame && ms >= Datagen::kFigureSecondMemberFromMs && second.localTime > 0) {
            const Projector view = measure(second);
            ++secondFrames;
            for (int line = 1; line <= 3; ++line) {
                if (AnyReadable(copies[line], view, second.sceneClock)) ++secondRead[line];
                CountClutter(copies[line], view, second.sceneClock, strays[line], overlaps[line]);
            }
        }
        counter.ms += 1;
        cTimeSystem::Instance()->Tick();
    }
    cTimeSystem::Instance()->UseCounter(nullptr);

    EXPECT_LT(worstCameraGap, 0.05) << "the layout's camera path is not the scene's";
    for (int line = 1; line <= 3; ++line) {
        ASSERT_GT(firstFrames[line], 200) << "line " << line;  // about 5 s each
        const double firstShare = double(firstRead[line]) / firstFrames[line];
        const double secondShare = double(secondRead[line]) / secondFrames;
        EXPECT_GE(firstShare, kMinShare) << "line " << line << " reads in " << firstRead[line] << " of " << firstFrames[line]
                                   << " first-member frames";
        EXPECT_GE(secondShare, kMinShare) << "line " << line << " reads in " << secondRead[line] << " of " << secondFrames
                                    << " second-member frames";
        EXPECT_EQ(strays[line], 0) << "line " << line << ": frames where a copy passes as a slab or a streak, or reads mirrored";
        EXPECT_EQ(overlaps[line], 0) << "line " << line << ": frames where two copies' text overlaps";
        std::printf("greeting %d reads in %.0f%% of its first-member frames, %.0f%% of the second member's\n", line,
                    100 * firstShare, 100 * secondShare);
    }
}
