// Paint: noise, blur, normal maps and polygon distances for the picture generator.
#include "Paint.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

float Smoothstep(float edge0, float edge1, float x) {
    float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

uint32_t Hash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343u ^ static_cast<uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

float Hash01(int x, int y, uint32_t seed) { return (Hash(x, y, seed) >> 8) * (1.0f / 16777216.0f); }

namespace {

inline int WrapIndex(int i, int period) {
    int r = i % period;
    return r < 0 ? r + period : r;
}

inline float Quintic(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

}  // namespace

float ValueNoise(float x, float y, int period, uint32_t seed) {
    float fx = std::floor(x), fy = std::floor(y);
    int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = Quintic(x - fx), ty = Quintic(y - fy);
    int x0 = WrapIndex(ix, period), x1 = WrapIndex(ix + 1, period);
    int y0 = WrapIndex(iy, period), y1 = WrapIndex(iy + 1, period);
    float a = Hash01(x0, y0, seed), b = Hash01(x1, y0, seed);
    float c = Hash01(x0, y1, seed), d = Hash01(x1, y1, seed);
    return Lerp(Lerp(a, b, tx), Lerp(c, d, tx), ty);
}

namespace {

// Next octave's coordinates: (x, y) -> (2x + y, 2y - x), about 2.24 times the frequency,
// turned by 26.6 degrees. Turning hides the lattice's grid; the integer matrix keeps a
// whole-lattice shift a whole-lattice shift, so every octave tiles with the same period.
inline void NextOctave(float& x, float& y) {
    float nx = 2.0f * x + y;
    y = 2.0f * y - x;
    x = nx;
}

}  // namespace

float Fbm(float x, float y, int period, int octaves, uint32_t seed, float gain) {
    float sum = 0, amplitude = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += ValueNoise(x, y, period, seed + static_cast<uint32_t>(o) * 101u) * amplitude;
        total += amplitude;
        amplitude *= gain;
        NextOctave(x, y);
    }
    return sum / total;
}

float RidgedFbm(float x, float y, int period, int octaves, uint32_t seed, float gain) {
    float sum = 0, amplitude = 1, total = 0;
    for (int o = 0; o < octaves; ++o) {
        float n = ValueNoise(x, y, period, seed + static_cast<uint32_t>(o) * 131u);
        float r = 1.0f - std::fabs(2.0f * n - 1.0f);
        sum += r * r * amplitude;
        total += amplitude;
        amplitude *= gain;
        NextOctave(x, y);
    }
    return sum / total;
}

Cell Cellular(float x, float y, int period, uint32_t seed, float jitter) {
    // A 5 x 5 neighbourhood: with strong jitter the nearest two points may lie two cells away.
    Cell cell;
    float best1 = 1e30f, best2 = 1e30f;
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    for (int oy = -2; oy <= 2; ++oy) {
        for (int ox = -2; ox <= 2; ++ox) {
            int cx = ix + ox, cy = iy + oy;
            int wx = WrapIndex(cx, period), wy = WrapIndex(cy, period);
            float px = cx + 0.5f + (Hash01(wx, wy, seed) - 0.5f) * jitter;
            float py = cy + 0.5f + (Hash01(wx, wy, seed + 7u) - 0.5f) * jitter;
            float dx = x - px, dy = y - py;
            float d2 = dx * dx + dy * dy;
            if (d2 < best1) {
                best2 = best1;
                best1 = d2;
                cell.id = Hash(wx, wy, seed + 13u);
                cell.dx = dx;
                cell.dy = dy;
            } else if (d2 < best2) {
                best2 = d2;
            }
        }
    }
    cell.f1 = std::sqrt(best1);
    cell.f2 = std::sqrt(best2);
    return cell;
}

Field FbmField(int w, int h, int period, int octaves, uint32_t seed, float gain) {
    Field field(w, h);
    float scale = static_cast<float>(period) / w;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) field.At(x, y) = Fbm(x * scale, y * scale, period, octaves, seed, gain);
    return field;
}

