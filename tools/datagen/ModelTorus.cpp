// The torus interlude's models: the panelled torus, the crystals on its wall and the cube of
// balls at its centre. All three are drawn at scale 5.5 about the origin and shaped for the
// scene's one fixed camera.
#include "ModelRecipes.h"
#include "SceneCameras.h"

#include <algorithm>

namespace Datagen {

namespace {

// The camera stands at (700, 0, -100) / 5.5 = (127.3, 0, -18.2) in model units and looks along
// (-0.29, 0, 0.96): the origin lies 65 degrees off its axis, so only what reaches out to about
// 90 units from the y axis is ever seen. The torus turns about y under the camera; the ball cube
// stands still.
constexpr float kCentreY = -34;       // torus and cube share one centre, below the eye: the ring is seen from above
constexpr float kTorusRadius = 150;   // the tube's centre line runs outside the eye's circle (radius 128.6)
constexpr float kTubeRadius = 22;     // so the ring sweeps across the view; its surface passes 18 units from the eye
constexpr float kCubeHalf = 76;       // centre of the outer balls; one vertical edge of the cube enters the view
constexpr int kBallsPerEdge = 8;
constexpr float kBallRadius = 7;      // the outer corners reach 115, inside the ring's 128
constexpr float kCubeTurn = 10 * kPi / 180;  // about y: more of the lattice faces the camera, no ball comes near it
// The eye's circle, (700, -100) / 5.5 from the y axis at height 0: as the torus turns, every
// point on it passes the eye, so crystals keep this far from the circle.
constexpr float kEyeRadius = 128.6f, kEyeClearance = 22;
// The eye and its view in model units, for the balls: it only rolls about the view's axis, so
// what it ever sees is the cone round that axis through the frame's corners (45 degrees
// vertically at 4:3: tan of the half diagonal 0.414 * 5 / 3), plus a margin.
const Vec3 kEye = kTorusEye;
const Vec3 kViewAxis = kTorusViewAxis;
const float kViewConeCos = std::cos(std::atan(0.41421356f * 5 / 3) + 2 * kPi / 180);

// Slices round a ball whose outline stands `radiusPx` pixels on the frame: each chord of the
// outline strays at most a pixel from the circle. Stacks are half as many (square facets).
int BallSlices(float radiusPx) {
    const float step = std::acos(std::max(1 - 1 / radiusPx, -1.0f));
    return std::clamp(int(std::ceil(kPi / step)), 8, 28);
}

// How near a point of the turning torus comes to the eye.
float FromEyeCircle(Vec3 p) {
    return std::hypot(std::hypot(p.x, p.z) - kEyeRadius, p.y);
}

}  // namespace

bool BuildTorus(Model& model) {
    int panel = model.AddMaterial("PillarPanel", kGlacierBlue);
    Mesh& mesh = model.AddObject("Torus");
    Frame f;
    f.origin = {0, kCentreY, 0};
    // Seen from outside; the pillar-room panel set repeats 16 times round the ring and twice
    // round the tube, so each panel is near square (about 11 units a side).
    AddTorus(mesh, f, kTorusRadius, kTubeRadius, 192, 32, panel, false, 16, 2);
    return true;
}

bool BuildTorusCrystals(Model& model) {
    int glass = model.AddMaterial("TorusCrystal", kCyanGlass);
    Mesh& mesh = model.AddObject("TorusCrystals");
    Rng rng(1701);
    constexpr int kClusters = 64;
    for (int c = 0; c < kClusters; ++c) {
        float phi = 2 * kPi * (c + rng.Range(-0.3f, 0.3f)) / kClusters;
        // Over the top of the tube, where the camera sees them against the black: theta 0 faces
        // outward, pi/2 up, pi the centre.
        float theta = rng.Range(0.15f, 0.65f) * kPi;
        Vec3 outward{std::sin(phi), 0, std::cos(phi)};
        Vec3 normal = outward * std::cos(theta) + Vec3{0, std::sin(theta), 0};
        Vec3 wall = outward * kTorusRadius + Vec3{0, kCentreY, 0} + normal * kTubeRadius;
        int crystals = 2 + int(rng.Next() % 3);
        for (int k = 0; k < crystals; ++k) {
            Vec3 dir = Normalize(normal + Vec3{rng.Range(-1, 1), rng.Range(-1, 1), rng.Range(-1, 1)} * 0.45f);
            CrystalShape s;
            s.length = rng.Range(16, 36);
            s.radius = rng.Range(2.2f, 4.2f);
            s.tip = s.radius * 1.8f;
            s.jitter = 0.1f;
            Vec3 base = wall - normal * 1.5f;
            // A crystal reaching towards the eye's circle would sweep through the camera.
            while (s.length > 6 && FromEyeCircle(base + dir * s.length) < kEyeClearance + s.radius) s.length -= 2;
            AddCrystal(mesh, FrameAlong(base, dir, rng.Range(0, 6.28f)), s, glass, &rng);
        }
    }
    return true;
}

bool BuildCuball(Model& model) {
    int ball = model.AddMaterial("Ball", kIceWhite);
    Mesh& mesh = model.AddObject("Cuball");
    // Only the lattice's shell: the camera sees one edge of it from close by, and inner balls
    // would show only in the gaps (at twice the triangles, drawn seven times a frame). Balls out
    // of the view cone are never seen; the others get as many facets as their size on screen needs.
    const float step = 2 * kCubeHalf / (kBallsPerEdge - 1);
    const float pixelsPerUnitAtOne = kFrameRows / (2 * 0.41421356f);  // on-screen size of one unit at distance one
    for (int x = 0; x < kBallsPerEdge; ++x)
        for (int y = 0; y < kBallsPerEdge; ++y)
            for (int z = 0; z < kBallsPerEdge; ++z) {
                auto edge = [](int i) { return i == 0 || i == kBallsPerEdge - 1; };
                if (!edge(x) && !edge(y) && !edge(z)) continue;
                const float u = step * x - kCubeHalf, w = step * z - kCubeHalf;
                Frame f;
                f.origin = {u * std::cos(kCubeTurn) + w * std::sin(kCubeTurn), kCentreY + step * y - kCubeHalf,
                            w * std::cos(kCubeTurn) - u * std::sin(kCubeTurn)};
                const Vec3 toBall = f.origin - kEye;
                const float distance = Length(toBall);
                const float cosOff = Dot(toBall, kViewAxis) / distance;
                const float reach = std::asin(std::min(kBallRadius / distance, 1.0f));  // angular radius
                if (std::acos(std::clamp(cosOff, -1.0f, 1.0f)) - reach > std::acos(kViewConeCos)) continue;
                const int slices = BallSlices(kBallRadius * pixelsPerUnitAtOne / distance);
                AddSphere(mesh, f, kBallRadius, slices, (slices + 1) / 2, ball, false);
            }
    return true;
}

}  // namespace Datagen
