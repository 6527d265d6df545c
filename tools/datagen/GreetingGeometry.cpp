// The greeting copies' geometry: each shortcut is a bound that holds for the whole outline (its
// points lie in one plane, between its corners), checked with a margin well above the rounding
// of coordinates under 50 units, and falls back on the walk wherever the bound does not answer.
#include "GreetingGeometry.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

namespace {

// Every point of an outline lies within half its height of its spine, the line along its middle.
constexpr float kSpineV = kGreetingSpineV, kHalfHeight = (kGreetingBoxAbove + kGreetingBoxBelow) / 2;
constexpr float kSideMargin = kGreetingSideMargin;

// The shortest distance between segments p0-p1 and q0-q1 (closest points by the clamped
// parameters of the two lines, in double).
double SegmentsApart(Vec3 p0, Vec3 p1, Vec3 q0, Vec3 q1) {
    using D3 = std::array<double, 3>;
    auto d3 = [](Vec3 v) { return D3{v.x, v.y, v.z}; };
    auto dot = [](const D3& u, const D3& v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; };
    const D3 p = d3(p0), q = d3(q0), d1 = d3(p1 - p0), d2 = d3(q1 - q0), r = d3(p0 - q0);
    const double a = dot(d1, d1), e = dot(d2, d2), f = dot(d2, r), c = dot(d1, r), b = dot(d1, d2);
    const double denom = a * e - b * b;
    double s = denom > 1e-12 * a * e ? std::clamp((b * f - c * e) / denom, 0.0, 1.0) : 0.0;
    double t = (b * s + f) / e;
    if (t < 0) {
        t = 0, s = std::clamp(-c / a, 0.0, 1.0);
    } else if (t > 1) {
        t = 1, s = std::clamp((b - c) / a, 0.0, 1.0);
    }
    double sum = 0;
    for (size_t k = 0; k < 3; ++k) {
        const double d = (p[k] + d1[k] * s) - (q[k] + d2[k] * t);
        sum += d * d;
    }
    return std::sqrt(sum);
}

}  // namespace

GreetingCamera::GreetingCamera(double sceneClock) {
    FigureView v = MovingCameraInFigure(sceneClock);
    eye = v.eye;
    f = Normalize(v.centre - v.eye);
    r = Normalize(Cross(f, {0, 1, 0}));
    u = Cross(r, f);
}

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

float DistanceToCopy(const GreetingCopy& g, Vec3 p) {
    Vec3 d = p - g.origin;
    float s = std::clamp(Dot(d, g.across), -g.width / 2, g.width / 2);
    float v = std::clamp(Dot(d, g.up), -kGreetingBoxBelow * g.letterHeight, kGreetingBoxAbove * g.letterHeight);
    return Length(d - g.across * s - g.up * v);
}

CopySight SightPoints(const GreetingCopy& g) {
    CopySight out;
    for (int k = 0; k < 7; ++k) out[size_t(k)] = CopyPoint(g, -0.45f + 0.15f * float(k), 0.4f, 0.5f);
    return out;
}

// Letters at a point of the outline stand letterHeight * rows / (2 tan(fovy / 2) * depth) there.
float LetterPxOnScreen(const GreetingCopy& g, const GreetingCamera& cam) {
    constexpr int kAlong = 10;
    float largest = 0;
    for (int k = 0; k <= kAlong; ++k)
        for (float v : {-kGreetingBoxBelow, 0.4f, kGreetingBoxAbove}) {
            const Vec3 p = CopyPoint(g, -0.5f + float(k) / kAlong, v, 0);
            const float depth = Dot(p - cam.eye, cam.f);
            float x, y;
            if (!cam.Project(p, x, y) || std::fabs(x) > 1 || std::fabs(y) > 1) continue;
            largest = std::max(largest, g.letterHeight * kGreetingScreenH / (2 * kGreetingTanHalfFovy * depth));
        }
    return largest;
}

