// Tests for the closing canyon's rock and sky light: seen from anywhere on the camera's slide,
// every line of sight from the floor upwards ends on rock or ground, the sky crack stands in
// front of the rock, and the rays the scene blurs out of it keep their shafts below white.
#include "ModelRecipes.h"
#include "SceneCameras.h"

#include "support/LookAtView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

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

const Vec3 kEyeStart = kCanyonEyeStart, kEyeEnd = kCanyonEyeEnd, kTarget = kCanyonTarget;

// Where p falls in the scene camera's view from `eye` (looking at the credits; fovy 45, 4:3), in
// normalised screen coordinates.
bool Project(Vec3 eye, Vec3 p, float& x, float& y) {
    const double from[3] = {eye.x, eye.y, eye.z}, target[3] = {kTarget.x, kTarget.y, kTarget.z}, up[3] = {0, 1, 0};
    const double point[3] = {p.x, p.y, p.z};
    double nx = 0, ny = 0;
    if (!VantorGLTest::LookAtView(from, target, up, 45.0, 4.0 / 3.0).Ndc(point, nx, ny, 0.0)) return false;
    x = float(nx), y = float(ny);
    return true;
}

// The scene's sky pass and ray pass on the CPU at a quarter of 1024 x 768: the sky drawn white
// on black from `eye`, then the scene's zoom blur towards its corner point (its taps, its scale
// from the start down), times the layers the scene adds. Returns the mask and the rays.
void SkyRays(const Model& sky, Vec3 eye, std::vector<float>& mask, std::vector<float>& rays, int& w, int& h) {
    w = 256, h = 192;
    mask.assign(size_t(w) * h, 0.0f);
    for (const Mesh& mesh : sky.objects)
        for (const Triangle& t : mesh.triangles) {
            float sx[3], sy[3];
            bool ok = true;
            const uint32_t idx[3] = {t.a, t.b, t.c};
            for (int k = 0; k < 3; ++k) {
                float x, y;
                ok = ok && Project(eye, mesh.positions[idx[k]], x, y);
                sx[k] = (x + 1) / 2 * w, sy[k] = (y + 1) / 2 * h;
            }
            if (!ok) continue;
            for (int py = 0; py < h; ++py)
                for (int px = 0; px < w; ++px) {
                    float cx = px + 0.5f, cy = py + 0.5f, d[3];
                    for (int k = 0; k < 3; ++k) {
                        int n = (k + 1) % 3;
                        d[k] = (sx[n] - sx[k]) * (cy - sy[k]) - (sy[n] - sy[k]) * (cx - sx[k]);
                    }
                    if ((d[0] >= 0 && d[1] >= 0 && d[2] >= 0) || (d[0] <= 0 && d[1] <= 0 && d[2] <= 0))
                        mask[size_t(py) * w + size_t(px)] = 1;
                }
        }
    rays.assign(size_t(w) * h, 0.0f);
    using Scene = VantorGL::cCucumberCampingScene;
    const float centreU = Scene::kRayCentreX, centreV = Scene::kRayCentreY;
    const int taps = Scene::kRayIterations;
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            float u = (px + 0.5f) / w - centreU, v = (py + 0.5f) / h - centreV, sum = 0;
            for (int i = 0; i < taps; ++i) {
                float s = Scene::kRayStart + Scene::kRayScale * i / (taps - 1);
                int qx = int((u * s + centreU) * w), qy = int((v * s + centreV) * h);
                if (qx >= 0 && qx < w && qy >= 0 && qy < h) sum += mask[size_t(qy) * w + size_t(qx)];
            }
            rays[size_t(py) * w + size_t(px)] = Scene::kRayLayers * sum / taps;
        }
}

}  // namespace

