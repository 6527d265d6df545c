// Tests for the metaball scene: the source paths and the field on the lattice, the fade picture's
// timing under a scripted clock (no GL), and the scene as the demo draws it at its moments.
#include "scenes/PelkAirportScene.h"

#include "assets/Resources.h"
#include "support/DemoHarness.h"
#include "support/KeptFrame.h"
#include "support/ManualCounter.h"
#include "support/ProcessState.h"
#include "support/TimelineWindow.h"
#include "timeline/TimeSystem.h"
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <vector>

using VantorGL::cPelkAirportScene;
using VantorGL::cTimeSystem;
using VantorGLTest::DemoHarness;
using VantorGLTest::ManualCounter;

namespace {

// The scene, its registry and a hand-moved clock, driven in the frame loop's order.
class PelkAirportUpdate : public ::testing::Test {
protected:
    // The registry's particle system seeds rand() as it is made: on this state, not the process's.
    VantorGLTest::RandSeed randomState{1};
    // A fresh scene and registry for each test (static in the program; too large for the stack).
    std::unique_ptr<cPelkAirportScene> freshScene = std::make_unique<cPelkAirportScene>();
    std::unique_ptr<VantorGL::cResources> freshRegistry = std::make_unique<VantorGL::cResources>();
    cPelkAirportScene& scene = *freshScene;
    VantorGL::cResources& res = *freshRegistry;
    ManualCounter counter;

    void SetUp() override {
        scene.SetResources(&res);
        VantorGLTest::SetWindowOf(scene, "pelkAirport");
        ASSERT_TRUE(scene.SetUpGrid());
        counter.ms = 0;
        cTimeSystem::Instance()->UseCounter(&counter);
        scene.RunUpdate();  // latches the scene's base at demo time 0, like the sequencer's first frame
    }
    void TearDown() override { cTimeSystem::Instance()->UseCounter(nullptr); }

    // Moves the clock to `ms` with a last step of `step` ms, as if frames had run up to there.
    void JumpTo(int ms, int step) {
        counter.ms = ms - step;
        cTimeSystem::Instance()->Tick();
        counter.ms = ms;
        cTimeSystem::Instance()->Tick();
    }
    // One frame: update, then the clock moves `step` ms.
    void Frame(int step, float spectrum0 = 0.0f) {
        res.music.spectrum[0] = spectrum0;
        scene.RunUpdate();
        counter.ms += step;
        cTimeSystem::Instance()->Tick();
    }
};

double Distance(const VantorGL::cVector3f& a, float x, float y, float z) {
    return std::sqrt(double(a.x - x) * (a.x - x) + double(a.y - y) * (a.y - y) + double(a.z - z) * (a.z - z));
}

}  // namespace

// Over the whole window the sources move smoothly (a fraction of a lattice step a frame), stay
// well inside the lattice, keep apart enough to give the blob its shape, and go where demo time
// says: the same demo time gives the same sources however the scene got there.
TEST_F(PelkAirportUpdate, SourcesMoveSmoothlyInsideTheLatticeAndFollowDemoTime) {
    const int start = VantorGL::TimelineStartMs("pelkAirport"), end = VantorGL::TimelineEndMs("pelkAirport");
    const double spacing = 2.0 * VantorGL::cIsoSurfaceGrid::kHalfExtent / scene.gridResolution;
    VantorGL::cFieldSource previous[cPelkAirportScene::kSourceCount];
    double travelled[cPelkAirportScene::kSourceCount] = {};
    for (int ms = start; ms <= end; ms += 33) {
        scene.PlaceSources(ms);
        for (int i = 0; i < cPelkAirportScene::kSourceCount; ++i) {
            const auto& c = scene.sources[i];
            ASSERT_LT(std::max({std::fabs(c.x), std::fabs(c.y), std::fabs(c.z)}), 0.8 * VantorGL::cIsoSurfaceGrid::kHalfExtent)
                << "source " << i << " at " << ms << " ms";
            if (ms > start) {
                const double step = Distance({c.x, c.y, c.z}, previous[i].x, previous[i].y, previous[i].z);
                ASSERT_LT(step, spacing) << "source " << i << " jumps at " << ms << " ms";
                travelled[i] += step;
            }
            previous[i] = c;
        }
    }
    for (int i = 0; i < cPelkAirportScene::kSourceCount; ++i) {
        EXPECT_GT(travelled[i], 10.0) << "source " << i << " hardly moves";
        EXPECT_GT(scene.sources[i].s, 0.0f);
    }

    JumpTo(start, 33);
    for (int i = 0; i < 151; ++i) Frame(33);  // about five seconds into the scene
    const int demoMs = cTimeSystem::Instance()->SinceReset() - 33;  // the time of the last update
    VantorGL::cFieldSource played[cPelkAirportScene::kSourceCount];
    std::copy(std::begin(scene.sources), std::end(scene.sources), played);
    scene.PlaceSources(demoMs);
    for (int i = 0; i < cPelkAirportScene::kSourceCount; ++i) {
        EXPECT_EQ(played[i].x, scene.sources[i].x) << "source " << i;
        EXPECT_EQ(played[i].y, scene.sources[i].y) << "source " << i;
        EXPECT_EQ(played[i].z, scene.sources[i].z) << "source " << i;
    }
    // sceneClock counts scene frames, not demo time: it is far from the demo's seconds.
    EXPECT_GT(scene.sceneClock, 0.0);
    EXPECT_LT(scene.sceneClock, demoMs * 0.01 / 2);
}

