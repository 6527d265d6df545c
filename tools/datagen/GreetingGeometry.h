// A greeting copy seen from the glass figure's moving camera: the points of its outline, where
// they fall on the 1024 x 768 frame, sight lines through it and distances to it. The layout asks
// these questions millions of times, so the costly ones skip their walk where a cheap bound
// already answers; each answers exactly as its walk (`...ByWalk`), which the tests hold it to.
#pragma once

#include "FigureCameraPath.h"
#include "GreetingLayout.h"

#include <array>

namespace Datagen {

constexpr int kGreetingScreenW = 1024, kGreetingScreenH = 768;
inline const float kGreetingTanHalfFovy = float(std::tan(kFigureViewFovyDegrees * kPi / 360));
inline const float kGreetingAspect = float(kFigureViewAspect);
constexpr float kGreetingNearDepth = 0.05f;  // points nearer the eye than this do not project

// The moving camera at `sceneClock`, in the figure's frame: eye, forward, right and up.
struct GreetingCamera {
    Vec3 eye, f, r, u;
    explicit GreetingCamera(double sceneClock);
    // Normalised device x, y of `p`; false nearer than kGreetingNearDepth.
    bool Project(Vec3 p, float& x, float& y) const {
        Vec3 d = p - eye;
        float z = Dot(d, f);
        if (z < kGreetingNearDepth) return false;
        x = Dot(d, r) / (z * kGreetingTanHalfFovy * kGreetingAspect);
        y = Dot(d, u) / (z * kGreetingTanHalfFovy);
        return true;
    }
};

// The point of the copy's slab at `a` widths along (-0.5..0.5), `v` letter heights up from the
// baseline and `o` depths out of its mid-plane (-0.5..0.5).
inline Vec3 CopyPoint(const GreetingCopy& g, float a, float v, float o) {
    return g.origin + g.across * (a * g.width) + g.up * (v * g.letterHeight) + g.out * (o * g.depth);
}

// A copy's outline as it falls on the frame: a convex quadrilateral, corners in order round its
// edge (the outline's own corners where all stand in front of the eye, else the box round the
// points of it that do).
struct ScreenQuad {
    std::array<float, 4> x{}, y{};
};
// The frame, in the units of the quadrilaterals: NDC for the layout, pixels for the tests.
struct ScreenFrame {
    float x0, y0, x1, y1;
};
// Do two quadrilaterals come within `margin` of each other (in their units) inside `frame`? What
// lies beyond the frame's edge is never seen over anything. Boxes first; where they meet, both
// are clipped to the frame and tried on separating axes (their edges' normals).
bool QuadsOverlapInFrame(const ScreenQuad& a, const ScreenQuad& b, float margin, const ScreenFrame& frame);
// How long the part of the segment (x0, y0)-(x1, y1) inside `frame` is, in the frame's units.
float SegmentLengthInFrame(float x0, float y0, float x1, float y1, const ScreenFrame& frame);

// Does the segment a-b meet the copy's mid-plane inside its outline?
bool SegmentHitsCopy(const GreetingCopy& g, Vec3 a, Vec3 b);
// Nearest distance from `p` to the copy's outline (a flat rectangle at mid-depth).
float DistanceToCopy(const GreetingCopy& g, Vec3 p);

// Points along the letters' middle band on the front face, where sight lines end.
using CopySight = std::array<Vec3, 7>;
CopySight SightPoints(const GreetingCopy& g);

// The largest letters of the copy where its outline shows on the frame, in pixels (0 when none
// of it shows), and whether that is more than `px`.
float LetterPxOnScreen(const GreetingCopy& g, const GreetingCamera& cam);
bool LargerOnScreenThan(const GreetingCopy& g, const GreetingCamera& cam, float px);

// Do two copies come closer than `clearance` (crossing slabs included)?
bool CopiesWithin(const GreetingCopy& a, const GreetingCopy& b, float clearance);
bool CopiesWithinByWalk(const GreetingCopy& a, const GreetingCopy& b, float clearance);

// Does `front` stand between the eye and the letters (the sight points) of `back`?
bool HidesSight(const GreetingCopy& front, const GreetingCopy& back, const GreetingCamera& cam);
bool HidesSightByWalk(const GreetingCopy& front, const GreetingCopy& back, const GreetingCamera& cam);

// Where `back`'s sight points stand against `front`'s plane: 1 all clearly on its front side,
// -1 all clearly behind, 0 across or near it. It depends on the two copies alone, so whoever asks
// HidesSight of one pair over many frames works it out once and passes it on.
constexpr float kGreetingSideMargin = 1e-3f;  // world units: far above the rounding of coordinates under 50
int SightSide(const GreetingCopy& front, const GreetingCopy& back);
// HidesSight(front, back, cam), given side = SightSide(front, back).
bool HidesSight(const GreetingCopy& front, const GreetingCopy& back, const GreetingCamera& cam, int side);

}  // namespace Datagen
