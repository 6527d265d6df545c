// Tests for cParticleSystem: ageing, the one-rebirth-per-update stream, motion and misuse. Each
// test keeps rand() on a state of its own: the constructor seeds it from the clock.
#include "render/ParticleSystem.h"

#include "render/FatalError.h"
#include "support/FatalRecorder.h"
#include "support/FixedClock.h"
#include "support/ProcessState.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

using VantorGL::cParticleSystem;
using VantorGL::cTimeSystem;

namespace {

// The process clock at a fixed frame time for the length of a test, one frame already played so
// the clock's delta is that frame time.
class FrameTime : public VantorGLTest::FixedClock {
public:
    explicit FrameTime(int frameMs) : FixedClock(1000 / frameMs) { Step(); }
};

double DistanceTo(const VantorGL::cVector3f& p, float x, float y, float z) {
    return std::sqrt(double(p.x - x) * (p.x - x) + double(p.y - y) * (p.y - y) + double(p.z - z) * (p.z - z));
}

}  // namespace

// A new pool is a cloud at the emitter in the system's colour, every particle about to die, each
// with its own, small rate of fading.
TEST(ParticleSystem, CreatedPoolIsAliveButAlmostSpent) {
    VantorGLTest::RandSeed seed(1);
    cParticleSystem system;
    system.SetEmitterPosition(1.0f, 2.0f, 3.0f);
    system.CreateParticles(500);
    ASSERT_TRUE(system.Ready());
    std::set<float> fades;
    for (int i = 0; i < system.Count(); ++i) {
        const auto& p = system.At(i);
        EXPECT_EQ(p.active, 1);
        EXPECT_GT(p.life, 0.0f) << i;
        EXPECT_LE(p.life, p.fade) << i << ": outlives its first update";
        EXPECT_GT(p.fade, 0.0f) << i;
        EXPECT_LT(p.fade, 0.01f) << i << ": a reborn particle would not last a hundred updates";
        fades.insert(p.fade);
        EXPECT_LT(DistanceTo(p.position, 1.0f, 2.0f, 3.0f), 0.5) << i;
        EXPECT_EQ(p.r, system.colour[0]);
        EXPECT_EQ(p.b, system.colour[2]);
    }
    EXPECT_GE(fades.size(), 2u) << "every particle fades alike";
}

// One update kills the whole pool and brings back exactly one particle: the first whose life ran
// out. Those before it were still alive; everyone else aged.
TEST(ParticleSystem, FirstShortUpdateRebirthsOnlyTheFirstDeadParticle) {
    VantorGLTest::RandSeed seed(1);
    FrameTime clock(50);  // below the life divisor: no time-based loss
    cParticleSystem system;
    system.CreateParticles(500);
    std::vector<float> lives;
    for (int i = 0; i < 500; ++i) lives.push_back(system.At(i).life);
    system.UpdateAll();

    int reborn = -1, rebornCount = 0;
    for (int i = 0; i < 500; ++i) {
        if (system.At(i).life == 1.0f) {
            ++rebornCount;
            if (reborn < 0) reborn = i;
        } else {
            EXPECT_LT(system.At(i).life, lives[i]) << "particle " << i << " did not age";
        }
    }
    ASSERT_EQ(rebornCount, 1);
    for (int i = 0; i < reborn; ++i) EXPECT_GE(system.At(i).life, 0.0f) << "dead particle " << i << " was passed over";
    EXPECT_TRUE(system.respawned);
}

// A reborn particle fades steadily, stays alive for about one over its fade in updates, then
// dies (and may come back at once).
TEST(ParticleSystem, RebornParticleLivesAboutOneOverFadeUpdates) {
    FrameTime clock(50);
    std::set<float> fadesSeen;
    for (unsigned seed = 1; seed <= 16; ++seed) {
        VantorGLTest::RandSeed kept(seed);  // the constructor's clock seeding lands on this state
        cParticleSystem system;
        std::srand(seed);  // after the constructor's own seeding: repeatable runs
        system.CreateParticles(500);
        system.UpdateAll();
        int p = -1;
        for (int i = 0; i < 500 && p < 0; ++i)
            if (system.At(i).life == 1.0f) p = i;
        ASSERT_GE(p, 0);
        const float fade = system.At(p).fade;
        fadesSeen.insert(fade);
        const int lifetime = int(std::ceil(1.0f / fade));
        float last = system.At(p).life;
        for (int k = 1; k < lifetime - 1; ++k) {
            system.UpdateAll();
            const float life = system.At(p).life;
            ASSERT_GT(life, 0.0f) << "died early after " << k << " updates, fade " << fade;
            ASSERT_LT(life, last) << "stopped fading after " << k << " updates";
            last = life;
        }
        EXPECT_LT(last, 3.0f * fade) << "nearly spent by the end of its life";
        for (int k = 0; k < 3; ++k) system.UpdateAll();  // past 1 / fade: dead, or dead and reborn
        EXPECT_TRUE(system.At(p).life < 0.0f || system.At(p).life > 0.9f) << system.At(p).life;
    }
    EXPECT_GE(fadesSeen.size(), 2u);
}