// The field is the sources' fields added up, each falling off as the inverse square of the
// distance with its normal pointing away from its source; level 1 closes a surface around the
// sources, inside the lattice.
TEST_F(PelkAirportUpdate, TheFieldAddsInverseSquareSourcesIntoAClosedBlob) {
    JumpTo(VantorGL::TimelineStartMs("pelkAirport") + 5000, 33);
    Frame(33);
    const int n = scene.grid.pointCount;
    ASSERT_GT(n, 0);
    std::vector<float> together(n);
    for (int p = 0; p < n; ++p) together[p] = scene.grid.points[p].value;

    // Each source alone (the others at strength 0), summed.
    const VantorGL::cFieldSource all[cPelkAirportScene::kSourceCount] = {
        scene.sources[0], scene.sources[1], scene.sources[2], scene.sources[3]};
    std::vector<double> summed(n, 0.0);
    for (int i = 0; i < cPelkAirportScene::kSourceCount; ++i) {
        for (int k = 0; k < cPelkAirportScene::kSourceCount; ++k) scene.sources[k].s = k == i ? all[k].s : 0.0f;
        scene.EvaluateField();
        int inward = 0;
        for (int p = 0; p < n; ++p) {
            const auto& point = scene.grid.points[p];
            summed[p] += point.value;
            const VantorGL::cVector3f away = point.position - VantorGL::cVector3f(all[i].x, all[i].y, all[i].z);
            inward += away.x * point.normal.x + away.y * point.normal.y + away.z * point.normal.z < 0.0f;
        }
        EXPECT_EQ(inward, 0) << "source " << i << ": normals pointing at the source";
    }
    for (int p = 0; p < n; p += 7) ASSERT_NEAR(together[p], summed[p], 1e-5 * summed[p]) << "point " << p;

    // One source: twice as far, a quarter of the field.
    for (auto& source : scene.sources) source = VantorGL::cFieldSource{0.0f, 0.0f, 0.0f, 0.0f};
    scene.sources[0].s = all[0].s;
    scene.EvaluateField();
    const int m = scene.gridResolution + 1, centre = scene.gridResolution / 2;
    auto at = [&](int i) { return scene.grid.points[(i * m + centre) * m + centre]; };
    const double r = at(centre + 3).position.x, r2 = at(centre + 6).position.x;
    ASSERT_NEAR(r2, 2 * r, 1e-4);
    EXPECT_NEAR(at(centre + 6).value, at(centre + 3).value / 4.0, 1e-4 * at(centre + 3).value);

    for (int i = 0; i < cPelkAirportScene::kSourceCount; ++i) scene.sources[i] = all[i];
    scene.EvaluateField();
    int outside = 0;
    VantorGL::cIsoSurfaceGrid& grid = scene.grid;
    const int triangles = grid.PolygoniseInto(scene.isoThreshold, [&](const auto& a, const auto& b, const auto& c) {
        for (const auto* v : {&a, &b, &c})
            if (std::fabs(v->position.x) > 10 || std::fabs(v->position.y) > 10 || std::fabs(v->position.z) > 10) ++outside;
    });
    EXPECT_GT(triangles, 200);
    EXPECT_EQ(outside, 0);
}

TEST_F(PelkAirportUpdate, APointOnASourceStaysFinite) {
    // The middle lattice point is exactly 0 on each axis.
    const int m = scene.gridResolution + 1, mid = scene.gridResolution / 2;
    for (auto& source : scene.sources) source.x = source.y = 0.0f, source.z = 20.0f;
    scene.sources[0].z = 0.0f;
    scene.EvaluateField();
    const auto& centre = scene.grid.points[(mid * m + mid) * m + mid];
    ASSERT_EQ(centre.position.x, 0.0f);
    ASSERT_EQ(centre.position.z, 0.0f);
    EXPECT_TRUE(std::isfinite(centre.value));
    EXPECT_TRUE(std::isfinite(centre.normal.x) && std::isfinite(centre.normal.y) && std::isfinite(centre.normal.z));
    // It is the strongest point of the lattice, and its neighbour's normal points away from it.
    const auto& next = scene.grid.points[((mid + 1) * m + mid) * m + mid];
    EXPECT_GT(centre.value, 100.0f * next.value);
    EXPECT_GT(next.normal.x, 0.0f);
}