namespace {

// One box pass of radius r over `n` samples spaced `stride` apart, wrapping or clamping.
void BoxLine(float* data, int n, int stride, int r, bool wrap, std::vector<float>& scratch) {
    if (r <= 0) return;
    scratch.resize(n);
    for (int i = 0; i < n; ++i) scratch[i] = data[static_cast<size_t>(i) * stride];
    auto sample = [&](int i) {
        if (wrap) return scratch[WrapIndex(i, n)];
        return scratch[std::clamp(i, 0, n - 1)];
    };
    float sum = 0;
    for (int i = -r; i <= r; ++i) sum += sample(i);
    float norm = 1.0f / (2 * r + 1);
    for (int i = 0; i < n; ++i) {
        data[static_cast<size_t>(i) * stride] = sum * norm;
        sum += sample(i + r + 1) - sample(i - r);
    }
}

// Box radius for three passes approximating a Gaussian of this sigma.
int BoxRadius(float sigma) {
    if (sigma <= 0.0f) return 0;
    return std::max(1, static_cast<int>(std::lround(std::sqrt(4.0f * sigma * sigma + 1.0f) / 2.0f - 0.5f)));
}

void BlurPlane(float* data, int w, int h, int pixelStride, float sigmaX, float sigmaY, bool wrap) {
    std::vector<float> scratch;
    int rx = BoxRadius(sigmaX), ry = BoxRadius(sigmaY);
    for (int pass = 0; pass < 3; ++pass) {
        if (rx > 0)
            for (int y = 0; y < h; ++y) BoxLine(data + static_cast<size_t>(y) * w * pixelStride, w, pixelStride, rx, wrap, scratch);
        if (ry > 0)
            for (int x = 0; x < w; ++x) BoxLine(data + static_cast<size_t>(x) * pixelStride, h, w * pixelStride, ry, wrap, scratch);
    }
}

}  // namespace

void Blur(Field& field, float sigmaX, float sigmaY, bool wrap) {
    BlurPlane(field.values.data(), field.width, field.height, 1, sigmaX, sigmaY, wrap);
}

void Blur(Image& image, float sigmaX, float sigmaY, bool wrap) {
    float* base = reinterpret_cast<float*>(image.pixels.data());
    for (int c = 0; c < 4; ++c) BlurPlane(base + c, image.width, image.height, 4, sigmaX, sigmaY, wrap);
}

Field StreakField(int w, int h, uint32_t seed, float sigmaX, float sigmaY) {
    Field f(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) f.At(x, y) = Hash01(x, y, seed) - 0.5f;
    Blur(f, sigmaX, sigmaY, true);
    float peak = 1e-6f;
    for (float v : f.values) peak = std::max(peak, std::fabs(v));
    for (float& v : f.values) v /= peak;
    return f;
}

Image NormalMapFromHeight(const Field& height, float strength) {
    Image out(height.width, height.height);
    for (int y = 0; y < height.height; ++y) {
        for (int x = 0; x < height.width; ++x) {
            // Sobel gradients: smoother than central differences on noisy fields.
            float tl = height.Wrap(x - 1, y - 1), t = height.Wrap(x, y - 1), tr = height.Wrap(x + 1, y - 1);
            float l = height.Wrap(x - 1, y), r = height.Wrap(x + 1, y);
            float bl = height.Wrap(x - 1, y + 1), b = height.Wrap(x, y + 1), br = height.Wrap(x + 1, y + 1);
            float dx = ((tr + 2 * r + br) - (tl + 2 * l + bl)) / 8.0f;
            float dyDown = ((bl + 2 * b + br) - (tl + 2 * t + tr)) / 8.0f;
            // Up the picture is -row: dh/dup = -dyDown.
            float nx = -dx * strength, ny = dyDown * strength, nz = 1.0f;
            float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            out.At(x, y) = {0.5f + 0.5f * nx / len, 0.5f + 0.5f * ny / len, 0.5f + 0.5f * nz / len, 1.0f};
        }
    }
    return out;
}

float PolygonDistance(const std::vector<Vec2>& v, Vec2 p) {
    size_t n = v.size();
    float d = 1e30f;
    int winding = 0;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        Vec2 e{v[i].x - v[j].x, v[i].y - v[j].y};
        Vec2 w{p.x - v[j].x, p.y - v[j].y};
        float t = std::clamp((w.x * e.x + w.y * e.y) / (e.x * e.x + e.y * e.y), 0.0f, 1.0f);
        float bx = w.x - e.x * t, by = w.y - e.y * t;
        d = std::min(d, bx * bx + by * by);
        // Winding number by upward / downward edge crossings.
        bool up = v[j].y <= p.y && v[i].y > p.y;
        bool down = v[j].y > p.y && v[i].y <= p.y;
        float cross = e.x * w.y - e.y * w.x;
        if (up && cross > 0) ++winding;
        if (down && cross < 0) --winding;
    }
    float dist = std::sqrt(d);
    return winding != 0 ? -dist : dist;
}

float ShapeDistance(const std::vector<std::vector<Vec2>>& shape, Vec2 p) {
    float d = 1e30f;
    for (const auto& polygon : shape) d = std::min(d, PolygonDistance(polygon, p));
    return d;
}

}  // namespace Datagen
