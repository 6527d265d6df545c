// Lays out the copies of each greeting line in four steps: the frames that show the line, the
// candidates (copies facing the moving camera at sampled moments of its path, at a few distances,
// heights on screen, turns and widths, kept where they stand clear and read a little), each
// candidate judged over those frames, and a greedy cover that keeps the few that together leave
// the line readable for most frames, never hidden by another copy, crossed by the figure at one
// place at most, never over another copy's text.
#include "GreetingLayout.h"

#include "FigureCameraPath.h"
#include "GreetingGeometry.h"
#include "MeshText.h"
#include "ModelRecipes.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <queue>
#include <thread>
#include <tuple>

namespace Datagen {

namespace {

// One frame at 30 fps, in sceneClock units: the frames the show draws between come within the
// margins below.
constexpr double kFrameClockStep = 1.0 / 3;

// What the layout asks of a readable copy (a little more than the frames need, so that other
// frame rates and rounding keep it).
constexpr float kMinLetterPx = kGreetingMinLetterPx + 0.5f;
constexpr float kMaxEdgeNdc = 0.985f;       // the whole slab inside this part of the screen
constexpr float kMinFacingCos = kGreetingMinFacingCos + 0.01f;
constexpr float kMaxSlant = 0.45f;          // letter up at most about 24 degrees off screen up
constexpr float kEyeClearance = 2.0f;       // the camera never comes closer to a slab (300 world units)
constexpr float kCopyClearance = 0.6f;      // between two copies of a line
constexpr float kInsideCubeSphere = 24.0f;  // the spinning cubes start about 26.6 units out
constexpr float kCoverTarget = 0.86f;       // share of frames each copy set aims for (the test asks 0.8)
// The layout tries this many first copies, at each of these weights of clutter against cover.
constexpr size_t kGreedyStarts = 2;
constexpr std::array<double, 3> kClutterWeights = {0.25, 0.12, 0.04};
// Layouts whose weaker sets read within this share of each other are ranked by their clutter.
constexpr double kReadShareStep = 0.02;
// A copy on screen where it cannot be read costs this share of a read frame: little when it is
// merely cut by the edge or too small, more seen edge-on (a streak), most from behind (mirrored).
// Worst of all, it crosses the figure on screen (the figure's legs cutting through a line).
constexpr double kClutterFacing = 0.03, kClutterEdgeOn = 0.12, kClutterMirrored = 0.25, kClutterOverFigure = 0.4;
constexpr size_t kClutterStride = 3;  // clutter is judged on every third frame
// Two copies whose fronts both face the eye over each other stack as text on text: never. Any
// other overlap (a copy passing behind another edge-on) costs this much per frame.
constexpr float kFacingText = kGreetingFacingText;  // the frames between: kOverlapMargin below
constexpr double kClutterOverlap = 0.3;

// Candidate copies: distance from the eye, height on screen (NDC) and turn about letter up.
constexpr std::array<float, 5> kDistances = {7, 10, 13, 16, 19};
constexpr std::array<float, 7> kScreenHeights = {-0.75f, -0.5f, -0.25f, 0, 0.25f, 0.5f, 0.75f};
constexpr std::array<float, 5> kTurnsDegrees = {-40, -20, 0, 20, 40};
// A copy seen square-on from where it is placed spans this much of the frame's width: small for
// a camera that comes nearer, large for one that draws away.
constexpr std::array<float, 3> kLineSharesOfWidth = {0.6f, 0.7f, 0.8f};
constexpr double kPlacementStep = 1.0;      // candidates stand this often along the path (sceneClock)
constexpr double kMinCandidateWorth = 0.02;  // share of a set's frames a candidate must read
constexpr double kReadWindow = 30;          // a candidate counts the frames this near (sceneClock) its moment

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

// Whole, large, upright and seen from the front.
bool ReadableFrom(const GreetingCopy& g, const GreetingCamera& cam, float minLetterPx = kMinLetterPx) {
    if (Dot(Normalize(cam.eye - g.origin), g.out) < kMinFacingCos) return false;
    for (float a : {-0.5f, 0.5f})
        for (float v : {-kGreetingBoxBelow, kGreetingBoxAbove})
            for (float o : {-0.5f, 0.5f}) {
                float x, y;
                if (!cam.Project(CopyPoint(g, a, v, o), x, y) || std::fabs(x) > kMaxEdgeNdc || std::fabs(y) > kMaxEdgeNdc) return false;
            }
    for (float a : {-0.5f, 0.5f}) {
        float x0, y0, x1, y1;
        if (!cam.Project(CopyPoint(g, a, 0, 0.5f), x0, y0) || !cam.Project(CopyPoint(g, a, 1, 0.5f), x1, y1)) return false;
        float dx = (x1 - x0) * kGreetingScreenW / 2, dy = (y1 - y0) * kGreetingScreenH / 2;
        if (dy < minLetterPx || std::fabs(dx) > kMaxSlant * dy) return false;
    }
    return true;
}

// On screen at all: some point of its middle band inside the view.
bool OnScreen(const CopySight& sight, const GreetingCamera& cam) {
    for (Vec3 p : sight) {
        float x, y;
        if (cam.Project(p, x, y) && std::fabs(x) < 1 && std::fabs(y) < 1) return true;
    }
    return false;
}

// Where a copy lies on screen (its outline in NDC; two copies only clutter each other inside the
// frame, where both are seen), and whether it shows at all.
struct ScreenBox {
    ScreenQuad quad;
    bool on = false;
    bool facing = false;  // its front turned to the eye: its letters show as text
};
ScreenBox BoxOnScreen(const GreetingCopy& g, const GreetingCamera& cam) {
    ScreenBox b;
    b.facing = Dot(Normalize(cam.eye - g.origin), g.out) > kFacingText;
    // The outline's own corners where they all project (the outline is flat: its box is theirs);
    // else the box round the points of it that do.
    const float corners[4][2] = {{-0.5f, -kGreetingBoxBelow}, {0.5f, -kGreetingBoxBelow}, {0.5f, kGreetingBoxAbove}, {-0.5f, kGreetingBoxAbove}};
    ScreenQuad quad;
    bool whole = true;
    for (size_t k = 0; k < 4 && whole; ++k) whole = cam.Project(CopyPoint(g, corners[k][0], corners[k][1], 0), quad.x[k], quad.y[k]);
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    if (whole) {
        std::tie(x0, x1) = std::minmax({quad.x[0], quad.x[1], quad.x[2], quad.x[3]});
        std::tie(y0, y1) = std::minmax({quad.y[0], quad.y[1], quad.y[2], quad.y[3]});
    } else {
        for (float a : {-0.5f, -0.25f, 0.0f, 0.25f, 0.5f})
            for (float v : {-kGreetingBoxBelow, kGreetingBoxAbove}) {
                float x, y;
                if (!cam.Project(CopyPoint(g, a, v, 0), x, y)) continue;
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
        quad = {{x0, x1, x1, x0}, {y0, y0, y1, y1}};
    }
    b.on = x0 < 1 && x1 > -1 && y0 < 1 && y1 > -1;  // some of it inside the frame
    b.quad = quad;
    return b;
}
// Two copies never overlap on screen, nor does a copy come near enough to pass as a slab; these
// are judged on every frame the layout samples (30 a second), with the outlines kept this far
// apart (NDC) for the frames between.
constexpr float kOverlapMargin = 0.06f;
// The copy's outline on screen at each frame where it shows: (frame, outline), by frame.
using ShownOutlines = std::vector<std::pair<uint32_t, ScreenBox>>;

struct Candidate {
    GreetingCopy copy;
    std::vector<int> frames;  // readable and not crossed by the figure
    double clutter = 0;       // how much it litters the frames where it cannot be read
    ShownOutlines outlines;   // where it shows, for the overlap with other copies
};

bool Overlap(const ScreenBox& a, const ScreenBox& b) {
    return a.on && b.on && QuadsOverlapInFrame(a.quad, b.quad, kOverlapMargin, {-1, -1, 1, 1});
}

// The frames in which the line's model is drawn: the moving camera during the line's
// first-member interval (set 0), and the whole second member (set 1: beats may show any line at
// any time).
struct ShownFrames {
    std::vector<GreetingCamera> cams;
    std::vector<double> clock;
    std::vector<int> set;
    size_t count[2] = {0, 0};

    explicit ShownFrames(int line) {
        const double firstFrom = FirstMemberClockAt(kFigureGreetingFromMs[line - 1]);
        const double firstTo = FirstMemberClockAt(kFigureGreetingFromMs[line]);
        const double secondTo = (kFigureSecondMemberToMs - kFigureSecondMemberFromMs) * kSceneClockPerMs;
        for (int s = 0; s < 2; ++s) {
            const double from = s == 0 ? firstFrom : 0, to = s == 0 ? firstTo : secondTo;
            // Every 30th of a second, and the last millisecond the line shows: a copy that comes
            // near in the interval's last frame is judged there too.
            const double last = to - kSceneClockPerMs;
            for (double c = from;; c += kFrameClockStep) {
                const double at = std::min(c, last);
                cams.emplace_back(at);
                clock.push_back(at);
                set.push_back(s);
                ++count[s];
                if (at >= last) break;
            }
        }
    }
    size_t size() const { return cams.size(); }
    // What one frame of frame i's set is worth: each set counts as a whole.
    double Weight(size_t i) const { return 1.0 / double(count[set[i]]); }
};

// Where a copy shows at the frames the overlaps are judged on. Worked out once per candidate:
// every run of the cover asks again for most of them.
ShownOutlines OutlinesOnScreen(const GreetingCopy& copy, const ShownFrames& frames) {
    ShownOutlines out;
    for (size_t i = 0; i < frames.size(); ++i) {
        const ScreenBox b = BoxOnScreen(copy, frames.cams[i]);
        if (b.on) out.push_back({uint32_t(i), b});
    }
    return out;
}

// A copy facing the camera `cam` square-on but for `turnDegrees` about its letters' up, its
// middle `distance` ahead and `screenY` (NDC) up the frame, its letters sized so that the line
// spans `share` of the frame's width.
GreetingCopy CopyFacing(const GreetingCamera& cam, float distance, float screenY, float turnDegrees, float share, float widthPerLetter) {
    const float letterPx = share * kGreetingScreenW / widthPerLetter;
    GreetingCopy copy;
    copy.letterHeight = letterPx * 2 * kGreetingTanHalfFovy * distance / kGreetingScreenH;
    copy.width = widthPerLetter * copy.letterHeight;
    copy.depth = kGreetingDepth * copy.letterHeight;
    const float turn = turnDegrees * kPi / 180;
    copy.up = cam.u;
    copy.out = cam.f * -std::cos(turn) + cam.r * std::sin(turn);
    copy.across = Cross(copy.up, copy.out);
    const Vec3 middle = cam.eye + (cam.f + cam.u * (screenY * kGreetingTanHalfFovy)) * distance;
    copy.origin = middle - copy.up * ((kGreetingBoxAbove - kGreetingBoxBelow) / 2 * copy.letterHeight);
    return copy;
}

// Seen nearly edge-on, is the copy a streak of glass across the view (its spine longer on screen
// than kGreetingMaxStreakShare of the frame's width)?
bool StreakAcross(const GreetingCopy& copy, const GreetingCamera& cam) {
    if (std::fabs(Dot(Normalize(cam.eye - copy.origin), copy.out)) >= kGreetingFacingText) return false;
    float x0, y0, x1, y1;
    if (!cam.Project(CopyPoint(copy, -0.5f, kGreetingSpineV, 0), x0, y0) || !cam.Project(CopyPoint(copy, 0.5f, kGreetingSpineV, 0), x1, y1))
        return false;  // reaching behind the eye: the slab rule below keeps it away
    const float w = kGreetingScreenW / 2, h = kGreetingScreenH / 2;  // NDC to pixels
    return SegmentLengthInFrame(x0 * w, y0 * h, x1 * w, y1 * h, {-w, -h, w, h}) > kGreetingMaxStreakShare * kGreetingScreenW;
}

// Seen from behind, would the copy read as a whole line of mirrored letters?
bool ReadsMirrored(const GreetingCopy& copy, const GreetingCamera& cam) {
    GreetingCopy back = copy;  // the same slab, its back taken for its front
    back.out = copy.out * -1.0f;
    back.across = copy.across * -1.0f;
    return ReadableFrom(back, cam, kGreetingMirroredLetterPx);
}

// Inside the sphere of cubes, clear of the figure's body, and wherever its line shows never a
// streak across the view, never mirror text, and never so near the camera that it passes as a
// slab (its letters over the largest size, or the eye at its glass).
bool StandsClear(const GreetingCopy& copy, const FigureVolume& figure, const ShownFrames& frames) {
    for (float a : {-0.5f, 0.5f})
        for (float v : {-kGreetingBoxBelow, kGreetingBoxAbove}) {
            const Vec3 p = CopyPoint(copy, a, v, 0);
            if (Length(p) > kInsideCubeSphere) return false;
            for (float a2 : {-0.5f, 0.0f, 0.5f})
                if (figure.Crosses(p, CopyPoint(copy, a2, v, 0))) return false;
        }
    for (size_t i = 0; i < frames.size(); ++i) {
        const GreetingCamera& cam = frames.cams[i];
        if (DistanceToCopy(copy, cam.eye) < kEyeClearance) return false;
        if (StreakAcross(copy, cam)) return false;
        if (ReadsMirrored(copy, cam)) return false;
        if (LargerOnScreenThan(copy, cam, kGreetingMaxLetterPx)) return false;
    }
    return true;
}

// How far the figure and a copy cross on screen: how many of the copy's sight points the figure
// stands before, and how many of the figure's core points the copy stands before.
struct FigureCrossing {
    int sightsHidden = 0, coreHidden = 0;
};
FigureCrossing CrossingOf(const GreetingCopy& copy, const CopySight& sight, const GreetingCamera& view, const FigureVolume& figure,
                          const std::vector<Vec3>& core) {
    FigureCrossing c;
    for (Vec3 p : sight) c.sightsHidden += figure.Crosses(view.eye, p);
    for (Vec3 p : core) c.coreHidden += SegmentHitsCopy(copy, view.eye, p);
    return c;
}
// Does the figure stand between the eye and the letters, or the copy between the eye and the
// figure's body?
bool CrossesFigure(const GreetingCopy& copy, const CopySight& sight, const GreetingCamera& view, const FigureVolume& figure,
                   const std::vector<Vec3>& core) {
    const FigureCrossing c = CrossingOf(copy, sight, view, figure, core);
    return c.sightsHidden > 0 || c.coreHidden > 0;
}
// A line still reads where the slender figure crosses it at one place: the figure before at most
// two of the line's seven sight points (a few letters seen through its glass), the line before at
// most one of the figure's seven core points (passing it at one height). More, and the figure and
// the line tangle.
constexpr int kReadsWithSightsHidden = 2, kReadsWithCoreHidden = 1;
bool ReadsPastFigure(const GreetingCopy& copy, const CopySight& sight, const GreetingCamera& view, const FigureVolume& figure,
                     const std::vector<Vec3>& core) {
    const FigureCrossing c = CrossingOf(copy, sight, view, figure, core);
    return c.sightsHidden <= kReadsWithSightsHidden && c.coreHidden <= kReadsWithCoreHidden;
}

// What a copy litters a frame with where it cannot be read.
double ClutterCost(const GreetingCopy& copy, const CopySight& sight, const GreetingCamera& view, const FigureVolume& figure,
                   const std::vector<Vec3>& core) {
    if (CrossesFigure(copy, sight, view, figure, core)) return kClutterOverFigure;
    const float facing = Dot(Normalize(view.eye - copy.origin), copy.out);
    return facing > 0.5f ? kClutterFacing : facing > -0.5f ? kClutterEdgeOn : kClutterMirrored;
}

// A candidate's frames: those where it reads past the figure, and the clutter of the rest.
Candidate Judge(const GreetingCopy& copy, double placedAt, const ShownFrames& frames, const FigureVolume& figure,
                const std::vector<Vec3>& core) {
    Candidate cand{copy, {}, 0, {}};
    const CopySight sight = SightPoints(copy);
    for (size_t i = 0; i < frames.size(); ++i) {
        const GreetingCamera& view = frames.cams[i];
        if (std::fabs(frames.clock[i] - placedAt) <= kReadWindow && ReadableFrom(copy, view)) {
            if (ReadsPastFigure(copy, sight, view, figure, core)) cand.frames.push_back(int(i));
            continue;
        }
        // Clutter changes slowly: every third frame stands for its neighbours.
        if (i % kClutterStride != 0 || !OnScreen(sight, view)) continue;
        cand.clutter += ClutterCost(copy, sight, view, figure, core) * kClutterStride * frames.Weight(i);
    }
    return cand;
}

// Runs job(0) .. job(count - 1) on all cores. The jobs read only shared constant data and each
// writes its own result, which the caller then takes in index order: the outcome is the same
// whatever the number of cores.
void OnAllCores(size_t count, const std::function<void(size_t)>& job) {
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t k = next++; k < count; k = next++) job(k);
    };
    std::vector<std::thread> helpers;
    for (unsigned k = 1; k < std::thread::hardware_concurrency(); ++k) helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers) t.join();
}