TEST(CanyonShell, TheSkyCrackThrowsShaftsBelowWhiteThroughTheSlide) {
    Model sky;
    ASSERT_TRUE(BuildTerSky(sky));
    for (float t : {0.25f, 0.5f, 0.75f}) {
        SCOPED_TRACE(t);
        std::vector<float> mask, rays;
        int w = 0, h = 0;
        SkyRays(sky, Lerp(kEyeStart, kEyeEnd, t), mask, rays, w, h);
        // Outside the crack itself: the rays, sampled along an arc across them.
        int lit = 0, white = 0;
        float brightest = 0;
        for (size_t i = 0; i < rays.size(); ++i) {
            if (mask[i] > 0 || rays[i] < 0.05f) continue;
            ++lit;
            white += rays[i] >= 1.0f;
            brightest = std::max(brightest, rays[i]);
        }
        EXPECT_GT(lit, 200) << "the sky light throws rays";
        EXPECT_LT(white, lit / 20) << "the three layers add up to white";
        // Shafts: seen round the corner point, the rays' brightness rises and falls again.
        int shafts = 0;
        bool wasBright = false;
        float low = 0, high = 0;
        for (int a = 0; a <= 400; ++a) {
            float angle = (10 + 70 * a / 400.0f) * 3.14159265f / 180;  // down and right of the corner
            float best = 0;  // the brightest ray pixel along this direction
            for (float rr = 0.05f; rr < 1.2f; rr += 0.01f) {
                int qx = int((0.1f + rr * std::cos(angle) * 0.75f) * w), qy = int((1.0f - rr * std::sin(angle)) * h);
                if (qx < 0 || qx >= w || qy < 0 || qy >= h) break;
                size_t i = size_t(qy) * w + size_t(qx);
                if (mask[i] == 0) best = std::max(best, rays[i]);
            }
            // A shaft rises a quarter of the brightest above the last low and falls as far again.
            const float step = 0.25f * brightest;
            if (!wasBright && best > low + step) ++shafts, wasBright = true, high = best;
            if (wasBright && best < high - step) wasBright = false, low = best;
            low = std::min(low, best), high = std::max(high, best);
        }
        EXPECT_GE(shafts, 3) << "fewer than three separate shafts";
        std::printf("t %.2f: %d ray pixels, %d white, brightest %.2f, %d shafts\n", t, lit, white, brightest, shafts);
    }
}

TEST(CanyonShell, ClosedAllAroundTheSlideWithTheSkyCrackInFrontOfTheRock) {
    Model wall, ground, sky;
    ASSERT_TRUE(BuildTerWall(wall));
    ASSERT_TRUE(BuildTerGround(ground));
    ASSERT_TRUE(BuildTerSky(sky));
    const float kPiF = 3.14159265f;
    for (int m = 0; m <= 4; ++m) {
        Vec3 eye = Lerp(kEyeStart, kEyeEnd, m / 4.0f);
        // The crack lies inside the rock it is seen against: from the middle of the slide on no
        // ridge hides it (a bump may graze a vertex of its rim); in the first seconds the left
        // wall's ridge may hide up to half of it, and its rays come over the ridge.
        int seen = 0, vertices = 0;
        for (const Mesh& mesh : sky.objects)
            for (Vec3 p : mesh.positions) {
                float distance = Length(p - eye), rock = Hit(wall, eye, Normalize(p - eye));
                seen += rock < 0 || rock > distance;
                ++vertices;
            }
        ASSERT_GT(vertices, 0);
        EXPECT_GE(seen, vertices * (m < 2 ? 50 : 95) / 100) << "eye " << m;
        // All round the eye, level and upwards: rock or ground.
        for (int az = 0; az < 36; ++az)
            for (int el = 0; el <= 5; ++el) {
                float a = az * 10 * kPiF / 180, e = el * 12 * kPiF / 180;
                Vec3 dir{std::cos(e) * std::cos(a), std::sin(e), std::cos(e) * std::sin(a)};
                if (Hit(wall, eye, dir) >= 0 || Hit(ground, eye, dir) >= 0) continue;
                Vec3 far = eye + dir * 800;
                ADD_FAILURE() << "eye " << m << " sees out at azimuth " << az * 10 << ", elevation " << el * 12 << " (800 out: "
                              << far.x << ", " << far.y << ", " << far.z << ")";
            }
    }
}