// The fade picture lifts steadily over the scene's first second, stays away, and from 2:12.0
// (strictly after) comes back steadily until it covers the frame again, well before the end.
TEST_F(PelkAirportUpdate, FadePictureLeavesInTheFirstSecondAndReturnsAt132Seconds) {
    const int start = VantorGL::TimelineStartMs("pelkAirport"), end = VantorGL::TimelineEndMs("pelkAirport");
    JumpTo(start, 33);
    float previous = scene.endFade;
    while (cTimeSystem::Instance()->SinceReset() < start + 900) {
        Frame(33);
        ASSERT_LT(scene.endFade, previous) << "not lifting at " << cTimeSystem::Instance()->SinceReset();
        ASSERT_GT(scene.endFade, 0.0f) << "gone before a second";
        previous = scene.endFade;
    }
    while (cTimeSystem::Instance()->SinceReset() < start + 1100) Frame(33);
    EXPECT_EQ(scene.endFade, 0.0f);

    // Beats neither show nor stick: the counter is cleared in the update that raises it.
    for (int i = 0; i < 30; ++i) Frame(33, 0.9f);
    EXPECT_EQ(scene.beatCount, 0);
    EXPECT_GT(scene.beatCooldown, 0.0f);

    JumpTo(131967, 33);
    Frame(33);  // at 131967 ms: not yet
    EXPECT_EQ(scene.endFade, 0.0f);
    Frame(33);  // at 132000 ms: "after" means strictly after
    EXPECT_EQ(scene.endFade, 0.0f);
    previous = 0.0f;
    int coveredAt = -1;
    while (cTimeSystem::Instance()->SinceReset() <= end) {
        Frame(33);
        if (coveredAt < 0) {
            EXPECT_GT(scene.endFade, previous) << "not returning at " << cTimeSystem::Instance()->SinceReset();
            if (scene.endFade == 1.0f) coveredAt = cTimeSystem::Instance()->SinceReset();
        } else {
            EXPECT_EQ(scene.endFade, 1.0f) << "the frame stays covered to the end";
        }
        previous = scene.endFade;
    }
    EXPECT_GT(coveredAt, 132000 + 500) << "back at once";
    EXPECT_LT(coveredAt, end - 500) << "covered only at the very end";
}

// The scene as the demo draws it: covered at its first frame, a blob over the backdrop in the
// middle, covered again at the end.
TEST(PelkAirportScene, DrawsTheBlobBetweenItsFades) {
    DemoHarness& harness = DemoHarness::Get();
    if (!harness.Ok()) GTEST_SKIP() << "no GL or no data folder";
    const auto& open = harness.FrameAt(115200);
    const VantorGLTest::cColourStats opening = DemoHarness::Stats(open);
    const float openingFade = harness.Demo().pelkAirport.endFade;
    EXPECT_GT(openingFade, 0.7f);

    const auto& middle = harness.FrameAt(120000);
    const VantorGLTest::cColourStats steady = DemoHarness::Stats(middle);
    EXPECT_EQ(harness.Demo().pelkAirport.endFade, 0.0f);
    EXPECT_GT(harness.Demo().pelkAirport.grid.trianglesEmitted, 200) << "no blob drawn";
    EXPECT_GT(steady.spread, 10.0) << "a flat frame";
    EXPECT_LT(steady.blackShare, 0.9);
    // Without the fade picture the scene's own picture shows: the frame differs from the covered one.
    const double change = std::fabs(steady.mean[0] - opening.mean[0]) + std::fabs(steady.mean[1] - opening.mean[1]) +
                          std::fabs(steady.mean[2] - opening.mean[2]) + std::fabs(steady.spread - opening.spread);
    EXPECT_GT(change, 5.0);
    VantorGLTest::KeepFrameIfFailed(middle, DemoHarness::kWidth, DemoHarness::kHeight, "pelk-120000");

    harness.FrameAt(133500);
    EXPECT_EQ(harness.Demo().pelkAirport.endFade, 1.0f);
    EXPECT_EQ(harness.FirstGlError(), 0u) << "at demo time " << harness.FirstGlErrorAt();
}
