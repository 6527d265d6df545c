// PaintLayer: coverage fills, glows, rectangles and the bevelled MV logo.
#include "PaintLayer.h"

#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

void FillCoverage(Image& image, const Field& coverage, const Rgba& colour) {
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        float c = coverage.values[i];
        if (c > 0.0f) Over(image.pixels[i], colour, c);
    }
}

Field GlowOf(const Field& coverage, float sigma, float gain) {
    Field glow = coverage;
    Blur(glow, sigma, sigma, false);
    for (float& v : glow.values) v = std::min(1.0f, v * gain);
    return glow;
}

namespace {

// Logo-space point (2 x 1 box, y up) of a pixel centre.
Vec2 LogoPoint(int x, int y, float cx, float cy, float height, float xScale) {
    return {(x + 0.5f - cx) / (height * xScale) + 1.0f, (cy - (y + 0.5f)) / height + 0.5f};
}

struct Bounds {
    int x0, y0, x1, y1;
};

Bounds LogoBounds(int width, int imageHeight, float cx, float cy, float height, float xScale, float pad) {
    float hw = height * xScale + pad, hh = height * 0.5f + pad;
    return {std::max(0, static_cast<int>(cx - hw)), std::max(0, static_cast<int>(cy - hh)),
            std::min(width - 1, static_cast<int>(cx + hw) + 1), std::min(imageHeight - 1, static_cast<int>(cy + hh) + 1)};
}

}  // namespace

void DrawLogoCoverage(Field& coverage, float cx, float cy, float height, float xScale) {
    static const auto shape = MVLogoShape();
    Bounds b = LogoBounds(coverage.width, coverage.height, cx, cy, height, xScale, 2.0f);
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x) {
            float d = ShapeDistance(shape, LogoPoint(x, y, cx, cy, height, xScale)) * height;
            float c = Clamp01(0.5f - d);
            coverage.At(x, y) = std::max(coverage.At(x, y), c);
        }
}

void PaintBevelledLogo(Image& image, float cx, float cy, float height, float xScale, const Rgba& face,
                       const Rgba& light, const Rgba& shadow) {
    static const auto shape = MVLogoShape();
    Bounds b = LogoBounds(image.width, image.height, cx, cy, height, xScale, 2.0f);
    const float bevel = 0.07f;             // bevel width in logo units (of the 1-unit height)
    const float lx = -0.55f, ly = 0.65f;  // light from the upper left, in the picture plane
    const float eps = 0.5f / height;
    for (int y = b.y0; y <= b.y1; ++y)
        for (int x = b.x0; x <= b.x1; ++x) {
            Vec2 p = LogoPoint(x, y, cx, cy, height, xScale);
            float d = ShapeDistance(shape, p);
            float cover = Clamp01(0.5f - d * height);
            if (cover <= 0.0f) continue;
            float depth = -d;
            // Outward direction of the nearest edge from the distance gradient.
            float gx = ShapeDistance(shape, {p.x + eps, p.y}) - ShapeDistance(shape, {p.x - eps, p.y});
            float gy = ShapeDistance(shape, {p.x, p.y + eps}) - ShapeDistance(shape, {p.x, p.y - eps});
            float gl = std::sqrt(gx * gx + gy * gy) + 1e-6f;
            gx /= gl;
            gy /= gl;
            float onBevel = 1.0f - Smoothstep(bevel * 0.8f, bevel * 1.1f, depth);
            // The bevel faces outwards: lit where its outward direction meets the light.
            float facing = gx * lx + gy * ly;  // -1 .. 1
            Rgba bevelColour = facing >= 0.0f ? Mix(face, light, facing) : Mix(face, shadow, -facing);
            // A gentle vertical gradient across the top face.
            Rgba top = Mix(face, light, Clamp01(p.y * 0.35f));
            Rgba c = Mix(top, bevelColour, onBevel);
            c.a = face.a;
            Over(image.At(x, y), c, cover);
        }
}

void DrawRect(Field& coverage, float x0, float y0, float x1, float y1) {
    int ix0 = std::max(0, static_cast<int>(std::floor(x0))), iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    int ix1 = std::min(coverage.width - 1, static_cast<int>(std::ceil(x1)));
    int iy1 = std::min(coverage.height - 1, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y <= iy1; ++y) {
        // Exact area of the pixel square [y, y+1] inside [y0, y1 + 1].
        float cy = Clamp01(std::min(y + 1.0f, y1 + 1.0f) - std::max(static_cast<float>(y), y0));
        for (int x = ix0; x <= ix1; ++x) {
            float cx = Clamp01(std::min(x + 1.0f, x1 + 1.0f) - std::max(static_cast<float>(x), x0));
            float& c = coverage.At(x, y);
            c = std::max(c, cx * cy);
        }
    }
}

void DrawRectOutline(Field& coverage, float x0, float y0, float x1, float y1, float thickness) {
    float t = thickness - 1.0f;
    DrawRect(coverage, x0, y0, x1, y0 + t);
    DrawRect(coverage, x0, y1 - t, x1, y1);
    DrawRect(coverage, x0, y0, x0 + t, y1);
    DrawRect(coverage, x1 - t, y0, x1, y1);
}

}  // namespace Datagen