// Every candidate that reads somewhere: copies facing the camera every kPlacementStep of its
// path, at each distance, height on screen and turn, the moments judged on all cores.
std::vector<Candidate> Candidates(const ShownFrames& frames, float widthPerLetter, const FigureVolume& figure) {
    const std::vector<Vec3> core = figure.Core();
    const double lastClock = FirstMemberClockAt(kFigureGreetingFromMs[3]);
    std::vector<double> moments;
    for (double placedAt = 0; placedAt <= lastClock; placedAt += kPlacementStep) moments.push_back(placedAt);
    std::vector<std::vector<Candidate>> atMoment(moments.size());
    OnAllCores(moments.size(), [&](size_t m) {
        const GreetingCamera cam(moments[m]);
        for (float distance : kDistances)
            for (float screenY : kScreenHeights)
                for (float turn : kTurnsDegrees)
                    for (float share : kLineSharesOfWidth) {
                        const GreetingCopy copy = CopyFacing(cam, distance, screenY, turn, share, widthPerLetter);
                        // What it could read at best first: most candidates fall short, and the
                        // checks over every frame below cost far more.
                        double reach = 0;
                        for (size_t i = 0; i < frames.size() && reach < kMinCandidateWorth; ++i)
                            if (std::fabs(frames.clock[i] - moments[m]) <= kReadWindow && ReadableFrom(copy, frames.cams[i]))
                                reach += frames.Weight(i);
                        if (reach < kMinCandidateWorth || !StandsClear(copy, figure, frames)) continue;
                        Candidate cand = Judge(copy, moments[m], frames, figure, core);
                        double worth = 0;
                        for (int i : cand.frames) worth += frames.Weight(size_t(i));
                        if (worth < kMinCandidateWorth) continue;
                        cand.outlines = OutlinesOnScreen(copy, frames);
                        atMoment[m].push_back(std::move(cand));
                    }
    });
    std::vector<Candidate> out;
    for (std::vector<Candidate>& list : atMoment)
        for (Candidate& cand : list) out.push_back(std::move(cand));
    return out;
}

