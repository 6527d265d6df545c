// Glass and geometry models: the crystal cluster, the wide crystal, the four crystal rings, the
// light ray, the tunnel pieces, the cube rings and the sky sphere.
#include "ModelRecipes.h"

namespace Datagen {

namespace {

// Evenly spread unit directions (golden-angle spiral) with a little jitter.
std::vector<Vec3> SpreadDirections(int count, Rng& rng, float jitter) {
    std::vector<Vec3> out;
    for (int i = 0; i < count; ++i) {
        float y = 1 - 2 * (i + 0.5f) / count;
        float r = std::sqrt(std::max(0.0f, 1 - y * y));
        float a = 2.39996323f * i;
        Vec3 d{r * std::cos(a), y, r * std::sin(a)};
        d = d + Vec3{rng.Range(-1, 1), rng.Range(-1, 1), rng.Range(-1, 1)} * jitter;
        out.push_back(Normalize(d));
    }
    return out;
}

// A frame whose y runs along `dir` and whose z points along `facing` (made perpendicular).
Frame FrameFacing(Vec3 origin, Vec3 dir, Vec3 facing) {
    Frame f;
    f.origin = origin;
    f.ay = Normalize(dir);
    f.az = Normalize(facing - f.ay * Dot(facing, f.ay));
    f.ax = Cross(f.ay, f.az);
    return f;
}

// A faceted ring of `sides`-gon cross-section about the frame's y axis (hard edges throughout).
void AddFacetedHoop(Mesh& mesh, const Frame& frame, float R, float r, int segments, int sides, int material) {
    auto point = [&](int i, int j) {
        float a = 2 * kPi * i / segments, t = 2 * kPi * (j + 0.5f) / sides;
        float rr = R + r * std::cos(t);
        return frame.Apply({rr * std::sin(a), r * std::sin(t), rr * std::cos(a)});
    };
    for (int i = 0; i < segments; ++i)
        for (int j = 0; j < sides; ++j) {
            Vec2 uv0{float(i) / segments, float(j) / sides}, uv1{float(i + 1) / segments, float(j + 1) / sides};
            // Outward: profile runs counter-clockwise in (r, y), rings advance with the angle.
            mesh.AddFlatQuad(point(i, j), point(i + 1, j), point(i + 1, j + 1), point(i, j + 1), uv0, {uv1.u, uv0.v}, uv1,
                             {uv0.u, uv1.v}, material);
        }
}

}  // namespace

bool BuildCrystalMany(Model& model) {
    int glass = model.AddMaterial("CrystalGlass", kCyanGlass);
    int core = model.AddMaterial("CrystalCore", kIceWhite);
    Mesh& mesh = model.AddObject("CrystalCluster");
    Rng rng(1201);
    // Spikes from the centre; the shortest tip reaches radius 25, past the white sphere of radius 20.
    for (Vec3 dir : SpreadDirections(26, rng, 0.18f)) {
        CrystalShape s;
        s.length = rng.Range(23, 33);
        s.radius = rng.Range(2.0f, 3.4f);
        s.tip = s.radius * rng.Range(1.6f, 2.4f);
        s.taper = 0.9f;
        s.jitter = 0.08f;
        AddCrystal(mesh, FrameAlong(dir * 2.0f, dir, rng.Range(0, 6.28f)), s, glass, &rng);
    }
    // Six long needles, three leaning up and three down from the spin axis (y), staggered round it.
    // The opening draws the cluster at a tenth of its cube sphere's size (the sphere's cubes sit at
    // radius 10 x 60 x progress, the cluster at 6 x progress), so only tips past radius ~110 ever
    // leave the sphere: these reach kNeedleReach and grow out of its top and bottom as it turns.
    // Elsewhere they are the cluster's long rays (the crystal scene, the metaball sources).
    constexpr float kNeedleReach = 165;
    for (int k = 0; k < 6; ++k) {
        float azimuth = 2 * kPi * (k + 0.25f * (k % 2)) / 6, lean = 0.35f + 0.12f * float(k % 3);
        float up = k % 2 ? -1.0f : 1.0f;
        Vec3 dir = Normalize({std::sin(lean) * std::cos(azimuth), up * std::cos(lean), std::sin(lean) * std::sin(azimuth)});
        CrystalShape s;
        s.length = kNeedleReach - 4 - 18.0f * float(k % 3) / 2;
        s.radius = 6;
        s.tip = 24;
        s.taper = 0.6f;
        s.jitter = 0.05f;
        AddCrystal(mesh, FrameAlong(dir * 4.0f, dir, rng.Range(0, 6.28f)), s, glass, &rng);
    }
    // A doubly terminated heart along y.
    CrystalShape heart;
    heart.length = 16;
    heart.radius = 5;
    heart.tip = 6;
    heart.baseTip = 6;
    heart.taper = 1;
    AddCrystal(mesh, FrameAlong({0, -5, 0}, {0, 1, 0}, 0.3f), heart, core, nullptr);
    return true;
}

bool BuildCrystalWide(Model& model) {
    int glass = model.AddMaterial("WideGlass", kCyanGlass);
    int stone = model.AddMaterial("WideBase", kGlacierBlue);
    Mesh& mesh = model.AddObject("CrystalWide");
    Rng rng(1301);
    // A fan of crystals growing from a low base, about 20 across.
    const int count = 11;
    for (int i = 0; i < count; ++i) {
        float a = -1.25f + 2.5f * i / (count - 1) + rng.Range(-0.08f, 0.08f);
        Vec3 dir = Normalize({std::sin(a), std::cos(a), rng.Range(-0.45f, 0.45f)});
        CrystalShape s;
        float centre = 1 - std::fabs(a) / 1.4f;
        s.length = 5 + 6 * centre + rng.Range(0, 1.5f);
        s.radius = rng.Range(1.1f, 1.9f);
        s.tip = s.radius * 1.7f;
        s.jitter = 0.1f;
        AddCrystal(mesh, FrameAlong(Vec3{0, -4, 0} + dir * 1.5f, dir, rng.Range(0, 6.28f)), s, glass, &rng);
    }
    Frame base;
    base.origin = {0, -4.5f, 0};
    base.ax = {1.5f, 0, 0};
    base.ay = {0, 0.55f, 0};
    base.az = {0, 0, 1.1f};
    AddSphere(mesh, base, 3.2f, 16, 8, stone, false);
    // Centre the bounding box on the origin: the scene spins it about its own centre.
    Vec3 lo, hi;
    mesh.Bounds(lo, hi);
    Vec3 mid = (lo + hi) * 0.5f;
    const float across = 20 / (hi.x - lo.x);
    for (Vec3& p : mesh.positions) p = (p - mid) * across;
    return true;
}

bool BuildCrystalRing(Model& model, int ring) {
    int glass = model.AddMaterial("RingGlass", ring % 2 ? kCyanGlass : kIceWhite);
    int band = model.AddMaterial("RingBand", kGlacierBlue);
    Mesh& mesh = model.AddObject("CrystalRing" + std::to_string(ring));
    Rng rng(1400 + uint64_t(ring));
    const Frame zAxis = FrameAlong({0, 0, 0}, {0, 0, 1}, 0);  // the rings lie in x-y, axis z
    auto radialAt = [](float a) { return Vec3{std::cos(a), std::sin(a), 0}; };
    auto tangentAt = [](float a) { return Vec3{-std::sin(a), std::cos(a), 0}; };
    // Four radii 55 to 60 apart: seen together in the crystal scene (at twice this size) each ring keeps
    // a dark gap to the next, so the four read as rings and not one band. The opening draws them at
    // 0.17 to 0.20 of this, where the smallest still clears the cube sphere.
    const float R = kRingRadius[ring - 1];
    switch (ring) {
    case 1: {  // sixteen even spikes outwards from a slim band: a calm pulse
        AddTorus(mesh, zAxis, R, 3, 96, 8, band, false, 8, 1);
        for (int i = 0; i < 16; ++i) {
            float a = 2 * kPi * i / 16;
            CrystalShape s{28, 5.5f, 10, 0.92f, 0, 0.05f, 6};
            AddCrystal(mesh, FrameFacing(radialAt(a) * (R - 6), radialAt(a), {0, 0, 1}), s, glass, &rng);
        }
        break;
    }
    case 2: {  // long and short, tipping up and down out of the plane in turn: a swing
        for (int i = 0; i < 30; ++i) {
            float a = 2 * kPi * i / 30;
            bool longOne = i % 2 == 0;
            Vec3 dir = Normalize(radialAt(a) * 0.45f + Vec3{0, 0, longOne ? 1.0f : -1.0f});
            CrystalShape s{longOne ? 40.0f : 22.0f, longOne ? 5.0f : 3.8f, longOne ? 11.0f : 7.0f, 0.9f, 4, 0.08f, 6};
            AddCrystal(mesh, FrameFacing(radialAt(a) * (R - 6), dir, tangentAt(a)), s, glass, &rng);
        }
        break;
    }
    case 3: {  // ten big crystals lying along the ring, small spikes between: a chain
        for (int i = 0; i < 10; ++i) {
            float a = 2 * kPi * i / 10;
            CrystalShape big{60, 9, 16, 1, 16, 0.05f, 6};
            Vec3 centre = radialAt(a) * R;
            AddCrystal(mesh, FrameFacing(centre - tangentAt(a) * 30, tangentAt(a), {0, 0, 1}), big, glass, &rng);
            float b = a + kPi / 10;
            CrystalShape small{20, 3.5f, 7, 0.9f, 0, 0.1f, 6};
            AddCrystal(mesh, FrameFacing(radialAt(b) * (R - 4), radialAt(b), {0, 0, 1}), small, glass, &rng);
        }
        break;
    }
    default: {  // groups of three standing across the plane, then a gap: a crown
        AddFacetedHoop(mesh, zAxis, R, 5, 72, 6, band);
        for (int g = 0; g < 12; ++g) {
            for (int k = 0; k < 3; ++k) {
                float a = 2 * kPi * (g + 0.16f * (k - 1)) / 12;
                bool up = (g + k) % 2 == 0;
                CrystalShape s{k == 1 ? 52.0f : 34.0f, 4.5f, 9, 0.92f, 0, 0.06f, 6};
                Vec3 dir{0, 0, up ? 1.0f : -1.0f};
                AddCrystal(mesh, FrameFacing(radialAt(a) * R, dir, radialAt(a)), s, glass, &rng);
            }
        }
        break;
    }
    }
    return true;
}

bool BuildRay(Model& model) {
    int light = model.AddMaterial("RayLight", kIceWhite);
    Mesh& mesh = model.AddObject("Ray");
    // A flat wedge along +x in the x-y plane, facing +z: u across (0..1), v along (0 at the origin).
    const float length = 1100;
    const int steps = 12;
    uint32_t first = uint32_t(mesh.positions.size());
    for (int i = 0; i <= steps; ++i) {
        float t = float(i) / steps;
        float half = 4 + 70 * t;
        mesh.AddVertex({length * t, -half, 0}, {0, t});
        mesh.AddVertex({length * t, half, 0}, {1, t});
    }
    for (int i = 0; i < steps; ++i) {
        uint32_t a = first + uint32_t(2 * i), b = a + 1, c = a + 2, d = a + 3;
        mesh.AddTriangle(a, c, d, light);
        mesh.AddTriangle(a, d, b, light);
    }
    return true;
}

bool BuildTunnel(Model& model) {
    int glass = model.AddMaterial("TunnelGlass", kCyanGlass);
    int frost = model.AddMaterial("TunnelFrost", kIceWhite);
    Mesh& mesh = model.AddObject("GlassTunnel");
    Rng rng(1501);
    // One 1000-long piece of the tunnel about the z axis (z from -500 to 500): a heavy glass hoop in
    // the middle, two slim ones, and twelve ribs that meet the next piece's ribs end to end.
    const float R = 560;
    AddFacetedHoop(mesh, FrameAlong({0, 0, 0}, {0, 0, 1}, 0), R, 38, 48, 8, glass);
    AddFacetedHoop(mesh, FrameAlong({0, 0, -250}, {0, 0, 1}, 0), R + 6, 14, 48, 6, frost);
    AddFacetedHoop(mesh, FrameAlong({0, 0, 250}, {0, 0, 1}, 0), R + 6, 14, 48, 6, frost);
    for (int i = 0; i < 12; ++i) {
        float a = 2 * kPi * (i + 0.5f) / 12;
        Vec3 at{R * std::cos(a), R * std::sin(a), -500};
        CrystalShape bar{1000, 13, 0.01f, 1, 0, 0, 6};
        AddCrystal(mesh, FrameFacing(at, {0, 0, 1}, {std::cos(a), std::sin(a), 0}), bar, glass, &rng);
    }
    return true;
}

bool BuildSpiketube(Model& model) {
    int wall = model.AddMaterial("TubeWall", kGlacierBlue);
    int spike = model.AddMaterial("TubeSpike", kIceWhite);
    Mesh& mesh = model.AddObject("SpikeTube");
    Rng rng(1601);
    // The wall: radius 700 about z, z from -500 to 500, seen from inside.
    const float R = 700;
    Frame zAxis = FrameAlong({0, 0, 0}, {0, 0, 1}, 0);
    std::vector<Vec2> profile;
    for (int j = 0; j <= 8; ++j) profile.push_back({R, -500 + 1000.0f * j / 8});
    size_t firstTriangle = mesh.triangles.size();
    AddLathe(mesh, zAxis, profile, 64, wall);
    for (size_t i = firstTriangle; i < mesh.triangles.size(); ++i) std::swap(mesh.triangles[i].b, mesh.triangles[i].c);
    for (Vec2& uv : mesh.uvs) uv = {uv.u * 16, uv.v * 2};
    // Inward spikes in four staggered rows; the longest tip stops at radius ~450, clear of the
    // ring pair (radius ~400) and the camera's orbit (radius 50).
    for (int row = 0; row < 4; ++row) {
        float z = -375 + 250.0f * row;
        for (int i = 0; i < 16; ++i) {
            float a = 2 * kPi * (i + (row % 2 ? 0.5f : 0)) / 16;
            Vec3 radial{std::cos(a), std::sin(a), 0};
            CrystalShape s;
            s.length = (i + row) % 2 ? rng.Range(140, 170) : rng.Range(220, 250);
            s.radius = s.length * 0.16f;
            s.tip = s.length * 0.7f;
            s.taper = 0.8f;
            s.sides = 4;
            s.jitter = 0.04f;
            AddCrystal(mesh, FrameFacing(Vec3{radial.x * (R + 20), radial.y * (R + 20), z}, radial * -1, {0, 0, 1}), s,
                       spike, &rng);
        }
    }
    return true;
}

bool BuildCubering(Model& model, bool wide) {
    int cube = model.AddMaterial("RingCube", wide ? kGlacierBlue : kIceWhite);
    Mesh& mesh = model.AddObject(wide ? "CuberingWide" : "CuberingTight");
    const int count = wide ? 20 : 40;
    const float R = wide ? 240.0f : 120.0f;
    for (int i = 0; i < count; ++i) {
        float a = 2 * kPi * i / count;
        Vec3 radial{std::cos(a), std::sin(a), 0}, tangent{-std::sin(a), std::cos(a), 0}, axis{0, 0, 1};
        // Tight: touching cubes twisting three turns round the ring. Wide: spaced diamonds.
        float twist = wide ? kPi / 4 : 3 * a;
        float half = wide ? (i % 2 ? 9.0f : 14.0f) : 8.5f;
        Frame f;
        f.origin = radial * R;
        f.ax = tangent;
        f.ay = radial * std::cos(twist) + axis * std::sin(twist);
        f.az = Cross(f.ax, f.ay);
        AddBox(mesh, f, {half, half, half}, cube);
    }
    return true;
}

bool BuildSkySphere(Model& model) {
    int sky = model.AddMaterial("Sky", kDeepNavy);
    Mesh& mesh = model.AddObject("SkySphere");
    AddSphere(mesh, Frame{}, 60, 48, 24, sky, true);
    return true;
}

}  // namespace Datagen
