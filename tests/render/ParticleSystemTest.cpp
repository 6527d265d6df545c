// Tests for cParticleSystem: ageing, the one-rebirth-per-update stream, motion and misuse.
#include "render/ParticleSystem.h"

#include "render/FatalError.h"
#include "support/FatalRecorder.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

using VantorGL::cParticleSystem;
using VantorGL::cTimeSystem;

namespace {

// Drives the process clock at a fixed frame time for the length of a test.
class FixedFrameTime {
public:
    // 1000 / frameMs frames a second, so each frame is exactly frameMs milliseconds.
    explicit FixedFrameTime(int frameMs) : counter(1000 / frameMs) {
        cTimeSystem::Instance()->UseCounter(&counter);
        Step();
    }
    ~FixedFrameTime() { cTimeSystem::Instance()->UseCounter(nullptr); }
    void Step() {
        counter.Advance();
        cTimeSystem::Instance()->Tick();
    }

private:
    VantorGL::cFixedStepCounter counter;
};

bool IsSpawnFade(float fade) {
    for (double f : {0.001, 0.003, 0.005, 0.007})
        if (fade == float(f)) return true;
    return false;
}

}  // namespace

TEST(ParticleSystem, CreatedPoolIsAliveButAlmostSpent) {
    cParticleSystem system;
    system.SetEmitterPosition(1.0f, 2.0f, 3.0f);
    system.CreateParticles(500);
    ASSERT_TRUE(system.Ready());
    for (int i = 0; i < system.Count(); ++i) {
        const auto& p = system.At(i);
        EXPECT_EQ(p.active, 1);
        EXPECT_EQ(p.life, 0.001f);
        EXPECT_TRUE(IsSpawnFade(p.fade)) << p.fade;
        EXPECT_NEAR(p.position.x, 1.0f, 0.1001f);
        EXPECT_NEAR(p.position.z, 3.0f, 0.1001f);
        EXPECT_LE(p.axis.x, 327.67f + 1e-3f);
        EXPECT_LE(p.angle, 327.67f + 1e-3f);
        EXPECT_EQ(p.r, 0.2f);  // the default colour
    }
}

TEST(ParticleSystem, FirstShortUpdateRebirthsOnlyTheFirstDeadParticle) {
    FixedFrameTime clock(50);  // below the life divisor: no time-based loss
    cParticleSystem system;
    system.CreateParticles(500);
    std::vector<float> fades;
    for (int i = 0; i < 500; ++i) fades.push_back(system.At(i).fade);
    system.UpdateAll();

    int firstDead = -1;  // 0.001 - 0.001 is 0, which is not dead
    for (int i = 0; i < 500 && firstDead < 0; ++i)
        if (0.001f - fades[i] < 0.0f) firstDead = i;
    ASSERT_GE(firstDead, 0);
    int reborn = 0;
    for (int i = 0; i < 500; ++i) {
        if (i == firstDead) {
            EXPECT_EQ(system.At(i).life, 1.0f);
            ++reborn;
        } else {
            EXPECT_EQ(system.At(i).life, 0.001f - fades[i]) << "particle " << i;
        }
    }
    EXPECT_EQ(reborn, 1);
}

TEST(ParticleSystem, RebornParticleLivesAboutOneOverFadeUpdates) {
    FixedFrameTime clock(50);
    std::set<float> fadesSeen;
    for (unsigned seed = 1; seed <= 16; ++seed) {
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
        const int lifetime = int(std::ceil(1.0f / fade));  // 1000 at 0.001, 143 at 0.007
        for (int k = 1; k < lifetime - 1; ++k) {
            system.UpdateAll();
            ASSERT_GT(system.At(p).life, 0.0f) << "died early after " << k << " updates, fade " << fade;
        }
        EXPECT_NEAR(system.At(p).life, 1.0f - float(lifetime - 2) * fade, 1e-3f);
        for (int k = 0; k < 3; ++k) system.UpdateAll();  // past 1 / fade: dead, or dead and reborn
        EXPECT_TRUE(system.At(p).life < 0.0f || system.At(p).life > 0.9f) << system.At(p).life;
    }
    EXPECT_GE(fadesSeen.size(), 2u);
}

TEST(ParticleSystem, LongFramesCostWholeUnitsOfLifeAndMoveTheRebornParticle) {
    FixedFrameTime clock(250);  // 250 / 100 = 2 whole units per update
    cParticleSystem system;
    system.SetEmitterPosition(1.0f, 2.0f, 3.0f);
    system.SetAcceleration(0.0f, 0.00004f, 0.0002f);
    system.SetDrift(0.01f, 0.0f, -0.02f);
    system.CreateParticles(20);
    std::vector<float> fades;
    for (int i = 0; i < 20; ++i) fades.push_back(system.At(i).fade);
    system.UpdateAll();

    // Every particle died; the first is reborn and moved once.
    const auto& first = system.At(0);
    EXPECT_EQ(first.life, 1.0f);
    const float vy = 0.00004f * 250.0f, vz = 0.0002f * 250.0f - 0.02f;
    EXPECT_FLOAT_EQ(first.velocity.x, 0.01f);
    EXPECT_FLOAT_EQ(first.velocity.y, vy);
    EXPECT_FLOAT_EQ(first.velocity.z, vz);
    EXPECT_NEAR(first.position.x, 1.0f + 0.01f, 0.1001f);
    EXPECT_NEAR(first.position.z, 3.0f + vz, 0.1001f);
    EXPECT_GE(first.angle, 250.0f);
    for (int i = 1; i < 20; ++i) EXPECT_FLOAT_EQ(system.At(i).life, 0.001f - (2.0f + fades[i])) << i;
    // Dead particles keep moving with what they were born with.
    EXPECT_FLOAT_EQ(system.At(1).velocity.x, 0.01f);
    EXPECT_FLOAT_EQ(system.At(1).velocity.z, vz);
}

TEST(ParticleSystem, SettersOnlyReachParticlesBornAfterwards) {
    FixedFrameTime clock(250);
    cParticleSystem system;
    system.SetColour(0.6f, 0.3f, 0.9f);
    system.CreateParticles(3);
    system.SetColour(0.1f, 0.2f, 0.3f);
    system.SetDrift(0.0f, 0.0f, -0.02f);
    system.UpdateAll();
    EXPECT_EQ(system.At(0).r, 0.1f);      // reborn with the new colour
    EXPECT_EQ(system.At(0).drift.z, -0.02f);
    EXPECT_EQ(system.At(1).r, 0.6f);      // still the old one
    EXPECT_EQ(system.At(1).drift.z, 0.0f);
}

TEST(ParticleSystem, MisuseEndsTheRunWithExitCodeTen) {
    VantorGLTest::FatalRecorder fatal;
    cParticleSystem system;
    system.DrawAll();  // before any pool: no GL call is made
    EXPECT_EQ(fatal.Last().exitCode, 10);
    fatal.Clear();
    system.CreateParticles(0);
    EXPECT_EQ(fatal.Last().exitCode, 10);
    EXPECT_FALSE(system.Ready());
}