// The greedy cover: a frame counts for a chosen copy when no other chosen copy stands in front of
// its letters; a new copy must not stand in front of the frames others cover, come near another
// copy, or overlap one on screen.
class GreedyCover {
public:
    GreedyCover(const ShownFrames& shown, size_t maxCopies, double clutterWeight)
        : frames(shown), readers(shown.size()), maxCopies(maxCopies), clutterWeight(clutterWeight) {}

    // Room for more, and some set still short of its target.
    bool Wants() const { return chosen.size() < maxCopies && (Short(0) || Short(1)); }

    // What adding `cand` would do: the share of frames it newly covers less those it takes from
    // others (`cover`), and that less its clutter (`net`, which ranks the candidates). No cover
    // at all where it conflicts with a chosen copy.
    struct Gain {
        double net, cover;
    };
    Gain GainOf(const Candidate& cand) const {
        for (const Candidate* c : chosen)
            if (CopiesWithin(cand.copy, c->copy, kCopyClearance)) return {-1e9, 0};
        const double cover = NewlyRead(cand) - TakenAway(cand.copy);
        if (cover <= 0) return {-1e9, 0};  // adds nothing: its overlaps need no counting
        const double overlap = OverlapWithChosen(cand);
        if (overlap < 0) return {-1e9, 0};
        return {cover - (cand.clutter + overlap) * clutterWeight, cover};
    }