bool LargerOnScreenThan(const GreetingCopy& g, const GreetingCamera& cam, float px) {
    const std::array<Vec3, 4> corners = {CopyPoint(g, -0.5f, -kGreetingBoxBelow, 0), CopyPoint(g, 0.5f, -kGreetingBoxBelow, 0),
                                         CopyPoint(g, -0.5f, kGreetingBoxAbove, 0), CopyPoint(g, 0.5f, kGreetingBoxAbove, 0)};
    // Depth is linear over the outline: where even the nearest corner shows the letters no
    // larger than px (less a margin), no point does.
    float nearest = 1e9f;
    for (Vec3 p : corners) nearest = std::min(nearest, Dot(p - cam.eye, cam.f));
    constexpr float kRoundingMargin = 0.98f;
    if (nearest > 0 && g.letterHeight * kGreetingScreenH / (2 * kGreetingTanHalfFovy * nearest) < px * kRoundingMargin) return false;
    // Nor does any point show where all corners lie beyond one edge of the view (a half-space) or
    // nearer than the near depth.
    bool beyond[5] = {true, true, true, true, true};
    for (Vec3 p : corners) {
        const Vec3 d = p - cam.eye;
        const float z = Dot(d, cam.f), x = Dot(d, cam.r), y = Dot(d, cam.u);
        const float xEdge = z * kGreetingTanHalfFovy * kGreetingAspect, yEdge = z * kGreetingTanHalfFovy;
        beyond[0] = beyond[0] && x - xEdge > kSideMargin;
        beyond[1] = beyond[1] && -x - xEdge > kSideMargin;
        beyond[2] = beyond[2] && y - yEdge > kSideMargin;
        beyond[3] = beyond[3] && -y - yEdge > kSideMargin;
        beyond[4] = beyond[4] && z < kGreetingNearDepth - kSideMargin;
    }
    for (bool off : beyond)
        if (off) return false;
    return LetterPxOnScreen(g, cam) > px;
}

// Each slab is sampled finely enough along its length that the other cannot slip between the
// samples.
bool CopiesWithinByWalk(const GreetingCopy& a, const GreetingCopy& b, float clearance) {
    for (const GreetingCopy* p : {&a, &b}) {
        const GreetingCopy& other = p == &a ? b : a;
        const int steps = std::max(4, int(p->width / clearance));
        for (int k = 0; k <= steps; ++k)
            for (float v : {-kGreetingBoxBelow, 0.4f, kGreetingBoxAbove})
                if (DistanceToCopy(other, CopyPoint(*p, -0.5f + float(k) / float(steps), v, 0)) < clearance) return true;
    }
    return false;
}

bool CopiesWithin(const GreetingCopy& a, const GreetingCopy& b, float clearance) {
    // Spines farther apart than both half heights and the clearance (and a margin) cannot come
    // within it: most pairs end here.
    const double apart = SegmentsApart(CopyPoint(a, -0.5f, kSpineV, 0), CopyPoint(a, 0.5f, kSpineV, 0),
                                       CopyPoint(b, -0.5f, kSpineV, 0), CopyPoint(b, 0.5f, kSpineV, 0));
    if (apart > ((a.letterHeight + b.letterHeight) * kHalfHeight + clearance) * 1.01 + 1e-3) return false;
    return CopiesWithinByWalk(a, b, clearance);
}

bool HidesSightByWalk(const GreetingCopy& front, const GreetingCopy& back, const GreetingCamera& cam) {
    for (Vec3 p : SightPoints(back))
        if (SegmentHitsCopy(front, cam.eye, p)) return true;
    return false;
}

int SightSide(const GreetingCopy& front, const GreetingCopy& back) {
    // The sight points lie on one line across `back`: where both its ends stand clearly on one
    // side of the plane, so do all of them.
    const float firstSide = Dot(CopyPoint(back, -0.45f, 0.4f, 0.5f) - front.origin, front.out);
    const float lastSide = Dot(CopyPoint(back, 0.45f, 0.4f, 0.5f) - front.origin, front.out);
    if (firstSide > kGreetingSideMargin && lastSide > kGreetingSideMargin) return 1;
    if (firstSide < -kGreetingSideMargin && lastSide < -kGreetingSideMargin) return -1;
    return 0;
}

