// The greetings of the glass figure scene read through its moving camera: the two members are
// played on a hand-moved clock, the camera is taken from the scene itself after each frame's
// DrawContent, and the generated copies of each line are projected through it at 1024 x 768.
#include "FigureCameraPath.h"
#include "GreetingLayout.h"
#include "MeshText.h"
#include "ModelRecipes.h"
#include "assets/Resources.h"
#include "scenes/ScenePattern.h"
#include "scenes/TavikIsleScene.h"
#include "support/GlTestContext.h"
#include "support/LookAtView.h"
#include "support/ManualCounter.h"
#include "support/TimelineWindow.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace VantorGL;
using Datagen::GreetingCopy;
using Datagen::Vec3;

namespace {

constexpr double kScreenW = 1024, kScreenH = 768;
constexpr double kMinLetterPx = 24;  // the art direction's smallest readable letter

// The scene's camera record (gluPerspective and gluLookAt), to pixels of the frame.
struct Projector {
    explicit Projector(const cCamera& cam) : view(Of(cam.eye).data(), Of(cam.center).data(), Of(cam.up).data(), cam.fovy, cam.aspect) {}
    // Pixel position (y up) of a world point; false in front of the near plane.
    bool Pixel(Vec3 p, double& x, double& y) const {
        const double point[3] = {p.x, p.y, p.z};
        return view.Pixel(point, int(kScreenW), int(kScreenH), x, y, 1.0);
    }
    static std::array<double, 3> Of(const cVector3& v) { return {v.x(), v.y(), v.z()}; }

    VantorGLTest::LookAtView view;
};

Vec3 BoxPoint(const GreetingCopy& g, float a, float v, float o) {
    return g.origin + g.across * (a * g.width) + g.up * (v * g.letterHeight) + g.out * (o * g.depth);
}

// Is this copy whole on screen, its letters at least 24 px tall at both ends, seen from the front
// and upright enough to read?
bool Readable(const GreetingCopy& g, const Projector& view, double clock) {
    const double* at = view.view.Eye();
    const Vec3 eye = Datagen::WorldToFigure(clock, at[0], at[1], at[2]);  // where the figure sees it
    if (Dot(eye - g.origin, g.out) <= 0) return false;  // mirrored from behind
    for (float a : {-0.5f, 0.5f})
        for (float v : {-Datagen::kGreetingBoxBelow, Datagen::kGreetingBoxAbove})
            for (float o : {-0.5f, 0.5f}) {
                double x, y;
                if (!view.Pixel(Datagen::FigureToWorld(clock, BoxPoint(g, a, v, o)), x, y)) return false;
                if (x < 0 || x > kScreenW || y < 0 || y > kScreenH) return false;
            }
    for (float a : {-0.5f, 0.0f, 0.5f}) {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // both in front of the eye: the slab's corners are
        view.Pixel(Datagen::FigureToWorld(clock, BoxPoint(g, a, 0, 0.5f)), x0, y0);
        view.Pixel(Datagen::FigureToWorld(clock, BoxPoint(g, a, 1, 0.5f)), x1, y1);
        if (y1 - y0 < kMinLetterPx || std::fabs(x1 - x0) > 0.6 * (y1 - y0)) return false;  // short or toppled
    }
    return true;
}

bool AnyReadable(const std::vector<GreetingCopy>& copies, const Projector& view, double clock) {
    for (const GreetingCopy& g : copies)
        if (Readable(g, view, clock)) return true;
    return false;
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
// at least half the frames of its first-member interval, and in at least half of the second
// member's frames (where beats may show any line at any moment).
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
        }
        if (frame && ms >= Datagen::kFigureSecondMemberFromMs && second.localTime > 0) {
            const Projector view = measure(second);
            ++secondFrames;
            for (int line = 1; line <= 3; ++line)
                if (AnyReadable(copies[line], view, second.sceneClock)) ++secondRead[line];
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
        EXPECT_GE(firstShare, 0.5) << "line " << line << " reads in " << firstRead[line] << " of " << firstFrames[line]
                                   << " first-member frames";
        EXPECT_GE(secondShare, 0.5) << "line " << line << " reads in " << secondRead[line] << " of " << secondFrames
                                    << " second-member frames";
        std::printf("greeting %d reads in %.0f%% of its first-member frames, %.0f%% of the second member's\n", line,
                    100 * firstShare, 100 * secondShare);
    }
}
