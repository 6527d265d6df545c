// The closing canyon ("Ter" set): floor, the rock shell of walls and roof with one opening at
// the top left of the camera's view, crystals on the floor, the sky patch behind the opening,
// ten light shafts falling through it, and the credits standing at the camera's target.
#include "MeshText.h"
#include "ModelRecipes.h"

namespace Datagen {

bool AddTextLine(Mesh& mesh, const std::string& text, float capHeight, float depth, const Frame& frame, float baseline, int face,
                 int side);
// The rock shell of walls, roof and end faces; `carve` leaves the sky opening out.
void BuildShell(Mesh& mesh, int rock, bool carve);

namespace {

// The camera slides from kEyeStart to kEyeEnd looking at kTarget (scene units, drawn unscaled).
const Vec3 kEyeStart{-307, 130, 430}, kEyeEnd{23, 130, 100}, kTarget{225, 60, -342};
const Vec3 kUp{0, 1, 0};

Vec3 EyeMid() { return (kEyeStart + kEyeEnd) * 0.5f; }

// Half the vertical field of view of the scene's camera: tan(22.5 degrees); the view is 4:3.
constexpr float kTanHalfFov = 0.41421356f;

// The direction from `eye` (looking at the credits) through normalised screen point (x, y).
Vec3 ViewDirection(Vec3 eye, float x, float y) {
    Vec3 forward = Normalize(kTarget - eye);
    Vec3 right = Normalize(Cross(forward, kUp));
    Vec3 up = Cross(right, forward);
    return Normalize(forward + up * (kTanHalfFov * y) + right * (kTanHalfFov * 4.0f / 3.0f * x));
}

// Where `p` appears in the view from `eye` (normalised screen coordinates); false behind the eye.
bool ScreenPoint(Vec3 eye, Vec3 p, float& x, float& y) {
    Vec3 forward = Normalize(kTarget - eye);
    Vec3 right = Normalize(Cross(forward, kUp));
    Vec3 up = Cross(right, forward);
    Vec3 v = p - eye;
    float depth = Dot(v, forward);
    if (depth <= 0) return false;
    x = Dot(v, right) / depth / (kTanHalfFov * 4.0f / 3.0f);
    y = Dot(v, up) / depth / kTanHalfFov;
    return true;
}

// The canyon's floor line (y = 0), a Catmull-Rom curve through the camera path and the target.
struct Centreline {
    std::vector<Vec3> points, tangents;
    Centreline() {
        const std::vector<Vec3> keys = {{-900, 0, 1000}, {-560, 0, 680}, {-307, 0, 430}, {23, 0, 100}, {225, 0, -342}, {290, 0, -760},
                                        {300, 0, -1080}};
        for (size_t i = 0; i + 1 < keys.size(); ++i) {
            Vec3 p0 = keys[i > 0 ? i - 1 : 0], p1 = keys[i], p2 = keys[i + 1], p3 = keys[std::min(i + 2, keys.size() - 1)];
            int steps = int(Length(p2 - p1) / 20) + 1;
            for (int s = 0; s < steps; ++s) {
                float t = float(s) / steps, t2 = t * t, t3 = t2 * t;
                points.push_back((p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 + (p1 * 3 - p0 - p2 * 3 + p3) * t3) * 0.5f);
            }
        }
        points.push_back(keys.back());
        for (size_t i = 0; i < points.size(); ++i) {
            tangents.push_back(Normalize(points[std::min(i + 1, points.size() - 1)] - points[i > 0 ? i - 1 : 0]));
            along.push_back(i == 0 ? 0.0f : along.back() + Length(points[i] - points[i - 1]));
        }
    }
    std::vector<float> along;
    size_t Nearest(Vec3 p) const {
        size_t best = 0;
        float bestD = 1e30f;
        for (size_t i = 0; i < points.size(); ++i) {
            float d = (p.x - points[i].x) * (p.x - points[i].x) + (p.z - points[i].z) * (p.z - points[i].z);
            if (d < bestD) {
                bestD = d;
                best = i;
            }
        }
        return best;
    }
    float Distance(Vec3 p) const {
        float best = 1e30f;
        for (Vec3 c : points) best = std::min(best, (p.x - c.x) * (p.x - c.x) + (p.z - c.z) * (p.z - c.z));
        return std::sqrt(best);
    }
};

float GroundHeight(const Centreline& line, float x, float z) {
    float d = line.Distance({x, 0, z});
    float nearTarget = std::min(1.0f, Length(Vec3{x - kTarget.x, 0, z - kTarget.z}) / 160);
    float h = 9 * Fbm3({x / 90, 0.5f, z / 90}, 31, 4) * (0.3f + 0.7f * nearTarget);
    if (d > 140) h += std::min((d - 140) * (d - 140) * 0.004f, 260.0f);  // the floor climbs into the walls
    return h;
}

// Half-width and roof height of the rock shell's section at `along` units down the canyon.
void SectionSize(float along, float& width, float& height) {
    width = 270 + 45 * Fbm3({along / 300, 3.1f, 0}, 41, 2);
    height = 380 + 60 * Fbm3({along / 350, 7.7f, 0}, 43, 2);
}

// Half-angle of the opening seen from the middle of the path: 2.5 degrees with a ragged rim of
// about a degree either way, never past 3.3. The rays blur this patch out to twice its distance
// from the top-left corner and add it three times: a wider sky whitens half the frame.
constexpr float kOpeningDegrees = 2.5f, kOpeningRimDegrees = 0.8f, kOpeningMaxDegrees = 3.3f;
// How far from the opening's centre rock may be cut away.
constexpr float kOpeningReach = 130;
// The sky disc sits this far beyond the opening, so every eye on the path sees it through the hole.
constexpr float kSkyBehindOpening = 160;

// Distance along the ray (origin, unit dir) to the nearest triangle of `mesh`; 1e30 when none.
float FirstHit(const Mesh& mesh, Vec3 origin, Vec3 dir) {
    float best = 1e30f;
    for (const Triangle& t : mesh.triangles) {
        float h = RayHitsTriangle(origin, dir, mesh.positions[t.a], mesh.positions[t.b], mesh.positions[t.c]);
        if (h > 0 && h < best) best = h;
    }
    return best;
}

// The one opening in the shell: a point on the rock that every eye on the camera's slide sees
// straight through the inside of the canyon, in the top-left of its view (the canyon bends, so
// a point far ahead on the left is soon hidden by the nearer wall), as near as can be to screen
// point (-0.55, 0.65) from the middle of the slide. The rays are blurred away from the top-left
// corner out to twice their source's distance from it, so a source near the corner keeps them
// short. One hole with the sky just behind it: a far sky seen from every eye would need a hole
// as long as the slide, a gap down the side of the canyon.
struct Opening {
    Vec3 eye, dir, centre;
    float distance = 0;  // from eye to centre
};

const Opening& TheOpening() {
    static const Opening opening = [] {
        Mesh shell;
        BuildShell(shell, 0, false);
        Opening best;
        best.eye = EyeMid();
        float bestScore = 1e30f;
        for (float sx = -0.85f; sx <= -0.2f; sx += 0.05f)
            for (float sy = 0.3f; sy <= 0.95f; sy += 0.05f) {
                Opening o;
                o.eye = EyeMid();
                o.dir = ViewDirection(o.eye, sx, sy);
                o.distance = FirstHit(shell, o.eye, o.dir);
                if (o.distance > 5000) continue;
                o.centre = o.eye + o.dir * o.distance;
                bool seen = true;
                for (int m = 0; m <= 4 && seen; ++m) {
                    Vec3 eye = Lerp(kEyeStart, kEyeEnd, m / 4.0f);
                    // Both the hole and the sky behind it are in sight: the first rock met is the hole's.
                    Vec3 sky = o.centre + o.dir * kSkyBehindOpening;
                    float x, y, reach = Length(o.centre - eye);
                    seen = ScreenPoint(eye, o.centre, x, y) && x > -0.9f && x < -0.2f && y > 0.35f && y < 0.95f &&
                           FirstHit(shell, eye, Normalize(o.centre - eye)) > reach - 40 &&
                           FirstHit(shell, eye, Normalize(sky - eye)) > reach - 40;
                }
                float score = (sx + 0.55f) * (sx + 0.55f) + (sy - 0.65f) * (sy - 0.65f);
                if (seen && score < bestScore) {
                    bestScore = score;
                    best = o;
                }
            }
        if (bestScore == 1e30f) {  // nothing is seen from the whole slide: the roof above the middle
            best.dir = kUp;
            best.distance = FirstHit(shell, best.eye, kUp);
            best.centre = best.eye + kUp * best.distance;
        }
        return best;
    }();
    return opening;
}

Vec3 SkyDiscCentre() {
    const Opening& o = TheOpening();
    return o.centre + o.dir * kSkyBehindOpening;
}

// True where the shell must stay open: cones from points along the camera path towards the sky
// disc, only where they meet the rock around the opening. The disc sits just behind the hole, so
// the cones meet there and the hole stays one patch a little wider than one cone.
bool InOpening(Vec3 p) {
    // Only rock around the hole: a cone from a near eye also grazes wall bumps on its way there.
    const Opening& o = TheOpening();
    if (Length(p - o.centre) > kOpeningReach) return false;
    const Vec3 sky = SkyDiscCentre();
    float rim = std::min(kOpeningMaxDegrees, kOpeningDegrees + kOpeningRimDegrees * Fbm3(p * (1.0f / 60), 77, 3));
    float cosLimit = std::cos(rim * kPi / 180);
    for (int m = 0; m <= 4; ++m) {
        Vec3 eye = Lerp(kEyeStart, kEyeEnd, m / 4.0f);
        if (Dot(Normalize(p - eye), Normalize(sky - eye)) > cosLimit) return true;
    }
    return false;
}

void OrientTowards(Mesh& mesh, size_t firstTriangle, Vec3 (*target)(Vec3 centroid, const void*), const void* data) {
    for (size_t i = firstTriangle; i < mesh.triangles.size(); ++i) {
        Triangle& t = mesh.triangles[i];
        Vec3 a = mesh.positions[t.a], b = mesh.positions[t.b], c = mesh.positions[t.c];
        Vec3 centroid = (a + b + c) * (1.0f / 3);
        if (Dot(Cross(b - a, c - a), target(centroid, data) - centroid) < 0) std::swap(t.b, t.c);
    }
}

}  // namespace

bool BuildTerGround(Model& model) {
    int rock = model.AddMaterial("TerFloor", kRockGrey);
    Mesh& mesh = model.AddObject("TerGround");
    Centreline line;
    const float x0 = -1100, x1 = 700, z0 = -1300, z1 = 1200, step = 20;
    const int nx = int((x1 - x0) / step), nz = int((z1 - z0) / step);
    for (int i = 0; i <= nz; ++i)
        for (int j = 0; j <= nx; ++j) {
            float x = x0 + j * step, z = z0 + i * step;
            mesh.AddVertex({x, GroundHeight(line, x, z), z}, {x / 160, z / 160});  // texture every 160 units
        }
    const uint32_t stride = uint32_t(nx + 1);
    for (int i = 0; i < nz; ++i)
        for (int j = 0; j < nx; ++j) {
            uint32_t a = uint32_t(i) * stride + uint32_t(j), d = a + 1, b = a + stride, c = b + 1;
            mesh.AddTriangle(a, b, d, rock);  // counter-clockwise from above
            mesh.AddTriangle(d, b, c, rock);
        }
    return true;
}

bool BuildTerWall(Model& model) {
    int rock = model.AddMaterial("TerWall", kRockGrey);
    BuildShell(model.AddObject("TerWall"), rock, true);
    return true;
}

void BuildShell(Mesh& mesh, int rock, bool carve) {
    Centreline line;
    // An arched shell over the floor line: half-width ~270, roof ~380, rough rock displaced along
    // the section's radius, seen from inside. Quads in the sky's line of sight are left out.
    const int around = 56;
    const float thetaLo = -0.18f, thetaHi = kPi + 0.18f;
    std::vector<std::vector<uint32_t>> rings;
    std::vector<Vec3> axisPoints;
    float along = 0;
    for (size_t i = 0; i < line.points.size(); ++i) {
        if (i > 0) along += Length(line.points[i] - line.points[i - 1]);
        Vec3 c = line.points[i], side = Normalize(Cross(kUp, line.tangents[i]));
        float width, height;
        SectionSize(along, width, height);
        std::vector<uint32_t> ring;
        for (int k = 0; k <= around; ++k) {
            float theta = thetaLo + (thetaHi - thetaLo) * k / around;
            Vec3 radial = side * (width * std::cos(theta)) + kUp * (height * std::sin(theta));
            Vec3 p = c + radial;
            float bump = 48 * Fbm3(p * (1.0f / 170), 51, 3) + 12 * Fbm3(p * (1.0f / 38), 53, 2);
            p = p + Normalize(radial) * bump;
            ring.push_back(mesh.AddVertex(p, {along / 160, theta * 330 / 160}));
        }
        rings.push_back(ring);
        axisPoints.push_back(c + kUp * 120);
    }
    struct Axis {
        const std::vector<Vec3>* points;
    } axis{&axisPoints};
    auto nearestAxis = [](Vec3 p, const void* data) {
        const auto& pts = *static_cast<const Axis*>(data)->points;
        Vec3 best = pts[0];
        float bestD = 1e30f;
        for (Vec3 q : pts) {
            float d = Length(q - p);
            if (d < bestD) {
                bestD = d;
                best = q;
            }
        }
        return best;
    };
    size_t first = mesh.triangles.size();
    for (size_t i = 0; i + 1 < rings.size(); ++i)
        for (int k = 0; k < around; ++k) {
            uint32_t a = rings[i][size_t(k)], d = rings[i][size_t(k + 1)], b = rings[i + 1][size_t(k)], c = rings[i + 1][size_t(k + 1)];
            Vec3 centre = (mesh.positions[a] + mesh.positions[b] + mesh.positions[c] + mesh.positions[d]) * 0.25f;
            if (carve && InOpening(centre)) continue;
            mesh.AddTriangle(a, b, c, rock);
            mesh.AddTriangle(a, c, d, rock);
        }
    OrientTowards(mesh, first, nearestAxis, &axis);
    // Close both ends with rock faces: polar grids from the section's rim (the arch from foot to
    // foot) to a centre below the floor between the feet, so the fan covers the whole arch down to
    // the ground; a centre higher up would leave a gap under it, seen sideways down the canyon.
    for (int end = 0; end < 2; ++end) {
        const std::vector<uint32_t>& rim = end == 0 ? rings.front() : rings.back();
        Vec3 tangent = end == 0 ? line.tangents.front() : line.tangents.back();
        Vec3 centre = (end == 0 ? line.points.front() : line.points.back()) - kUp * 40 + tangent * (end == 0 ? -60.0f : 60.0f);
        const int steps = 10;
        std::vector<std::vector<uint32_t>> grid{rim};
        for (int s = 1; s <= steps; ++s) {
            std::vector<uint32_t> ring;
            float t = float(s) / steps;
            for (uint32_t v : rim) {
                Vec3 p = Lerp(mesh.positions[v], centre, t);
                p = p + tangent * ((end == 0 ? -1.0f : 1.0f) * 80 * std::sin(kPi * t) + 25 * Fbm3(p * (1.0f / 60), 57, 2));
                ring.push_back(mesh.AddVertex(p, {p.x / 160, p.y / 160}));
            }
            grid.push_back(ring);
        }
        size_t capFirst = mesh.triangles.size();
        for (size_t s = 0; s + 1 < grid.size(); ++s)
            for (size_t k = 0; k + 1 < grid[s].size(); ++k) {
                uint32_t a = grid[s][k], d = grid[s][k + 1], b = grid[s + 1][k], c = grid[s + 1][k + 1];
                Vec3 mid = (mesh.positions[a] + mesh.positions[c]) * 0.5f;
                if (carve && InOpening(mid)) continue;
                mesh.AddTriangle(a, b, c, rock);
                mesh.AddTriangle(a, c, d, rock);
            }
        struct Inside {
            Vec3 point;
        } inside{centre - tangent * (end == 0 ? -400.0f : 400.0f)};
        OrientTowards(mesh, capFirst, [](Vec3, const void* data) { return static_cast<const Inside*>(data)->point; }, &inside);
    }
}

bool BuildTerCrystals(Model& model) {
    int glass = model.AddMaterial("TerCrystal", kCyanGlass);
    Mesh& mesh = model.AddObject("TerCrystals");
    Centreline line;
    Rng rng(1901);
    // Clusters along both foot walls, away from the middle where the camera looks down the canyon.
    for (size_t i = 8; i + 4 < line.points.size(); i += 5) {
        for (float sideSign : {-1.0f, 1.0f}) {
            if (rng.Uniform() < 0.3f) continue;
            Vec3 side = Normalize(Cross(kUp, line.tangents[i]));
            float offset = rng.Range(95, 170);
            Vec3 base = line.points[i] + side * (sideSign * offset) + line.tangents[i] * rng.Range(-30, 30);
            if (Length(Vec3{base.x - kTarget.x, 0, base.z - kTarget.z}) < 90) continue;  // keep the credits clear
            base.y = GroundHeight(line, base.x, base.z) - 4;
            int count = 3 + int(rng.Next() % 4);
            float size = rng.Range(0.6f, 1.4f) * (offset > 140 ? 1.3f : 0.8f);
            for (int k = 0; k < count; ++k) {
                Vec3 dir = Normalize(kUp + side * (-sideSign * rng.Range(0.1f, 0.5f)) +
                                     Vec3{rng.Range(-0.4f, 0.4f), 0, rng.Range(-0.4f, 0.4f)});
                CrystalShape s;
                s.length = rng.Range(22, 60) * size;
                s.radius = rng.Range(4, 8) * size;
                s.tip = s.radius * rng.Range(1.5f, 2.2f);
                s.jitter = 0.1f;
                AddCrystal(mesh, FrameAlong(base + Vec3{rng.Range(-10, 10), 0, rng.Range(-10, 10)}, dir, rng.Range(0, 6.28f)), s, glass,
                           &rng);
            }
        }
    }
    return true;
}

bool BuildTerSky(Model& model) {
    int sky = model.AddMaterial("TerSky", kWarmAmber);
    Mesh& mesh = model.AddObject("TerSky");
    // A bright disc just behind the opening, facing the camera path, a little wider than the hole
    // so that the sky fills it from every eye (the rim's ripple takes up to 5 percent off). The sky
    // pass draws this disc with no rock in front, so its size is the size of the light rays' source.
    const Opening& o = TheOpening();
    Vec3 centre = SkyDiscCentre(), eye = o.eye;
    Vec3 facing = Normalize(eye - centre), a, b;
    Perpendiculars(facing, a, b);
    const float radius = ((o.distance + kSkyBehindOpening) * std::tan(kOpeningMaxDegrees * kPi / 180) + 15) / 0.95f;
    const int sides = 32;
    uint32_t middle = mesh.AddVertex(centre, {0.5f, 0.5f});
    uint32_t first = uint32_t(mesh.positions.size());
    for (int k = 0; k <= sides; ++k) {
        float t = 2 * kPi * k / sides;
        float r = radius * (1 + 0.03f * std::sin(5 * t) + 0.02f * std::cos(3 * t));
        mesh.AddVertex(centre + a * (r * std::cos(t)) + b * (r * std::sin(t)), {0.5f + 0.5f * std::cos(t), 0.5f + 0.5f * std::sin(t)});
    }
    for (int k = 0; k < sides; ++k) {
        uint32_t p = first + uint32_t(k), q = p + 1;
        Vec3 n = Cross(mesh.positions[p] - centre, mesh.positions[q] - centre);
        if (Dot(n, facing) >= 0)
            mesh.AddTriangle(middle, p, q, sky);
        else
            mesh.AddTriangle(middle, q, p, sky);
    }
    return true;
}

bool BuildTerRay(Model& model, int ray) {
    int light = model.AddMaterial("TerRay", kWarmAmber);
    Mesh& mesh = model.AddObject("TerRay" + std::to_string(ray));
    Centreline line;
    Rng rng(2000 + uint64_t(ray));
    // A shaft from the opening down to the floor: two crossed tapering quads, v from 0 at the top.
    Vec3 top = TheOpening().centre + Vec3{rng.Range(-50, 50), rng.Range(-30, 30), rng.Range(-50, 50)};
    float spread = (ray - 4.5f) / 4.5f;
    Vec3 side = Normalize(Cross(kUp, kTarget - kEyeStart));
    Vec3 bottom = Lerp(kEyeEnd, kTarget, 0.3f + 0.07f * ray) + side * (spread * 160) + Vec3{rng.Range(-30, 30), 0, rng.Range(-30, 30)};
    bottom.y = GroundHeight(line, bottom.x, bottom.z);
    Vec3 axis = Normalize(bottom - top), p, q;
    Perpendiculars(axis, p, q);
    float topWidth = rng.Range(12, 22), bottomWidth = rng.Range(40, 75);
    for (Vec3 across : {p, q}) {
        mesh.AddFlatQuad(top - across * topWidth, bottom - across * bottomWidth, bottom + across * bottomWidth, top + across * topWidth,
                         {0, 0}, {0, 1}, {1, 1}, {1, 0}, light);
    }
    return true;
}

bool BuildCredits(Model& model) {
    int face = model.AddMaterial("CredFace", kIceWhite);
    int side = model.AddMaterial("CredSide", kGlacierBlue);
    Mesh& mesh = model.AddObject("Credits");
    // Four lines standing at the camera's target, turned to the middle of its path.
    Vec3 toEye = EyeMid() - kTarget;
    toEye.y = 0;
    Frame f;
    f.origin = kTarget;
    f.ay = kUp;
    f.az = Normalize(toEye);
    f.ax = Cross(f.ay, f.az);
    static const char* const kLines[4] = {"code vantor", "music quill", "graphics pell", "moravel 2010"};
    const float cap = 16, spacing = 26;
    for (int i = 0; i < 4; ++i) {
        float baseline = (1.5f - i) * spacing - cap / 2;
        if (!AddTextLine(mesh, kLines[i], cap, 4, f, baseline, face, side)) return false;
    }
    return true;
}

}  // namespace Datagen