bool HidesSight(const GreetingCopy& front, const GreetingCopy& back, const GreetingCamera& cam, int side) {
    // An eye clearly on the same side as every sight point sees them all past `front`.
    const float eyeSide = Dot(cam.eye - front.origin, front.out);
    if (side > 0 && eyeSide > kGreetingSideMargin) return false;
    if (side < 0 && eyeSide < -kGreetingSideMargin) return false;
    // One clearly on the other side sees every sight point through the plane, and the points
    // where those lines cross it lie on one segment (a line seen from a point meets a plane in a
    // line): the segment between the crossings of the first and last sight lines. Where both ends
    // lie beyond one edge of the outline, no crossing is inside it.
    if (side != 0 && eyeSide * float(side) < -kGreetingSideMargin) {
        float s[2], v[2];
        for (int k = 0; k < 2; ++k) {
            const Vec3 p = CopyPoint(back, k ? 0.45f : -0.45f, 0.4f, 0.5f);
            const Vec3 d = p - cam.eye;
            const Vec3 h = cam.eye + d * (-eyeSide / Dot(d, front.out)) - front.origin;
            s[k] = Dot(h, front.across), v[k] = Dot(h, front.up);
        }
        const float halfWidth = front.width / 2 + kGreetingSideMargin;
        const float below = -kGreetingBoxBelow * front.letterHeight - kGreetingSideMargin;
        const float above = kGreetingBoxAbove * front.letterHeight + kGreetingSideMargin;
        if ((s[0] > halfWidth && s[1] > halfWidth) || (s[0] < -halfWidth && s[1] < -halfWidth) ||
            (v[0] < below && v[1] < below) || (v[0] > above && v[1] > above))
            return false;
    }
    return HidesSightByWalk(front, back, cam);
}

bool HidesSight(const GreetingCopy& front, const GreetingCopy& back, const GreetingCamera& cam) {
    return HidesSight(front, back, cam, SightSide(front, back));
}

