// Lays out the copies of each greeting line: candidates face the moving camera at sampled moments
// of its path (at a few distances, heights on screen and turns), and a greedy cover keeps the few
// that together leave the line readable for most frames of its first-member interval and of the
// whole second member, never hidden by the figure or another copy, never hiding the figure.
#include "GreetingLayout.h"

#include "FigureCameraPath.h"
#include "MeshText.h"
#include "ModelRecipes.h"

#include <algorithm>
#include <array>
#include <queue>

namespace Datagen {

namespace {

constexpr double kFrameClockStep = 1.0 / 6;  // one frame at 60 fps, in sceneClock units
constexpr int kScreenW = 1024, kScreenH = 768;
const float kTanHalfFovy = float(std::tan(kFigureViewFovyDegrees * kPi / 360));
const float kAspect = float(kFigureViewAspect);

// What the layout asks of a readable copy (a little more than the 24 px the frames need, so
// that other frame rates and rounding keep it).
constexpr float kMinLetterPx = 24.5f;
constexpr float kMaxEdgeNdc = 0.985f;      // the whole slab inside this part of the screen
constexpr float kMinFacingCos = 0.57f;      // seen at most about 55 degrees off its face
constexpr float kMaxSlant = 0.45f;         // letter up at most about 24 degrees off screen up
constexpr float kEyeClearance = 2.0f;      // the camera never comes closer to a slab (300 world units)
constexpr float kCopyClearance = 0.6f;     // between two copies of a line
constexpr float kInsideCubeSphere = 24.0f;  // the spinning cubes start about 26.6 units out
constexpr float kCoverTarget = 0.62f;      // share of frames each copy set aims for
constexpr int kMaxCopies = 16;
// A copy on screen where it cannot be read costs this share of a read frame: little when it is
// merely cut by the edge or too large, more seen edge-on (a streak), most from behind (mirrored).
// Worst of all, it crosses the figure on screen (the figure's legs cutting through a line).
constexpr double kClutterFacing = 0.02, kClutterEdgeOn = 0.12, kClutterMirrored = 0.25, kClutterOverFigure = 0.4;
// Two copies on screen over each other read as neither; this much per such frame.
constexpr double kClutterOverlap = 0.3;
constexpr size_t kClutterStride = 3;  // clutter is judged on every third frame

// Candidate copies: distance from the eye, height on screen (NDC) and turn about letter up.
constexpr std::array<float, 5> kDistances = {7, 10, 13, 16, 19};
constexpr std::array<float, 3> kScreenHeights = {-0.5f, 0, 0.5f};
constexpr std::array<float, 3> kTurnsDegrees = {-30, 0, 30};
constexpr float kLineShareOfWidth = 0.8f;  // a copy seen square-on spans this much of the width

struct Camera {
    Vec3 eye, f, r, u;
    explicit Camera(double c) {
        FigureView v = MovingCameraInFigure(c);
        eye = v.eye;
        f = Normalize(v.centre - v.eye);
        r = Normalize(Cross(f, {0, 1, 0}));
        u = Cross(r, f);
    }
    // Normalised device x, y of `p`; false behind the near plane.
    bool Project(Vec3 p, float& x, float& y) const {
        Vec3 d = p - eye;
        float z = Dot(d, f);
        if (z < 0.05f) return false;
        x = Dot(d, r) / (z * kTanHalfFovy * kAspect);
        y = Dot(d, u) / (z * kTanHalfFovy);
        return true;
    }
};

// The figure as stacked cylinders round its axis, from its own models.
struct FigureVolume {
    static constexpr float kBand = 0.4f, kMargin = 0.12f;
    float bottom = 0;
    std::vector<float> radius;  // per band from `bottom` up
    float widest = 0;

