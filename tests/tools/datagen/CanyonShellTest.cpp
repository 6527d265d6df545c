// Tests for the closing canyon's rock: seen from anywhere on the camera's slide, every line of
// sight from the floor upwards ends on rock or ground, except the few through the sky opening.
#include "ModelRecipes.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Datagen;

namespace {

// Nearest hit distance of the ray (origin, unit dir) with any triangle of the model; -1 if none.
float Hit(const Model& model, Vec3 origin, Vec3 dir) {
    float best = -1;
    for (const Mesh& mesh : model.objects)
        for (const Triangle& t : mesh.triangles) {
            float h = RayHitsTriangle(origin, dir, mesh.positions[t.a], mesh.positions[t.b], mesh.positions[t.c]);
            if (h > 0 && (best < 0 || h < best)) best = h;
        }
    return best;
}

Vec3 Centre(const Model& model) {
    Vec3 sum{0, 0, 0};
    size_t n = 0;
    for (const Mesh& mesh : model.objects)
        for (Vec3 p : mesh.positions) {
            sum = sum + p;
            ++n;
        }
    return sum * (1.0f / float(n));
}

}  // namespace

TEST(CanyonShell, ClosedAllAroundTheSlideButForTheSkyOpening) {
    Model wall, ground, sky;
    ASSERT_TRUE(BuildTerWall(wall));
    ASSERT_TRUE(BuildTerGround(ground));
    ASSERT_TRUE(BuildTerSky(sky));
    const Vec3 eyeStart{-307, 130, 430}, eyeEnd{23, 130, 100};
    const Vec3 skyCentre = Centre(sky);
    const float kPiF = 3.14159265f;
    int escapes = 0, throughOpening = 0;
    for (int m = 0; m <= 4; ++m) {
        Vec3 eye = Lerp(eyeStart, eyeEnd, m / 4.0f);
        Vec3 toSky = Normalize(skyCentre - eye);
        // The sky disc is seen through the hole from every eye.
        float skyDistance = Length(skyCentre - eye), wallHit = Hit(wall, eye, toSky);
        EXPECT_TRUE(wallHit < 0 || wallHit > skyDistance) << "eye " << m << " hits rock at " << wallHit << " of " << skyDistance;
        // All round the eye, level and upwards: rock or ground, or the opening.
        for (int az = 0; az < 36; ++az)
            for (int el = 0; el <= 5; ++el) {
                float a = az * 10 * kPiF / 180, e = el * 12 * kPiF / 180;
                Vec3 dir{std::cos(e) * std::cos(a), std::sin(e), std::cos(e) * std::sin(a)};
                if (Hit(wall, eye, dir) >= 0 || Hit(ground, eye, dir) >= 0) continue;
                ++escapes;
                if (Dot(dir, toSky) > std::cos(8 * kPiF / 180)) {
                    ++throughOpening;
                    continue;
                }
                Vec3 far = eye + dir * 800;
                ADD_FAILURE() << "eye " << m << " sees out at azimuth " << az * 10 << ", elevation " << el * 12 << " (800 out: "
                              << far.x << ", " << far.y << ", " << far.z << "; sky " << skyCentre.x << ", " << skyCentre.y << ", "
                              << skyCentre.z << ")";
            }
    }
    EXPECT_EQ(escapes, throughOpening);
}
