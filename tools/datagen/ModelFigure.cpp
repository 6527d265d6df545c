// Models with a hand-drawn or typed outline and the figure: the MV logo and its outline, the
// plant figure with its leaf hair, and the three greeting lines set where the moving camera looks.
#include "GreetingLayout.h"
#include "MeshText.h"
#include "ModelRecipes.h"

#include <algorithm>

namespace Datagen {

namespace {

// The "MV" mark: geometric strokes 12 units wide on a 104 x 50 grid, counter-clockwise,
// centred and scaled to 100 units wide. The front faces +z and reads along +x; the scenes turn
// it 180 degrees about y towards their camera, which looks along +z. The printed mark
// (MVLogoShape) has chamfered notches for flat pictures; the solid one keeps even square strokes,
// which its bevel and the outline band offset from it follow evenly.
std::vector<Contour> LogoContours() {
    std::vector<Contour> raw = {
        {{0, 0}, {12, 0}, {12, 30}, {26, 14}, {40, 30}, {40, 0}, {52, 0}, {52, 50}, {41, 50}, {26, 32}, {11, 50}, {0, 50}},
        {{74, 0}, {86, 0}, {104, 50}, {91, 50}, {80, 16}, {69, 50}, {56, 50}},
    };
    const float scale = 100.0f / 104.0f;
    for (Contour& c : raw)
        for (Vec2& p : c) p = {(p.u - 52) * scale, (p.v - 25) * scale};
    return raw;
}

// The contour moved by `distance` to its right (outwards for a counter-clockwise contour).
Contour OffsetContour(const Contour& c, float distance) {
    const size_t n = c.size();
    Contour out(n);
    for (size_t i = 0; i < n; ++i) {
        Vec2 prev = c[(i + n - 1) % n], here = c[i], next = c[(i + 1) % n];
        auto rightNormal = [](Vec2 a, Vec2 b) {
            float dx = b.u - a.u, dy = b.v - a.v, l = std::sqrt(dx * dx + dy * dy);
            return Vec2{dy / l, -dx / l};
        };
        Vec2 n1 = rightNormal(prev, here), n2 = rightNormal(here, next);
        float scale = 1.0f / std::max(1 + n1.u * n2.u + n1.v * n2.v, 0.3f);
        out[i] = {here.u + (n1.u + n2.u) * scale * distance, here.v + (n1.v + n2.v) * scale * distance};
    }
    return out;
}

// Smooth path through `points` (Catmull-Rom), `perSpan` samples per span.
std::vector<Vec3> SmoothPath(const std::vector<Vec3>& points, int perSpan) {
    std::vector<Vec3> out;
    const size_t n = points.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        Vec3 p0 = points[i > 0 ? i - 1 : 0], p1 = points[i], p2 = points[i + 1], p3 = points[std::min(i + 2, n - 1)];
        for (int s = 0; s < perSpan; ++s) {
            float t = float(s) / perSpan, t2 = t * t, t3 = t2 * t;
            out.push_back((p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 + (p1 * 3 - p0 - p2 * 3 + p3) * t3) * 0.5f);
        }
    }
    out.push_back(points.back());
    return out;
}

// Radii along a sampled path, interpolated from `keys` (evenly spread over the path).
std::vector<float> Taper(size_t count, const std::vector<float>& keys) {
    std::vector<float> out(count);
    for (size_t i = 0; i < count; ++i) {
        float t = count > 1 ? float(i) / float(count - 1) * float(keys.size() - 1) : 0;
        size_t k = std::min(size_t(t), keys.size() - 2);
        float f = t - float(k);
        out[i] = keys[k] + (keys[k + 1] - keys[k]) * f;
    }
    return out;
}

void AddStem(Mesh& mesh, const std::vector<Vec3>& keys, const std::vector<float>& radii, int sides, int material) {
    std::vector<Vec3> path = SmoothPath(keys, 6);
    AddSweep(mesh, path, Taper(path.size(), radii), sides, material, 1);
}

// A tendril grown like a turtle: it leaves `start` along `dir` and bends about `axis` ever more
// strongly, so it arches and ends in a curl.
void AddTendril(Mesh& mesh, Vec3 start, Vec3 dir, Vec3 axis, float length, float bend, float radius, int material) {
    const int steps = 28;
    std::vector<Vec3> path{start};
    std::vector<float> radii{radius};
    Vec3 p = start, d = Normalize(dir), k = Normalize(axis);
    for (int i = 1; i <= steps; ++i) {
        float t = float(i) / steps;
        float angle = bend * (0.3f + 2.2f * t * t) / steps;
        d = Normalize(d * std::cos(angle) + Cross(k, d) * std::sin(angle) + k * (Dot(k, d) * (1 - std::cos(angle))));
        p = p + d * (length / steps);
        path.push_back(p);
        radii.push_back(i == steps ? 0.0f : radius * (1 - 0.85f * t));
    }
    AddSweep(mesh, path, radii, 7, material, 1);
}

// The figure is laid out standing on y = -4 (bud tip at 4, hair above) and then moved down by
// this much (the greetings' layout keeps clear of the figure as built): the scene's cameras
// look down on the origin from above, and a figure centred there loses its hair at the top
// edge of the frame.
constexpr float kFigureDrop = 0.8f;

void DropFigure(Mesh& mesh) {
    for (Vec3& p : mesh.positions) p.y -= kFigureDrop;
}

}  // namespace