    void Add(const Candidate& cand) {
        chosen.push_back(&cand);
        boxes.emplace_back(frames.size());  // off screen but where shown
        for (const auto& [n, box] : cand.outlines) boxes.back()[n] = box;
        const int index = int(chosen.size()) - 1;
        const std::vector<int> sides = SidesBefore(cand.copy);
        for (size_t i = 0; i < readers.size(); ++i) {
            // Frames the new copy hides lose their readers; frames it reads gain it.
            std::vector<int>& list = readers[i];
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](int k) {
                                          return HidesSight(cand.copy, chosen[size_t(k)]->copy, frames.cams[i], sides[size_t(k)]);
                                      }),
                       list.end());
        }
        const std::vector<int> behind = SidesBehind(cand.copy);
        for (int i : cand.frames)
            if (!HiddenByChosen(cand.copy, behind, size_t(i), index)) readers[size_t(i)].push_back(index);
        covered[0] = covered[1] = 0;
        for (size_t i = 0; i < readers.size(); ++i)
            if (!readers[i].empty()) ++covered[frames.set[i]];
    }

    // The share of set `set`'s frames some chosen copy reads, and the chosen copies' clutter.
    double Share(int set) const { return double(covered[set]) / double(frames.count[set]); }
    double Clutter() const {
        double sum = 0;
        for (const Candidate* c : chosen) sum += c->clutter;
        return sum;
    }

    std::vector<GreetingCopy> Copies() const {
        std::vector<GreetingCopy> out;
        for (const Candidate* c : chosen) out.push_back(c->copy);
        return out;
    }