    FigureVolume() {
        Model mesh, hair;
        BuildHumanplantMesh(mesh);
        BuildHumanplantHair(hair);
        float lo = 1e9f, hi = -1e9f;
        for (const Model* m : {&mesh, &hair})
            for (const Mesh& o : m->objects)
                for (Vec3 p : o.positions) lo = std::min(lo, p.y), hi = std::max(hi, p.y);
        bottom = lo;
        radius.assign(size_t((hi - lo) / kBand) + 1, 0.0f);
        for (const Model* m : {&mesh, &hair})
            for (const Mesh& o : m->objects)
                for (Vec3 p : o.positions) {
                    size_t b = std::min(radius.size() - 1, size_t((p.y - lo) / kBand));
                    radius[b] = std::max(radius[b], std::hypot(p.x, p.z) + kMargin);
                }
        widest = *std::max_element(radius.begin(), radius.end());
    }
    // Does the segment a-b pass through the figure? First against the whole figure's cylinder.
    bool Crosses(Vec3 a, Vec3 b) const {
        if (!CrossesCylinder(a, b, bottom, bottom + kBand * float(radius.size()), widest)) return false;
        for (size_t i = 0; i < radius.size(); ++i)
            if (CrossesCylinder(a, b, bottom + kBand * float(i), bottom + kBand * float(i + 1), radius[i])) return true;
        return false;
    }
    // Does the segment a-b pass within `r` of the y axis between heights y0 and y1?
    static bool CrossesCylinder(Vec3 a, Vec3 b, float y0, float y1, float r) {
        Vec3 d = b - a;
        float t0 = 0, t1 = 1;
        if (std::fabs(d.y) < 1e-6f) {
            if (a.y < y0 || a.y > y1) return false;
        } else {
            float ta = (y0 - a.y) / d.y, tb = (y1 - a.y) / d.y;
            t0 = std::max(t0, std::min(ta, tb));
            t1 = std::min(t1, std::max(ta, tb));
            if (t0 > t1) return false;
        }
        // Closest approach to the axis within [t0, t1].
        float dd = d.x * d.x + d.z * d.z;
        float t = dd > 1e-9f ? std::clamp(-(a.x * d.x + a.z * d.z) / dd, t0, t1) : t0;
        float x = a.x + d.x * t, z = a.z + d.z * t;
        return x * x + z * z < r * r;
    }
    // Points along the figure's body, for "does a copy hide it".
    std::vector<Vec3> Core() const {
        std::vector<Vec3> out;
        float top = bottom + kBand * float(radius.size());
        for (int k = 0; k <= 6; ++k) out.push_back({0, bottom + 0.5f + (top - bottom - 1.5f) * float(k) / 6, 0});
        return out;
    }
};

Vec3 BoxPoint(const GreetingCopy& g, float a, float v, float o) {
    return g.origin + g.across * (a * g.width) + g.up * (v * g.letterHeight) + g.out * (o * g.depth);
}

// Where the segment a-b meets the copy's mid-plane inside its outline.
bool SegmentHitsCopy(const GreetingCopy& g, Vec3 a, Vec3 b) {
    Vec3 d = b - a;
    float den = Dot(d, g.out);
    if (std::fabs(den) < 1e-9f) return false;
    float t = Dot(g.origin - a, g.out) / den;
    if (t <= 0 || t >= 1) return false;
    Vec3 h = a + d * t - g.origin;
    float s = Dot(h, g.across), v = Dot(h, g.up);
    return std::fabs(s) <= g.width / 2 && v >= -kGreetingBoxBelow * g.letterHeight && v <= kGreetingBoxAbove * g.letterHeight;
}

// Nearest distance from `p` to the copy's outline (a flat rectangle at mid-depth).
float DistanceToCopy(const GreetingCopy& g, Vec3 p) {
    Vec3 d = p - g.origin;
    float s = std::clamp(Dot(d, g.across), -g.width / 2, g.width / 2);
    float v = std::clamp(Dot(d, g.up), -kGreetingBoxBelow * g.letterHeight, kGreetingBoxAbove * g.letterHeight);
    return Length(d - g.across * s - g.up * v);
}

// Sample points on the letters' middle band, for the sight lines.
std::array<Vec3, 7> SightPoints(const GreetingCopy& g) {
    std::array<Vec3, 7> out;
    for (int k = 0; k < 7; ++k) out[size_t(k)] = BoxPoint(g, -0.45f + 0.15f * float(k), 0.4f, 0.5f);
    return out;
}

// Whole, large, upright and seen from the front.
bool ReadableFrom(const GreetingCopy& g, const Camera& cam) {
    if (Dot(Normalize(cam.eye - g.origin), g.out) < kMinFacingCos) return false;
    for (float a : {-0.5f, 0.5f})
        for (float v : {-kGreetingBoxBelow, kGreetingBoxAbove})
            for (float o : {-0.5f, 0.5f}) {
                float x, y;
                if (!cam.Project(BoxPoint(g, a, v, o), x, y) || std::fabs(x) > kMaxEdgeNdc || std::fabs(y) > kMaxEdgeNdc) return false;
            }
    for (float a : {-0.5f, 0.5f}) {
        float x0, y0, x1, y1;
        if (!cam.Project(BoxPoint(g, a, 0, 0.5f), x0, y0) || !cam.Project(BoxPoint(g, a, 1, 0.5f), x1, y1)) return false;
        float dx = (x1 - x0) * kScreenW / 2, dy = (y1 - y0) * kScreenH / 2;
        if (dy < kMinLetterPx || std::fabs(dx) > kMaxSlant * dy) return false;
    }
    return true;
}

struct Frames {
    std::vector<Camera> cams;
    std::vector<double> clock;
    std::vector<int> set;  // 0: the line's first-member interval, 1: the second member
    size_t count[2] = {0, 0};
};

struct Candidate {
    GreetingCopy copy;
    std::vector<int> frames;  // readable and not crossed by the figure
    double clutter = 0;       // how much it litters the frames where it cannot be read
};

// On screen at all: some point of its middle band inside the view.
bool OnScreen(const GreetingCopy& g, const Camera& cam) {
    for (Vec3 p : SightPoints(g)) {
        float x, y;
        if (cam.Project(p, x, y) && std::fabs(x) < 1 && std::fabs(y) < 1) return true;
    }
    return false;
}

// Where a copy lies on screen (NDC bounds of its outline's points in front of the eye), and
// whether it shows at all.
struct ScreenBox {
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    bool on = false;
};
ScreenBox BoxOnScreen(const GreetingCopy& g, const Camera& cam) {
    ScreenBox b;
    b.on = OnScreen(g, cam);
    if (!b.on) return b;
    for (float a : {-0.5f, -0.25f, 0.0f, 0.25f, 0.5f})
        for (float v : {-kGreetingBoxBelow, kGreetingBoxAbove}) {
            float x, y;
            if (!cam.Project(BoxPoint(g, a, v, 0), x, y)) continue;
            b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x), b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
        }
    return b;
}
bool Overlap(const ScreenBox& a, const ScreenBox& b) {
    return a.on && b.on && std::max(a.x0, b.x0) < std::min(a.x1, b.x1) && std::max(a.y0, b.y0) < std::min(a.y1, b.y1);
}

// Do two copies come closer than kCopyClearance (crossing slabs included)? Each slab is sampled
// finely enough along its length that the other cannot slip between the samples.
bool Conflicts(const GreetingCopy& a, const GreetingCopy& b) {
    for (const GreetingCopy* p : {&a, &b}) {
        const GreetingCopy& other = p == &a ? b : a;
        const int steps = std::max(4, int(p->width / kCopyClearance));
        for (int k = 0; k <= steps; ++k)
            for (float v : {-kGreetingBoxBelow, 0.4f, kGreetingBoxAbove})
                if (DistanceToCopy(other, BoxPoint(*p, -0.5f + float(k) / float(steps), v, 0)) < kCopyClearance) return true;
    }
    return false;
}

}  // namespace