bool BuildMVLogo(Model& model) {
    int face = model.AddMaterial("LogoFace", kIceWhite);
    int bevel = model.AddMaterial("LogoBevel", kCyanGlass);
    int side = model.AddMaterial("LogoSide", kGlacierBlue);
    Mesh& mesh = model.AddObject("MVLogo");
    ExtrudeContours(mesh, LogoContours(), 14, 2.5f, Frame{}, {face, side, bevel});
    return true;
}

bool BuildMVOutline(Model& model) {
    int line = model.AddMaterial("OutlineInk", kDeepNavy);
    Mesh& mesh = model.AddObject("MVOutline");
    // A band 3 units wide centred on the logo's edge, a little deeper than the logo so it frames
    // it from every side. uv is planar over the band: v runs from 0 at the top to 1 at the bottom,
    // the direction the outline is wiped in.
    std::vector<Contour> band;
    for (const Contour& c : LogoContours()) {
        band.push_back(OffsetContour(c, 1.5f));
        Contour inner = OffsetContour(c, -1.5f);
        std::reverse(inner.begin(), inner.end());
        band.push_back(inner);
    }
    ExtrudeContours(mesh, band, 17, 0, Frame{}, {line, line, line});
    return true;
}

bool BuildHumanplantMesh(Model& model) {
    int stem = model.AddMaterial("PlantStem", kGlacierBlue);
    int bud = model.AddMaterial("PlantBud", kCyanGlass);
    int leaf = model.AddMaterial("PlantLeaf", kAcidGreen);
    Mesh& mesh = model.AddObject("Humanplant");
    // Built standing on y = -4 with the bud's tip at y = 4, facing +z; then dropped (kFigureDrop).
    for (float s : {-1.0f, 1.0f}) {
        // Leg: hip, knee, ankle; then three roots spreading on the ground.
        AddStem(mesh, {{s * 0.28f, -0.55f, 0}, {s * 0.4f, -2.2f, 0.14f}, {s * 0.5f, -3.75f, 0.02f}, {s * 0.52f, -4.0f, 0.08f}},
                {0.2f, 0.14f, 0.1f, 0.08f}, 10, stem);
        for (int r = 0; r < 3; ++r) {
            float a = (r - 1) * 0.9f + (s > 0 ? 0.2f : -0.2f);
            Vec3 out{s * std::cos(a) * 0.6f + 0.0f, 0, std::sin(a) * 0.6f + 0.25f};
            Vec3 base{s * 0.5f, -3.85f, 0.05f};
            AddStem(mesh, {base, base + out * 0.5f + Vec3{0, -0.13f, 0}, base + out * 1.1f + Vec3{0, -0.16f, 0}}, {0.07f, 0.045f, 0.0f},
                    6, stem);
        }
        // Arm: shoulder, elbow, wrist; three curling fingers.
        Vec3 wrist{s * 1.2f, 0.3f, 0.35f};
        AddStem(mesh, {{s * 0.5f, 2.0f, 0}, {s * 0.95f, 1.15f, 0.1f}, wrist}, {0.11f, 0.08f, 0.055f}, 8, stem);
        for (int f = 0; f < 3; ++f)
            AddTendril(mesh, wrist, {s * 0.3f * (f - 1) + s * 0.2f, -1, 0.25f * (f - 1) + 0.2f}, {0, 0, s}, 0.55f, 2.4f, 0.045f, stem);
    }
    // Torso: three stems winding round the spine from the hips to the shoulders.
    for (int j = 0; j < 3; ++j) {
        std::vector<Vec3> path;
        std::vector<float> radii;
        for (int i = 0; i <= 24; ++i) {
            float t = float(i) / 24;
            float a = 2 * kPi * j / 3 + 1.3f * kPi * t;
            float spread = 0.2f + 0.14f * std::sin(kPi * t) + 0.06f * t;
            path.push_back({spread * std::sin(a), -0.7f + 2.85f * t, spread * std::cos(a) * 0.8f});
            radii.push_back(0.12f - 0.03f * t);
        }
        AddSweep(mesh, path, radii, 8, stem, 1);
    }
    // Pelvis pod and the shoulder yoke.
    AddLathe(mesh, FrameAlong({0, 0, 0}, {0, 1, 0}, 0), {{0, -1.0f}, {0.22f, -0.92f}, {0.4f, -0.7f}, {0.36f, -0.45f}, {0.18f, -0.25f}, {0, -0.18f}},
             16, bud);
    AddStem(mesh, {{-0.62f, 1.95f, 0}, {-0.3f, 2.12f, 0}, {0.3f, 2.12f, 0}, {0.62f, 1.95f, 0}}, {0.0f, 0.12f, 0.12f, 0.0f}, 8, stem);
    // Neck and the bud head, cupped by five sepals.
    AddStem(mesh, {{0, 2.05f, 0}, {0, 2.35f, 0.03f}, {0, 2.65f, 0.05f}}, {0.1f, 0.085f, 0.08f}, 8, stem);
    AddLathe(mesh, FrameAlong({0, 0, 0.05f}, {0, 1, 0}, 0),
             {{0, 2.55f}, {0.22f, 2.65f}, {0.42f, 2.9f}, {0.5f, 3.2f}, {0.44f, 3.5f}, {0.3f, 3.75f}, {0.13f, 3.93f}, {0, 4.02f}}, 20,
             bud);
    for (int k = 0; k < 5; ++k) {
        float a = 2 * kPi * (k + 0.5f) / 5;
        Vec3 out{std::sin(a), 0, std::cos(a)};
        Frame f;
        f.origin = Vec3{0, 2.62f, 0.05f} + out * 0.18f;
        f.ay = Normalize(out * 0.55f + Vec3{0, 1, 0});
        f.az = Normalize(out * -1 - f.ay * Dot(out * -1, f.ay));
        f.ax = Cross(f.ay, f.az);
        AddLeaf(mesh, f, 0.75f, 0.42f, 0.7f, leaf);
    }
    DropFigure(mesh);
    return true;
}