private:
    bool Short(int set) const { return float(covered[set]) < kCoverTarget * float(frames.count[set]); }

    // SightSide of each chosen copy's letters against `copy`, and of `copy`'s letters against
    // each chosen copy.
    std::vector<int> SidesBefore(const GreetingCopy& copy) const {
        std::vector<int> sides;
        for (const Candidate* c : chosen) sides.push_back(SightSide(copy, c->copy));
        return sides;
    }
    std::vector<int> SidesBehind(const GreetingCopy& copy) const {
        std::vector<int> sides;
        for (const Candidate* c : chosen) sides.push_back(SightSide(c->copy, copy));
        return sides;
    }
    // `behind` is SidesBehind(copy).
    bool HiddenByChosen(const GreetingCopy& copy, const std::vector<int>& behind, size_t frame, int upTo) const {
        for (int k = 0; k < upTo; ++k)
            if (HidesSight(chosen[size_t(k)]->copy, copy, frames.cams[frame], behind[size_t(k)])) return true;
        return false;
    }

    // The share of frames where `copy` overlaps a chosen copy on screen, weighted by
    // kClutterOverlap; negative when both face the eye there (text over text, never allowed).
    double OverlapWithChosen(const Candidate& cand) const {
        double cost = 0;
        if (chosen.empty()) return cost;
        for (const auto& [n, box] : cand.outlines) {
            bool over = false;
            for (const std::vector<ScreenBox>& other : boxes)
                if (Overlap(box, other[n])) {
                    if (box.facing && other[n].facing) return -1;
                    over = true;
                }
            if (over) cost += kClutterOverlap * frames.Weight(n);
        }
        return cost;
    }

    // Frames of sets still short that `cand` reads and nothing chosen reads yet.
    double NewlyRead(const Candidate& cand) const {
        double share = 0;
        const std::vector<int> behind = SidesBehind(cand.copy);
        for (int i : cand.frames) {
            const size_t f = size_t(i);
            if (!readers[f].empty() || !Short(frames.set[f])) continue;
            if (!HiddenByChosen(cand.copy, behind, f, int(chosen.size()))) share += frames.Weight(f);
        }
        return share;
    }
    // Frames of sets still short where `copy` would hide every copy that reads there.
    double TakenAway(const GreetingCopy& copy) const {
        double share = 0;
        const std::vector<int> sides = SidesBefore(copy);
        for (size_t i = 0; i < readers.size(); ++i) {
            if (readers[i].empty() || !Short(frames.set[i])) continue;
            bool left = false;
            for (int k : readers[i])
                if (!HidesSight(copy, chosen[size_t(k)]->copy, frames.cams[i], sides[size_t(k)])) {
                    left = true;
                    break;
                }
            if (!left) share += frames.Weight(i);
        }
        return share;
    }

    const ShownFrames& frames;
    std::vector<const Candidate*> chosen;
    std::vector<std::vector<ScreenBox>> boxes;  // per chosen copy, every frame
    std::vector<std::vector<int>> readers;      // chosen copies readable at each frame
    size_t covered[2] = {0, 0};
    size_t maxCopies;
    double clutterWeight;
};

