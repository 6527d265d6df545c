// The torus interlude's models: the panelled torus, the crystals on its wall and the cube of
// balls at its centre. All three are drawn at scale 5.5 about the origin.
#include "ModelRecipes.h"

namespace Datagen {

bool BuildTorus(Model& model) {
    int panel = model.AddMaterial("PillarPanel", kGlacierBlue);
    Mesh& mesh = model.AddObject("Torus");
    // Major radius 128 in the x-z plane, tube radius 28: drawn at scale 5.5 the camera at
    // (700, 0, -100) rides inside the tube. Seen from inside; panels repeat 40 times round the
    // ring and 4 times round the tube.
    AddTorus(mesh, Frame{}, 128, 28, 160, 40, panel, true, 40, 4);
    return true;
}

bool BuildTorusCrystals(Model& model) {
    int glass = model.AddMaterial("TorusCrystal", kCyanGlass);
    Mesh& mesh = model.AddObject("TorusCrystals");
    Rng rng(1701);
    const float R = 128, r = 28;
    for (int c = 0; c < 40; ++c) {
        float phi = 2 * kPi * (c + rng.Range(-0.3f, 0.3f)) / 40;
        float theta = rng.Range(-kPi, kPi);
        Vec3 centre{R * std::sin(phi), 0, R * std::cos(phi)};
        Vec3 wall{(R + r * std::cos(theta)) * std::sin(phi), r * std::sin(theta), (R + r * std::cos(theta)) * std::cos(phi)};
        Vec3 inward = Normalize(centre - wall);
        int crystals = 3 + int(rng.Next() % 3);
        for (int k = 0; k < crystals; ++k) {
            Vec3 dir = Normalize(inward + Vec3{rng.Range(-1, 1), rng.Range(-1, 1), rng.Range(-1, 1)} * 0.4f);
            CrystalShape s;
            s.length = rng.Range(6, 15);  // tips stay well off the tube's centre line
            s.radius = rng.Range(0.9f, 2.0f);
            s.tip = s.radius * 1.8f;
            s.jitter = 0.1f;
            AddCrystal(mesh, FrameAlong(wall - inward * 1.5f, dir, rng.Range(0, 6.28f)), s, glass, &rng);
        }
    }
    return true;
}

bool BuildCuball(Model& model) {
    int ball = model.AddMaterial("Ball", kIceWhite);
    int accent = model.AddMaterial("BallCore", kCyanGlass);
    Mesh& mesh = model.AddObject("Cuball");
    // A 5 x 5 x 5 lattice of balls, 24 units across; the inner 3 x 3 x 3 is tinted.
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 5; ++y)
            for (int z = 0; z < 5; ++z) {
                bool inner = x > 0 && x < 4 && y > 0 && y < 4 && z > 0 && z < 4;
                Frame f;
                f.origin = {6.0f * (x - 2), 6.0f * (y - 2), 6.0f * (z - 2)};
                AddSphere(mesh, f, inner ? 2.2f : 2.7f, 14, 8, inner ? accent : ball, false);
            }
    return true;
}

}  // namespace Datagen