namespace {

// The part of a quadrilateral inside the frame: a convex polygon of at most 8 corners, its bounds
// and its edges' normals (as long as the edges).
struct ScreenOutline {
    std::array<float, 8> x{}, y{}, nx{}, ny{};
    size_t n = 0;  // corners; under 3 when nothing of it is inside the frame
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Keeps the part of `p` where sign * (its x or y - limit) <= 0 (Sutherland-Hodgman, one edge).
ScreenOutline ClipEdge(const ScreenOutline& p, bool alongX, float limit, float sign) {
    ScreenOutline out;
    auto inside = [&](size_t k) { return sign * ((alongX ? p.x[k] : p.y[k]) - limit) <= 0; };
    for (size_t k = 0; k < p.n; ++k) {
        const size_t j = (k + 1) % p.n;
        const bool in = inside(k), nextIn = inside(j);
        if (in && out.n < 8) out.x[out.n] = p.x[k], out.y[out.n++] = p.y[k];
        if (in != nextIn && out.n < 8) {
            const float ck = alongX ? p.x[k] : p.y[k], cj = alongX ? p.x[j] : p.y[j];
            const float t = (limit - ck) / (cj - ck);
            out.x[out.n] = p.x[k] + t * (p.x[j] - p.x[k]), out.y[out.n++] = p.y[k] + t * (p.y[j] - p.y[k]);
        }
    }
    return out;
}

ScreenOutline ClipToFrame(const ScreenQuad& quad, const ScreenFrame& frame) {
    ScreenOutline o;
    for (size_t k = 0; k < 4; ++k) o.x[k] = quad.x[k], o.y[k] = quad.y[k];
    o.n = 4;
    const auto [x0, x1] = std::minmax({quad.x[0], quad.x[1], quad.x[2], quad.x[3]});
    const auto [y0, y1] = std::minmax({quad.y[0], quad.y[1], quad.y[2], quad.y[3]});
    if (x0 < frame.x0) o = ClipEdge(o, true, frame.x0, -1);  // most outlines cross no edge
    if (x1 > frame.x1) o = ClipEdge(o, true, frame.x1, 1);
    if (y0 < frame.y0) o = ClipEdge(o, false, frame.y0, -1);
    if (y1 > frame.y1) o = ClipEdge(o, false, frame.y1, 1);
    if (o.n < 3) {
        o.n = 0;
        return o;
    }
    o.x0 = o.x1 = o.x[0], o.y0 = o.y1 = o.y[0];
    for (size_t k = 0; k < o.n; ++k) {
        o.x0 = std::min(o.x0, o.x[k]), o.x1 = std::max(o.x1, o.x[k]);
        o.y0 = std::min(o.y0, o.y[k]), o.y1 = std::max(o.y1, o.y[k]);
        const size_t j = (k + 1) % o.n;
        o.nx[k] = o.y[k] - o.y[j], o.ny[k] = o.x[j] - o.x[k];  // not unit: see OutlinesOverlap
    }
    return o;
}

bool OutlinesOverlap(const ScreenOutline& a, const ScreenOutline& b, float margin) {
    if (a.n < 3 || b.n < 3) return false;
    if (a.x1 + margin < b.x0 || b.x1 + margin < a.x0 || a.y1 + margin < b.y0 || b.y1 + margin < a.y0) return false;
    // Separated along axis (nx, ny) by more than the margin? The axis need not be unit: the gap
    // is compared with the margin times its length, squared (a zero axis never separates).
    auto apart = [&](float nx, float ny) {
        const float length2 = nx * nx + ny * ny;
        if (length2 == 0) return false;
        float a0 = 1e30f, a1 = -1e30f, b0 = 1e30f, b1 = -1e30f;
        for (size_t k = 0; k < a.n; ++k) {
            const float p = a.x[k] * nx + a.y[k] * ny;
            a0 = std::min(a0, p), a1 = std::max(a1, p);
        }
        for (size_t k = 0; k < b.n; ++k) {
            const float p = b.x[k] * nx + b.y[k] * ny;
            b0 = std::min(b0, p), b1 = std::max(b1, p);
        }
        const float gap = std::max(b0 - a1, a0 - b1);
        return gap > 0 && gap * gap > margin * margin * length2;
    };
    for (size_t k = 0; k < a.n; ++k)
        if (apart(a.nx[k], a.ny[k])) return false;
    for (size_t k = 0; k < b.n; ++k)
        if (apart(b.nx[k], b.ny[k])) return false;
    return true;
}

}  // namespace

bool QuadsOverlapInFrame(const ScreenQuad& a, const ScreenQuad& b, float margin, const ScreenFrame& frame) {
    auto [ax0, ax1] = std::minmax({a.x[0], a.x[1], a.x[2], a.x[3]});
    auto [bx0, bx1] = std::minmax({b.x[0], b.x[1], b.x[2], b.x[3]});
    ax0 = std::max(ax0, frame.x0), ax1 = std::min(ax1, frame.x1), bx0 = std::max(bx0, frame.x0), bx1 = std::min(bx1, frame.x1);
    if (ax1 + margin < bx0 || bx1 + margin < ax0) return false;
    auto [ay0, ay1] = std::minmax({a.y[0], a.y[1], a.y[2], a.y[3]});
    auto [by0, by1] = std::minmax({b.y[0], b.y[1], b.y[2], b.y[3]});
    ay0 = std::max(ay0, frame.y0), ay1 = std::min(ay1, frame.y1), by0 = std::max(by0, frame.y0), by1 = std::min(by1, frame.y1);
    if (ay1 + margin < by0 || by1 + margin < ay0) return false;
    return OutlinesOverlap(ClipToFrame(a, frame), ClipToFrame(b, frame), margin);
}

float SegmentLengthInFrame(float x0, float y0, float x1, float y1, const ScreenFrame& frame) {
    // The segment's parameters where it is inside each pair of the frame's edges, narrowed in turn.
    const float dx = x1 - x0, dy = y1 - y0;
    float t0 = 0, t1 = 1;
    auto keep = [&](float from, float d, float lo, float hi) {
        if (std::fabs(d) < 1e-12f) return from >= lo && from <= hi;
        float a = (lo - from) / d, b = (hi - from) / d;
        if (a > b) std::swap(a, b);
        t0 = std::max(t0, a), t1 = std::min(t1, b);
        return t0 < t1;
    };
    if (!keep(x0, dx, frame.x0, frame.x1) || !keep(y0, dy, frame.y0, frame.y1)) return 0;
    return (t1 - t0) * std::hypot(dx, dy);
}

}  // namespace Datagen