// Lazy greedy: a candidate's net gain only shrinks as copies are chosen, so the last score in
// the queue bounds it. `first` (an index into `cands`, or none) is taken before anything else;
// clutter counts `clutterWeight` times.
GreedyCover ChooseCopies(const std::vector<Candidate>& cands, const ShownFrames& frames, size_t maxCopies, size_t first,
                         double clutterWeight) {
    GreedyCover cover(frames, maxCopies, clutterWeight);
    if (first < cands.size()) cover.Add(cands[first]);
    std::priority_queue<std::pair<double, size_t>> queue;
    for (size_t k = 0; k < cands.size(); ++k) {
        if (k == first) continue;
        double bound = -cands[k].clutter * clutterWeight;
        for (int i : cands[k].frames) bound += frames.Weight(size_t(i));
        queue.push({bound, cands.size() - k});  // ties go to the earlier candidate
    }
    while (!queue.empty() && cover.Wants()) {
        const size_t key = queue.top().second;
        queue.pop();
        const Candidate& cand = cands[cands.size() - key];
        const GreedyCover::Gain gain = cover.GainOf(cand);
        if (gain.cover <= 0) continue;  // adds nothing now, nor later
        if (!queue.empty() && gain.net < queue.top().first - 1e-12) {
            queue.push({gain.net, key});
            continue;
        }
        cover.Add(cand);
    }
    return cover;
}