// Frames shorter than the life divisor cost only the fade: the stream builds up one particle per
// update, each accelerating and drifting away from the emitter, the faster the longer the frames.
// Frames as long as the divisor cost a whole unit: everything dies every update and the stream is
// a single fresh particle at the emitter.
TEST(ParticleSystem, LongFramesCostWholeUnitsOfLifeAndMoveTheRebornParticle) {
    constexpr int kUpdates = 10;
    struct Run {
        int alive = 0;
        double height = 0.0, nearest = 1e9;
    };
    auto play = [](int frameMs) {
        VantorGLTest::RandSeed seed{unsigned(frameMs)};
        FrameTime clock(frameMs);
        cParticleSystem system;
        system.SetEmitterPosition(1.0f, 2.0f, 3.0f);
        system.SetAcceleration(0.0f, 0.0001f, 0.0f);
        system.SetDrift(0.01f, 0.0f, 0.0f);
        system.CreateParticles(20);
        system.UpdateAll();
        int first = -1;
        for (int i = 0; i < system.Count() && first < 0; ++i)
            if (system.At(i).life == 1.0f) first = i;
        EXPECT_GE(first, 0);
        const bool lasting = system.lifeDivisor > frameMs;
        double speed = 0.0;
        for (int k = 0; k < kUpdates; ++k) {
            const VantorGL::cVector3f before = system.At(first).position;
            system.UpdateAll();
            const double now = DistanceTo(system.At(first).position, before.x, before.y, before.z);
            if (lasting) {
                EXPECT_GT(now, speed) << frameMs << " ms: not accelerating at update " << k;
            }
            speed = now;
        }
        Run run;
        for (int i = 0; i < system.Count(); ++i) {
            const auto& p = system.At(i);
            if (p.life < 0.0f) continue;
            ++run.alive;
            run.nearest = std::min(run.nearest, DistanceTo(p.position, 1.0f, 2.0f, 3.0f));
        }
        run.height = system.At(first).position.y - 2.0f;
        if (lasting) {
            EXPECT_GT(system.At(first).position.x, 1.2f) << frameMs << " ms: drifted along +x";
        }
        return run;
    };
    const Run slow = play(25), fast = play(50), stalled = play(100);
    EXPECT_EQ(slow.alive, kUpdates + 1);
    EXPECT_EQ(fast.alive, kUpdates + 1);
    EXPECT_GT(slow.height, 0.0) << "accelerated upwards";
    EXPECT_GT(fast.height, slow.height * 1.5) << "acceleration scales with the frame time";
    EXPECT_EQ(stalled.alive, 1);
    EXPECT_LT(stalled.nearest, 0.5) << "the one survivor is fresh from the emitter";
}

TEST(ParticleSystem, SettersOnlyReachParticlesBornAfterwards) {
    VantorGLTest::RandSeed seed(1);
    FrameTime clock(250);
    cParticleSystem system;
    system.SetColour(0.5f, 0.25f, 0.75f);
    system.CreateParticles(3);
    system.SetColour(0.1f, 0.2f, 0.3f);
    system.SetDrift(0.0f, 0.0f, -0.05f);
    system.UpdateAll();
    EXPECT_EQ(system.At(0).r, 0.1f);      // reborn with the new colour
    EXPECT_EQ(system.At(0).drift.z, -0.05f);
    EXPECT_EQ(system.At(1).r, 0.5f);      // still the old one
    EXPECT_EQ(system.At(1).drift.z, 0.0f);
}

TEST(ParticleSystem, MisuseEndsTheRunWithExitCodeTen) {
    VantorGLTest::RandSeed seed(1);
    VantorGLTest::FatalRecorder fatal;
    cParticleSystem system;
    system.DrawAll();  // before any pool: no GL call is made
    EXPECT_EQ(fatal.Last().exitCode, 10);
    fatal.Clear();
    system.CreateParticles(0);
    EXPECT_EQ(fatal.Last().exitCode, 10);
    EXPECT_FALSE(system.Ready());
}