const char* GreetingText(int line) {
    static const char* const kLines[3] = {"greetings to nullpoint - velour - kaskade 8", "hexadawn - brightfall - ostrava labs",
                                          "stratacore - polymere - all at the party"};
    return kLines[std::clamp(line, 1, 3) - 1];
}

std::vector<GreetingCopy> GreetingCopies(int line) {
    std::vector<Contour> contours;
    float widthPerLetter = 0;
    if (!TextContours(GreetingText(line), 1.0f, contours, widthPerLetter)) return {};
    static const FigureVolume figure;
    const std::vector<Vec3> core = figure.Core();

    // The frames that count: the moving camera during the line's first-member interval, and the
    // whole second member (beats may show any line at any time).
    Frames fr;
    const int g = std::clamp(line, 1, 3);
    const double firstFrom = FirstMemberClockAt(kFigureGreetingFromMs[g - 1]);
    const double firstTo = FirstMemberClockAt(kFigureGreetingFromMs[g]);
    const double secondTo = (kFigureSecondMemberToMs - kFigureSecondMemberFromMs) * kSceneClockPerMs;
    for (int set = 0; set < 2; ++set) {
        double from = set == 0 ? firstFrom : 0, to = set == 0 ? firstTo : secondTo;
        for (double c = from; c < to; c += kFrameClockStep) {
            fr.cams.emplace_back(c);
            fr.clock.push_back(c);
            fr.set.push_back(set);
            ++fr.count[set];
        }
    }
    // Every moment the camera moves, for the clearance: both members' whole moving spans.
    std::vector<Vec3> eyePath;
    const double lastClock = FirstMemberClockAt(kFigureGreetingFromMs[3]);
    for (double c = 0; c <= lastClock; c += kFrameClockStep) eyePath.push_back(MovingCameraInFigure(c).eye);

    // Candidates.
    const float letterPx = kLineShareOfWidth * kScreenW / widthPerLetter;
    std::vector<Candidate> cands;
    for (double c0 = 0; c0 <= lastClock; c0 += 1) {
        const Camera cam(c0);
        for (float dist : kDistances)
            for (float sy : kScreenHeights)
                for (float turn : kTurnsDegrees) {
                    GreetingCopy copy;
                    copy.letterHeight = letterPx * 2 * kTanHalfFovy * dist / kScreenH;
                    copy.width = widthPerLetter * copy.letterHeight;
                    copy.depth = kGreetingDepth * copy.letterHeight;
                    const float t = turn * kPi / 180;
                    copy.up = cam.u;
                    copy.out = cam.f * -std::cos(t) + cam.r * std::sin(t);
                    copy.across = Cross(copy.up, copy.out);
                    const Vec3 middle = cam.eye + (cam.f + cam.u * (sy * kTanHalfFovy)) * dist;
                    copy.origin = middle - copy.up * ((kGreetingBoxAbove - kGreetingBoxBelow) / 2 * copy.letterHeight);

                    bool ok = true;
                    for (float a : {-0.5f, 0.5f})
                        for (float v : {-kGreetingBoxBelow, kGreetingBoxAbove}) {
                            Vec3 p = BoxPoint(copy, a, v, 0);
                            if (Length(p) > kInsideCubeSphere) ok = false;
                            // Through the figure itself?
                            for (float a2 : {-0.5f, 0.0f, 0.5f})
                                if (figure.Crosses(p, BoxPoint(copy, a2, v, 0))) ok = false;
                        }
                    for (size_t i = 0; ok && i < eyePath.size(); i += 2)
                        if (DistanceToCopy(copy, eyePath[i]) < kEyeClearance) ok = false;
                    if (!ok) continue;
                    Candidate cand{copy, {}};
                    const std::array<Vec3, 7> sight = SightPoints(copy);
                    for (size_t i = 0; i < fr.cams.size(); ++i) {
                        const Camera& view = fr.cams[i];
                        if (std::fabs(fr.clock[i] - c0) > 30 || !ReadableFrom(copy, view)) {
                            // Clutter changes slowly: every third frame stands for its neighbours.
                            if (i % kClutterStride != 0 || !OnScreen(copy, view)) continue;
                            float facing = Dot(Normalize(view.eye - copy.origin), copy.out);
                            double cost = facing > 0.5f ? kClutterFacing : facing > -0.5f ? kClutterEdgeOn : kClutterMirrored;
                            for (Vec3 p : sight)
                                if (figure.Crosses(view.eye, p)) cost = kClutterOverFigure;
                            for (Vec3 p : core)
                                if (SegmentHitsCopy(copy, view.eye, p)) cost = kClutterOverFigure;
                            cand.clutter += cost * kClutterStride / double(fr.count[fr.set[i]]);
                            continue;
                        }
                        bool clear = true;
                        for (Vec3 p : sight)
                            if (figure.Crosses(view.eye, p)) clear = false;
                        for (Vec3 p : core)
                            if (clear && SegmentHitsCopy(copy, view.eye, p)) clear = false;
                        if (clear) cand.frames.push_back(int(i));
                    }
                    if (!cand.frames.empty()) cands.push_back(std::move(cand));
                }
    }

    // Greedy cover, lazily re-scored: a frame counts for a copy when no other chosen copy stands
    // in front of its letters; a new copy must not stand in front of the frames others cover.
    std::vector<const Candidate*> chosen;
    std::vector<std::vector<ScreenBox>> chosenBoxes;  // per chosen copy, every kClutterStride-th frame
    std::vector<std::vector<int>> coverers(fr.cams.size());  // chosen copies readable at each frame
    size_t covered[2] = {0, 0};
    auto blocks = [&](const GreetingCopy& front, const GreetingCopy& back, const Camera& view) {
        for (Vec3 p : SightPoints(back))
            if (SegmentHitsCopy(front, view.eye, p)) return true;
        return false;
    };
    auto need = [&](int set) { return float(covered[set]) < kCoverTarget * float(fr.count[set]); };
    // Gain of adding `cand`: frames it newly covers minus frames it takes away (the cover), and
    // that less its clutter (the net, which ranks the candidates).
    struct Gain {
        double net, cover;
    };
    auto gainOf = [&](const Candidate& cand) {
        double cover = 0;
        for (const Candidate* c : chosen)
            if (Conflicts(cand.copy, c->copy)) return Gain{-1e9, 0};
        for (int i : cand.frames) {
            if (!coverers[size_t(i)].empty() || !need(fr.set[size_t(i)])) continue;
            bool hidden = false;
            for (const Candidate* c : chosen)
                if (blocks(c->copy, cand.copy, fr.cams[size_t(i)])) hidden = true;
            if (!hidden) cover += 1.0 / double(fr.count[fr.set[size_t(i)]]);
        }
        for (size_t i = 0; i < coverers.size(); ++i) {
            if (coverers[i].empty() || !need(fr.set[i])) continue;
            bool left = false;
            for (int k : coverers[i])
                if (!blocks(cand.copy, chosen[size_t(k)]->copy, fr.cams[i])) left = true;
            if (!left) cover -= 1.0 / double(fr.count[fr.set[i]]);
        }
        double overlap = 0;
        for (size_t i = 0; i < fr.cams.size(); i += kClutterStride) {
            const ScreenBox box = BoxOnScreen(cand.copy, fr.cams[i]);
            for (const std::vector<ScreenBox>& other : chosenBoxes)
                if (Overlap(box, other[i / kClutterStride])) {
                    overlap += kClutterOverlap * kClutterStride / double(fr.count[fr.set[i]]);
                    break;
                }
        }
        return Gain{cover - cand.clutter - overlap, cover};
    };
    // Lazy greedy: a candidate's net gain only shrinks as copies are chosen, so the last score
    // in the queue bounds it.
    std::priority_queue<std::pair<double, size_t>> queue;
    for (size_t k = 0; k < cands.size(); ++k) {
        double bound = -cands[k].clutter;
        for (int i : cands[k].frames) bound += 1.0 / double(fr.count[fr.set[size_t(i)]]);
        queue.push({bound, cands.size() - k});  // ties go to the earlier candidate
    }
    while (!queue.empty() && int(chosen.size()) < kMaxCopies && (need(0) || need(1))) {
        const size_t key = queue.top().second;
        queue.pop();
        const Candidate& cand = cands[cands.size() - key];
        const Gain gain = gainOf(cand);
        if (gain.cover <= 0) continue;  // adds nothing now, nor later
        if (!queue.empty() && gain.net < queue.top().first - 1e-12) {
            queue.push({gain.net, key});
            continue;
        }
        chosen.push_back(&cand);
        chosenBoxes.emplace_back();
        for (size_t i = 0; i < fr.cams.size(); i += kClutterStride) chosenBoxes.back().push_back(BoxOnScreen(cand.copy, fr.cams[i]));
        const int index = int(chosen.size()) - 1;
        for (size_t i = 0; i < coverers.size(); ++i) {
            // Frames the new copy hides lose their coverers; frames it reads gain it.
            std::vector<int>& list = coverers[i];
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](int k) { return blocks(cand.copy, chosen[size_t(k)]->copy, fr.cams[i]); }),
                       list.end());
        }
        for (int i : cand.frames) {
            bool hidden = false;
            for (int k = 0; k < index; ++k)
                if (blocks(chosen[size_t(k)]->copy, cand.copy, fr.cams[size_t(i)])) hidden = true;
            if (!hidden) coverers[size_t(i)].push_back(index);
        }
        covered[0] = covered[1] = 0;
        for (size_t i = 0; i < coverers.size(); ++i)
            if (!coverers[i].empty()) ++covered[fr.set[i]];
    }
    std::vector<GreetingCopy> out;
    for (const Candidate* c : chosen) out.push_back(c->copy);
    return out;
}

}  // namespace Datagen