// The greedy cover is short-sighted: its first, largest copies decide where the rest may stand.
// So it is run from each of the strongest candidates as the first copy, at a few weights of
// clutter against cover, and the layout that leaves its weaker set best read is kept (in steps
// of kReadShareStep; then the one with the least clutter, then the better read over both).
std::vector<GreetingCopy> BestCover(const std::vector<Candidate>& cands, const ShownFrames& frames, size_t maxCopies) {
    std::vector<std::pair<double, size_t>> strongest;
    for (size_t k = 0; k < cands.size(); ++k) {
        double bound = 0;
        for (int i : cands[k].frames) bound += frames.Weight(size_t(i));
        strongest.push_back({-bound, k});
    }
    const size_t starts = std::min(strongest.size(), kGreedyStarts);
    if (starts == 0) return {};
    std::partial_sort(strongest.begin(), strongest.begin() + long(starts), strongest.end());
    // Run r starts from the (r % starts)-th strongest at the (r / starts)-th weight. (Plain greedy
    // would take the strongest first as well: it is run 0 of each weight.)
    struct Run {
        std::array<double, 3> score;
        std::vector<GreetingCopy> copies;
    };
    std::vector<Run> runs(kClutterWeights.size() * starts);
    OnAllCores(runs.size(), [&](size_t r) {
        const size_t first = strongest[r % starts].second;
        const GreedyCover cover = ChooseCopies(cands, frames, maxCopies, first, kClutterWeights[r / starts]);
        const double a = cover.Share(0), b = cover.Share(1);
        runs[r] = {{std::floor(std::min(a, b) / kReadShareStep), -cover.Clutter(), a + b}, cover.Copies()};
    });
    const Run* best = &runs[0];
    for (const Run& run : runs)
        if (run.score > best->score) best = &run;
    return best->copies;
}

}  // namespace

const char* GreetingText(int line) {
    static const char* const kLines[3] = {"greetings to nullpoint - velour - kaskade 8", "hexadawn - brightfall - ostrava labs",
                                          "stratacore - polymere - all at the party"};
    return kLines[std::clamp(line, 1, 3) - 1];
}

bool GreetingContours(int line, std::vector<Contour>& contours, float& width) {
    // Curves within a pixel of the glyphs' outline at the largest size a copy shows.
    const float onePixel = 1.0f / kGreetingMaxLetterPx;  // in letter heights
    return TextContours(GreetingText(line), 1.0f, onePixel, contours, width);
}

std::vector<GreetingCopy> GreetingCopies(int line) {
    std::vector<Contour> contours;
    float widthPerLetter = 0;
    if (!GreetingContours(line, contours, widthPerLetter)) return {};
    static const FigureVolume figure;
    const ShownFrames frames(std::clamp(line, 1, 3));
    const std::vector<Candidate> cands = Candidates(frames, widthPerLetter, figure);
    // As many copies as the model's budget holds: every copy is the same line, cut once.
    Mesh one;
    ExtrudeContours(one, contours, kGreetingDepth, kGreetingBevel, Frame{}, {0, 1, 2});
    const size_t maxCopies = std::max<size_t>(1, kGreetingVertexBudget / std::max<size_t>(1, one.positions.size()));
    return BestCover(cands, frames, maxCopies);
}

}  // namespace Datagen
