// cScreenExtent: screen bounds of projected points and of a zoom blur's reach, in double
// precision; the conversions err outwards so a bounded pass never loses a lit fragment.
#include "render/ScreenExtent.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace VantorGL {

namespace {
constexpr double kInfinity = cScreenExtent::kInfinity;
// Clip w at or below this is treated as the eye's plane: the corner has no place on the screen.
constexpr double kEyePlaneW = 1e-6;
}  // namespace

void cScreenExtent::Clear() {
    x0 = y0 = kInfinity;
    x1 = y1 = -kInfinity;
}

void cScreenExtent::SetWhole() {
    x0 = y0 = -kInfinity;
    x1 = y1 = kInfinity;
}

void cScreenExtent::AddPoints(const float* xyz, int count) {
    if (count <= 0) return;
    GLdouble modelView[16], projection[16];  // column-major
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    double m[16];  // projection x model-view
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += projection[k * 4 + row] * modelView[column * 4 + k];
            m[column * 4 + row] = sum;
        }
    double lowX = x0, lowY = y0, highX = x1, highY = y1;
    for (int i = 0; i < count; ++i) {
        const double x = xyz[i * 3], y = xyz[i * 3 + 1], z = xyz[i * 3 + 2];
        const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
        if (w <= kEyePlaneW) {
            SetWhole();
            return;
        }
        const double u = 0.5 + 0.5 * (m[0] * x + m[4] * y + m[8] * z + m[12]) / w;
        const double v = 0.5 + 0.5 * (m[1] * x + m[5] * y + m[9] * z + m[13]) / w;
        lowX = std::min(lowX, u), highX = std::max(highX, u);
        lowY = std::min(lowY, v), highY = std::max(highY, v);
    }
    x0 = lowX, y0 = lowY, x1 = highX, y1 = highY;
}

cScreenExtent cScreenExtent::ZoomBlurReach(double centreX, double centreY, double start, double scale,
                                           double margin) const {
    cScreenExtent reach;
    reach.Clear();
    // The source as the sampler sees it: cut to the view, widened by the filter, and unbounded
    // on a side where it touches the edge (clamped taps beyond it read the edge's texels).
    double lo[2] = {std::max(x0, 0.0), std::max(y0, 0.0)};
    double hi[2] = {std::min(x1, 1.0), std::min(y1, 1.0)};
    if (lo[0] > hi[0] || lo[1] > hi[1]) return reach;  // nothing of it in the view: black
    const double centre[2] = {centreX, centreY};
    const double sLow = std::min(start, start + scale), sHigh = std::max(start, start + scale);
    if (sLow <= 0.0) {
        reach.SetWhole();
        return reach;
    }
    double out[4];
    for (int axis = 0; axis < 2; ++axis) {
        const double a = lo[axis] - margin <= 0.0 ? -kInfinity : lo[axis] - margin;
        const double b = hi[axis] + margin >= 1.0 ? kInfinity : hi[axis] + margin;
        // Offsets d with d * s in [a - c, b - c] for some s in [sLow, sHigh].
        const double da = a - centre[axis], db = b - centre[axis];
        out[axis] = centre[axis] + std::min(da / sLow, da / sHigh) - margin;
        out[axis + 2] = centre[axis] + std::max(db / sLow, db / sHigh) + margin;
    }
    reach.x0 = out[0], reach.y0 = out[1], reach.x1 = out[2], reach.y1 = out[3];
    return reach;
}

bool cScreenExtent::ScissorBox(const GLint viewport[4], double quadOverlap, GLint box[4]) const {
    if (Empty()) return false;
    // Texture coordinate u lands at 0.5 + (u - 0.5) * overlap of the view.
    const auto pixel = [&](double u, int axis) {
        const double f = 0.5 + (u - 0.5) * quadOverlap;
        return std::clamp(f, 0.0, 1.0) * double(viewport[2 + axis]);
    };
    const int left = int(std::floor(pixel(x0, 0))), right = int(std::ceil(pixel(x1, 0)));
    const int bottom = int(std::floor(pixel(y0, 1))), top = int(std::ceil(pixel(y1, 1)));
    if (right <= left || top <= bottom) return false;
    box[0] = viewport[0] + left;
    box[1] = viewport[1] + bottom;
    box[2] = right - left;
    box[3] = top - bottom;
    return true;
}

}  // namespace VantorGL