bool BuildHumanplantHair(Model& model) {
    int tendril = model.AddMaterial("HairTendril", kAcidGreen);
    int leaf = model.AddMaterial("HairLeaf", kCyanGlass);
    Mesh& mesh = model.AddObject("HumanplantHair");
    Rng rng(1801);
    const Vec3 crown{0, 3.72f, 0.05f}, up{0, 1, 0};
    // Tendrils arch out of the crown and curl down around the head.
    for (int k = 0; k < 9; ++k) {
        float a = 2 * kPi * (k + rng.Range(-0.2f, 0.2f)) / 9;
        Vec3 out{std::sin(a), 0, std::cos(a)};
        Vec3 start = crown + out * 0.22f;
        AddTendril(mesh, start, out * 0.5f + up, Cross(up, out) * -1, rng.Range(1.6f, 2.3f), rng.Range(3.2f, 4.4f), 0.06f,
                   tendril);
    }
    // Leaves between them, arching outwards.
    for (int k = 0; k < 7; ++k) {
        float a = 2 * kPi * (k + 0.5f) / 7 + rng.Range(-0.15f, 0.15f);
        Vec3 out{std::sin(a), 0, std::cos(a)};
        Frame f;
        f.origin = crown + out * 0.12f + Vec3{0, 0.08f, 0};
        f.ay = Normalize(out * 0.6f + up * 0.8f);
        Vec3 face = Normalize(out - up);
        f.az = Normalize(face - f.ay * Dot(face, f.ay));
        f.ax = Cross(f.ay, f.az);
        AddLeaf(mesh, f, rng.Range(1.3f, 1.8f), rng.Range(0.38f, 0.5f), 1.5f, leaf);
    }
    DropFigure(mesh);
    return true;
}

bool BuildGreeting(Model& model, int line) {
    int face = model.AddMaterial("GreetFace", kIceWhite);
    int side = model.AddMaterial("GreetSide", kCyanGlass);
    int bevel = model.AddMaterial("GreetBevel", kGlacierBlue);
    // The line is cut once at a letter height of 1, then set as every copy the layout asks for:
    // each copy faces the moving camera somewhere along its path, one object per copy.
    std::vector<Contour> contours;
    float width = 0;
    if (!GreetingContours(line, contours, width)) return false;
    for (Contour& c : contours)
        for (Vec2& p : c) p.u -= width / 2;
    const std::vector<GreetingCopy> copies = GreetingCopies(line);
    for (size_t k = 0; k < copies.size(); ++k) {
        const GreetingCopy& copy = copies[k];
        Mesh& mesh = model.AddObject("Greeting" + std::to_string(line) + "-" + std::to_string(k + 1));
        // The letters' own size rides in the frame's axes; depth and bevel are in letter heights.
        Frame f;
        f.origin = copy.origin;
        f.ax = copy.across * copy.letterHeight;
        f.ay = copy.up * copy.letterHeight;
        f.az = copy.out * copy.letterHeight;
        ExtrudeContours(mesh, contours, kGreetingDepth, kGreetingBevel, f, {face, side, bevel});
    }
    return !copies.empty();
}

}  // namespace Datagen
