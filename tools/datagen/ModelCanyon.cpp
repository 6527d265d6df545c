// The closing canyon ("Ter" set): floor, the closed rock shell of walls and roof, crystals on the
// floor, a crack of sky light set into the roof at the top left of the camera's view, ten light
// shafts falling from it, and the credits on a stone slab beside the camera's target.
#include "MeshText.h"
#include "ModelRecipes.h"
#include "SceneCameras.h"

#include <algorithm>

namespace Datagen {

// The closed rock shell of walls, roof and end faces.
void BuildShell(Mesh& mesh, int rock);

namespace {

// The camera slides from kEyeStart to kEyeEnd looking at kTarget (scene units, drawn unscaled).
const Vec3 kEyeStart = kCanyonEyeStart, kEyeEnd = kCanyonEyeEnd, kTarget = kCanyonTarget;
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

// The credits: four lines on a dark stone slab standing on the floor beside the camera's target,
// right of it, clear of the shafts from the top left. They are lit by a program whose two lights
// come from straight above and below the view, so a face turned to the camera stays almost black:
// the slab does, and the letters lean back to catch the upper light and read pale against it.
constexpr float kCreditsCap = 40;           // capitals: lower-case stands ~24 px tall at 1024 x 768 from the slide's start
constexpr float kCreditsLeading = 1.5f;     // baseline to baseline, in capitals (room for descenders)
constexpr float kCreditsLeanDegrees = 42;   // top of each line back from the camera
constexpr float kCreditsDepth = 5;
constexpr float kCreditsRight = 50;         // slab centre right of the target along its face
constexpr float kSlabMargin = 14, kSlabDepth = 14;
constexpr float kSlabHalfWidth = 175;       // about: the widest line's half plus the margins

// The slab's frame: upright, turned to the middle of the camera's path, right of the target; its
// origin on the target's height (the credits set their foot on the floor).
Frame CreditsFrame() {
    Vec3 toEye = EyeMid() - kTarget;
    toEye.y = 0;
    Frame slab;
    slab.ay = kUp;
    slab.az = Normalize(toEye);
    slab.ax = Cross(slab.ay, slab.az);
    slab.origin = kTarget + slab.ax * kCreditsRight;
    return slab;
}

// True where a crystal standing at `base` would come between some eye of the slide and the slab.
bool BeforeCredits(Vec3 base) {
    Vec3 slab = CreditsFrame().origin;
    for (int m = 0; m <= 4; ++m) {
        Vec3 eye = Lerp(kEyeStart, kEyeEnd, m / 4.0f);
        Vec3 a{eye.x, 0, eye.z}, b{slab.x, 0, slab.z}, p{base.x, 0, base.z};
        float t = std::clamp(Dot(p - a, b - a) / Dot(b - a, b - a), 0.0f, 1.0f);
        if (Length(p - b) < 320 && Length(p - Lerp(a, b, t)) < kSlabHalfWidth + 40) return true;
    }
    return false;
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

// The sky light: a ragged crack of sky laid just inside the roof, across the direction the rays
// are blurred in. The engine draws it untextured in plain white, so what sets the rays'
// brightness is its shape: the radial blur (centre near the top-left corner, scale -0.5) gives
// each pixel the share of its path back towards the centre, over half its distance, that runs
// through the sky, and the scene adds that three times. A crack 2 to 8 percent of its distance
// from the centre thick keeps the three layers at 12 to 48 percent from the middle of the slide:
// shafts, not a white wedge. The eye closes in on it and it drifts towards the centre, so the
// shafts grow brighter and shorter up to the end of the demo.
constexpr float kRayCentreX = -0.8f, kRayCentreY = 1.0f;  // the rays' centre (0.1, 1.0) on screen
constexpr float kCrackThin = 0.02f, kCrackThick = 0.08f;  // thickness over distance from the centre
constexpr float kCrackSpreadDegrees = 16;                   // half the angle the crack spans from the centre
constexpr int kCrackSteps = 48, kCrackRun = 3;  // steps along the crack, steps between kinks
// The crack sits this far inside the first rock met, so no rock bump stands in front of it.
constexpr float kSkyGap = 10;
// Pixels per unit of normalised screen coordinate at 1024 x 768.
constexpr float kHalfWidthPx = 512, kHalfHeightPx = 384;

// Distance along the ray (origin, unit dir) to the nearest triangle of `mesh`; 1e30 when none.
float FirstHit(const Mesh& mesh, Vec3 origin, Vec3 dir) {
    float best = 1e30f;
    for (const Triangle& t : mesh.triangles) {
        float h = RayHitsTriangle(origin, dir, mesh.positions[t.a], mesh.positions[t.b], mesh.positions[t.c]);
        if (h > 0 && h < best) best = h;
    }
    return best;
}

// The shell as the sky light and its search see it (built once).
const Mesh& Shell() {
    static const Mesh shell = [] {
        Mesh m;
        BuildShell(m, 0);
        return m;
    }();
    return shell;
}

// The crack's layout on the middle eye's screen around point (hx, hy): pixel offsets `along` it
// (across the line to the rays' centre) and `outwards` (away from that centre) become points just
// inside the first rock met.
struct CrackLayout {
    float hx, hy, r, radialX, radialY, acrossX, acrossY, halfLength;
    CrackLayout(float x, float y) : hx(x), hy(y) {
        const float rx = (hx - kRayCentreX) * kHalfWidthPx, ry = (hy - kRayCentreY) * kHalfHeightPx;
        r = std::sqrt(rx * rx + ry * ry);
        radialX = rx / r, radialY = ry / r, acrossX = -radialY, acrossY = radialX;
        halfLength = r * std::tan(kCrackSpreadDegrees * kPi / 180);
    }
    Vec3 Place(const Mesh& shell, float along, float outwards) const {
        const float px = acrossX * along + radialX * outwards, py = acrossY * along + radialY * outwards;
        Vec3 dir = ViewDirection(EyeMid(), hx + px / kHalfWidthPx, hy + py / kHalfHeightPx);
        return EyeMid() + dir * (FirstHit(shell, EyeMid(), dir) - kSkyGap);
    }
};

// Where the sky light opens: a point on the rock that every eye on the camera's slide sees
// straight through the inside of the canyon, in the top-left of its view (the canyon bends, so
// a point far ahead on the left is soon hidden by the nearer wall), as near as can be to screen
// point (-0.55, 0.65) from the middle of the slide. The rays are blurred away from the top-left
// corner out to twice their source's distance from it, so a source near the corner keeps them
// short, clear of the credits.
struct Opening {
    Vec3 eye, dir, centre;
    float distance = 0;  // from eye to centre
};

const Opening& TheOpening() {
    static const Opening opening = [] {
        const Mesh& shell = Shell();
        Opening best;
        best.eye = EyeMid();
        float bestScore = 1e30f;
        for (float sx = -0.85f; sx <= -0.49f; sx += 0.05f)  // left of and above the credits
            for (float sy = 0.55f; sy <= 0.96f; sy += 0.05f) {
                Opening o;
                o.eye = EyeMid();
                o.dir = ViewDirection(o.eye, sx, sy);
                o.distance = FirstHit(shell, o.eye, o.dir);
                if (o.distance > 5000) continue;
                o.centre = o.eye + o.dir * o.distance;
                bool seen = true;
                int hidden = 0;
                const CrackLayout layout(sx, sy);
                Vec3 along[9];  // points along the crack that would be laid there
                for (int i = 0; i < 9; ++i) along[i] = layout.Place(shell, (i / 4.0f - 1) * layout.halfLength, 0);
                for (int m = 0; m <= 4 && seen; ++m) {
                    Vec3 eye = Lerp(kEyeStart, kEyeEnd, m / 4.0f);
                    // The rock there is in sight: the first rock met is the opening's.
                    float x, y, reach = Length(o.centre - eye);
                    seen = ScreenPoint(eye, o.centre, x, y) && x > -0.9f && x < -0.2f && y > 0.35f && y < 0.95f &&
                           FirstHit(shell, eye, Normalize(o.centre - eye)) > reach - 40;
                    // And so, as far as can be, is the whole crack laid there.
                    for (Vec3 p : along) hidden += FirstHit(shell, eye, Normalize(p - eye)) < Length(p - eye);
                }
                // Each point of the crack that rock hides from some eye weighs like a step of about
                // 0.2 on the screen. (The rays reach out to twice the opening's distance from their
                // centre: from left of -0.5 and above 0.55 they stay clear of the credits.)
                float score = (sx + 0.55f) * (sx + 0.55f) + (sy - 0.65f) * (sy - 0.65f) + 0.05f * hidden;
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

// The crack's thickness profile along it, t from -1 to 1, as a share of its distance from the
// rays' centre: a thin seam with five knots of open sky, each of which throws one shaft.
float CrackThickness(float t) {
    static const float knots[5][3] = {{-0.72f, 0.10f, 0.55f}, {-0.38f, 0.07f, 1.0f}, {-0.05f, 0.12f, 0.8f},
                                      {0.3f, 0.06f, 0.95f}, {0.64f, 0.09f, 0.6f}};  // where, how wide, how open
    float open = 0;
    for (const auto& k : knots) open = std::max(open, k[2] * std::exp(-(t - k[0]) * (t - k[0]) / (k[1] * k[1])));
    float taper = std::sqrt(std::max(0.0f, 1 - t * t));
    return (kCrackThin + (kCrackThick - kCrackThin) * open) * (0.4f + 0.6f * taper);
}

// The crack of sky, laid out on the screen of the middle eye around the opening and set just
// inside the rock it is seen against, so that it moves with the rock. The sky pass draws it with
// no rock in front: the opening is chosen where ridges hide as little of it as can be (in the
// first seconds of the slide the left wall's ridge still hides part of it).
const Mesh& SkyCrack() {
    static const Mesh crack = [] {
        Mesh mesh;
        const Opening& o = TheOpening();
        const Mesh& shell = Shell();
        float hx = 0, hy = 0;
        ScreenPoint(o.eye, o.centre, hx, hy);
        const CrackLayout layout(hx, hy);
        const float r = layout.r;
        Rng rng(2201);
        float kinks[kCrackSteps / kCrackRun + 1];
        for (float& kink : kinks) kink = rng.Range(-0.04f, 0.04f);
        for (int k = 0; k <= kCrackSteps; ++k) {
            float t = -1 + 2.0f * k / kCrackSteps;
            float along = t * layout.halfLength, half = 0.5f * r * CrackThickness(t);
            // A jagged line: straight runs between kinks that step off it by up to 4 percent.
            float kink = float(k) / kCrackRun;
            int run = std::min(int(kink), kCrackSteps / kCrackRun - 1);
            float wander = r * (kinks[run] + (kinks[run + 1] - kinks[run]) * (kink - run));
            float u = 0.5f + 0.5f * t;
            mesh.AddVertex(layout.Place(shell, along, wander - half), {u, 0});
            mesh.AddVertex(layout.Place(shell, along, wander + half), {u, 1});
        }
        for (uint32_t k = 0; k < uint32_t(kCrackSteps); ++k) {
            uint32_t a = 2 * k, b = a + 1, c = a + 3, d = a + 2;
            for (Triangle t : {Triangle{a, b, c, 0}, Triangle{a, c, d, 0}}) {
                Vec3 n = Cross(mesh.positions[t.b] - mesh.positions[t.a], mesh.positions[t.c] - mesh.positions[t.a]);
                if (Dot(n, o.eye - mesh.positions[t.a]) < 0) std::swap(t.b, t.c);  // facing the slide
                mesh.triangles.push_back(t);
            }
        }
        return mesh;
    }();
    return crack;
}

void OrientTowards(Mesh& mesh, size_t firstTriangle, Vec3 (*target)(Vec3 centroid, const void*), const void* data) {
    for (size_t i = firstTriangle; i < mesh.triangles.size(); ++i) {
        Triangle& t = mesh.triangles[i];
        Vec3 a = mesh.positions[t.a], b = mesh.positions[t.b], c = mesh.positions[t.c];
        Vec3 centroid = (a + b + c) * (1.0f / 3);
        if (Dot(Cross(b - a, c - a), target(centroid, data) - centroid) < 0) std::swap(t.b, t.c);
    }
}

// Closes one end of the shell with a rock face: a polar grid from the section's rim (the arch
// from foot to foot) to a centre below the floor between the feet, so the fan covers the whole
// arch down to the ground; a centre higher up would leave a gap under it, seen sideways down the
// canyon. `outward` is -1 at the start of the centre line, 1 at its end.
void CloseShellEnd(Mesh& mesh, const std::vector<uint32_t>& rim, Vec3 endPoint, Vec3 tangent, float outward, int rock) {
    Vec3 centre = endPoint - kUp * 40 + tangent * (outward * 60.0f);
    const int steps = 10;
    std::vector<std::vector<uint32_t>> grid{rim};
    for (int s = 1; s <= steps; ++s) {
        std::vector<uint32_t> ring;
        float t = float(s) / steps;
        for (uint32_t v : rim) {
            Vec3 p = Lerp(mesh.positions[v], centre, t);
            p = p + tangent * (outward * 80 * std::sin(kPi * t) + 25 * Fbm3(p * (1.0f / 60), 57, 2));
            ring.push_back(mesh.AddVertex(p, {p.x / 160, p.y / 160}));
        }
        grid.push_back(ring);
    }
    size_t capFirst = mesh.triangles.size();
    for (size_t s = 0; s + 1 < grid.size(); ++s)
        for (size_t k = 0; k + 1 < grid[s].size(); ++k) {
            uint32_t a = grid[s][k], d = grid[s][k + 1], b = grid[s + 1][k], c = grid[s + 1][k + 1];
            mesh.AddTriangle(a, b, c, rock);
            mesh.AddTriangle(a, c, d, rock);
        }
    struct Inside {
        Vec3 point;
    } inside{centre - tangent * (outward * 400.0f)};
    OrientTowards(mesh, capFirst, [](Vec3, const void* data) { return static_cast<const Inside*>(data)->point; }, &inside);
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
    BuildShell(model.AddObject("TerWall"), rock);
    return true;
}

void BuildShell(Mesh& mesh, int rock) {
    Centreline line;
    // An arched shell over the floor line: half-width ~270, roof ~380, rough rock displaced along
    // the section's radius, seen from inside.
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
            mesh.AddTriangle(a, b, c, rock);
            mesh.AddTriangle(a, c, d, rock);
        }
    OrientTowards(mesh, first, nearestAxis, &axis);
    // Close both ends with rock faces.
    CloseShellEnd(mesh, rings.front(), line.points.front(), line.tangents.front(), -1, rock);
    CloseShellEnd(mesh, rings.back(), line.points.back(), line.tangents.back(), 1, rock);
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
            if (Length(Vec3{base.x - kTarget.x, 0, base.z - kTarget.z}) < 90 || BeforeCredits(base)) continue;  // keep the credits clear
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
    const Mesh& crack = SkyCrack();
    for (size_t i = 0; i < crack.positions.size(); ++i) mesh.AddVertex(crack.positions[i], crack.uvs[i]);
    for (const Triangle& t : crack.triangles) mesh.AddTriangle(t.a, t.b, t.c, sky);
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
    int stone = model.AddMaterial("CredStone", kDeepNavy);
    Mesh& mesh = model.AddObject("Credits");
    static const char* const kLines[4] = {"code vantor", "music quill", "graphics pell", "moravel 2010"};

    Frame slab = CreditsFrame();
    Centreline line;

    // The letters are nearest the eye at the slide's end: curves keep within half a pixel there.
    const float nearest = Length(kEyeEnd - slab.origin) - kSlabHalfWidth;
    const float halfPixel = 0.5f * 2 * kTanHalfFov * nearest / kFrameRows;
    std::vector<Contour> text[4];
    float widest = 0, width[4];
    for (int i = 0; i < 4; ++i) {
        if (!TextContours(kLines[i], kCreditsCap, halfPixel, text[i], width[i])) return false;
        widest = std::max(widest, width[i]);
    }
    const float lean = kCreditsLeanDegrees * kPi / 180, leading = kCreditsCap * kCreditsLeading;
    const float textHeight = (3 * kCreditsLeading + 1) * kCreditsCap * std::cos(lean);
    const float slabHeight = textHeight + 2 * kSlabMargin + 6;

    // A slab with chipped corners and a slightly uneven top. The letters stand a hand in front of
    // it and the eye looks from its left, so they drift right over it: its right margin is wider.
    Contour outline;
    const float l = widest / 2 + kSlabMargin, w = widest / 2 + kSlabMargin + 10, h = slabHeight;
    // The floor climbs towards the wall at the slab's right end: the text stands on the highest
    // floor under it and in front of it, and the slab reaches down into the lowest floor.
    float floorLow = 1e30f, floorHigh = -1e30f;
    for (float u = -l; u <= w; u += 10)
        for (float front : {0.0f, 20.0f, 40.0f}) {
            Vec3 p = slab.origin + slab.ax * u + slab.az * front;
            float g = GroundHeight(line, p.x, p.z);
            floorLow = std::min(floorLow, g);
            if (std::fabs(u) <= widest / 2) floorHigh = std::max(floorHigh, g);
        }
    slab.origin.y = floorHigh;
    const float foot = floorLow - floorHigh - 6;  // sunk a little into the floor
    for (Vec2 p : std::initializer_list<Vec2>{{-l, foot}, {w, foot}, {w, h - 9}, {w - 7, h - 2}, {w * 0.3f, h + 2}, {-l * 0.4f, h},
                                              {-l + 6, h - 1}, {-l, h - 12}})
        outline.push_back(p);
    Frame slabBody = slab;
    slabBody.origin = slab.origin - slab.az * (kSlabDepth / 2);
    ExtrudeContours(mesh, {outline}, kSlabDepth, 1.5f, slabBody, {stone, stone, stone});

    // Each line leans back about its own baseline, far enough in front that its top stays clear
    // of the slab; line 0 at the top.
    for (int i = 0; i < 4; ++i) {
        float baseline = slab.origin.y + kSlabMargin + 3 + (3 - i) * leading * std::cos(lean);
        Frame f;
        f.ax = slab.ax;
        f.ay = slab.ay * std::cos(lean) - slab.az * std::sin(lean);
        f.az = slab.az * std::cos(lean) + slab.ay * std::sin(lean);
        f.origin = slab.origin + slab.az * (kCreditsCap * std::sin(lean) + kCreditsDepth + 2);
        f.origin.y = baseline;
        std::vector<Contour> placed = text[i];
        for (Contour& c : placed)
            for (Vec2& p : c) p.u -= width[i] / 2;
        ExtrudeContours(mesh, placed, kCreditsDepth, 0, f, {face, side, side});
    }
    return true;
}

}  // namespace Datagen
