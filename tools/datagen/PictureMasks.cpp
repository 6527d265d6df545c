// PictureMasks: the masked-blur maps (red channel: 0 sharp, 1 blurred), the light-ray sprite
// and the flat normal map. The blur maps cover the 4:3 screen, so their shapes are measured in
// screen proportions: a circle here is a circle on screen.
#include "Palette.h"
#include "Pictures.h"

#include <cmath>

namespace Datagen {

namespace {

// The masks are smooth: stretched over the 1024 x 768 view with the linear filter, 128 texels
// across give the radial and band masks' ramps, and 256 the rings' shoulders, as 512 did.
constexpr int kMaskSize = 128, kRingMaskSize = 256;
constexpr float kScreenAspect = 4.0f / 3.0f;
constexpr float kPi = 3.14159265358979f;

Image GreyImage(const Field& f) {
    Image image(f.width, f.height);
    for (size_t i = 0; i < f.values.size(); ++i) {
        float v = Clamp01(f.values[i]);
        image.pixels[i] = {v, v, v, 1.0f};
    }
    return image;
}

// Screen-proportioned coordinates of a texel centre: x in [-2/3, 2/3], y in [-1/2, 1/2].
Vec2 ScreenPoint(int x, int y, int size) {
    return {((x + 0.5f) / size - 0.5f) * kScreenAspect, (y + 0.5f) / size - 0.5f};
}

// Radial vignette: sharp inside a circle of a third of the screen height, fully blurred at the
// screen's edges.
Field BlurMapField() {
    Field f(kMaskSize, kMaskSize);
    for (int y = 0; y < kMaskSize; ++y)
        for (int x = 0; x < kMaskSize; ++x) {
            Vec2 p = ScreenPoint(x, y, kMaskSize);
            float r = std::sqrt(p.x * p.x + p.y * p.y);
            f.At(x, y) = Smoothstep(0.17f, 0.62f, r);
        }
    return f;
}

// Horizontal band: the middle third of the height sharp, top and bottom blurred.
Field BlurMapIIField() {
    Field f(kMaskSize, kMaskSize);
    for (int y = 0; y < kMaskSize; ++y) {
        float d = std::fabs((y + 0.5f) / kMaskSize - 0.5f);
        float v = Smoothstep(1.0f / 6.0f, 0.40f, d);
        for (int x = 0; x < kMaskSize; ++x) f.At(x, y) = v;
    }
    return f;
}

// Concentric rings: sharp centre, then alternating blurred and sharp rings out to the corners.
Field BlurSelvoField() {
    Field f(kRingMaskSize, kRingMaskSize);
    constexpr float kRings = 4.5f;  // rings between the centre and the screen's corner
    for (int y = 0; y < kRingMaskSize; ++y)
        for (int x = 0; x < kRingMaskSize; ++x) {
            Vec2 p = ScreenPoint(x, y, kRingMaskSize);
            float r = std::sqrt(p.x * p.x + p.y * p.y) / 0.8334f;
            float wave = 0.5f - 0.5f * std::cos(2.0f * kPi * kRings * r);
            // Sharpen the wave into rings with soft shoulders.
            f.At(x, y) = Smoothstep(0.15f, 0.85f, wave) * Smoothstep(0.02f, 0.12f, r);
        }
    return f;
}

// The light-ray sprite: s (left to right) runs along the ray from its root to its tip,
// t (rows) across it. Alpha is a soft Gaussian across, bright at the root and fading to nothing
// at the tip, with faint streaks along its length; the colour cools from white to cyan.
Image RayAlpha() {
    constexpr int kW = 256, kH = 256;
    Image image(kW, kH);
    Rgba core = kIceWhite, rim = kCyanGlass;
    for (int y = 0; y < kH; ++y) {
        float t = (y + 0.5f) / kH * 2.0f - 1.0f;
        for (int x = 0; x < kW; ++x) {
            float s = (x + 0.5f) / kW;
            // Streaks: noise stretched along the ray, tiling across.
            float streak = Fbm(s * 2.0f, (t * 0.5f + 0.5f) * 24.0f, 24, 3, 0x5A11u);
            float width = 0.30f * (1.0f - 0.45f * s);  // narrows towards the tip
            float across = std::exp(-(t * t) / (width * width));
            float hot = std::exp(-(t * t) / (0.05f * 0.05f)) * (1.0f - s);
            float along = Smoothstep(0.0f, 0.05f, s) * std::pow(1.0f - s, 1.4f);
            float a = Clamp01((across * (0.75f + 0.5f * streak) * 0.8f + hot * 0.5f) * along);
            // Fade the outermost texels to exactly zero so no edge shows when clamped.
            float edge = Smoothstep(0.0f, 0.04f, 1.0f - std::fabs(t)) * Smoothstep(0.0f, 0.01f, 1.0f - s);
            Rgba c = Mix(rim, core, Clamp01(across * 0.6f + hot));
            c.a = a * edge;
            image.At(x, y) = c;
        }
    }
    return image;
}

}  // namespace

PictureList PaintMaskPictures(TextPainter&) {
    PictureList list;
    list.push_back({PicturePath(&R::texBlurMap), PictureFormat::PngRgb, GreyImage(BlurMapField())});
    list.push_back({PicturePath(&R::texBlurMapII), PictureFormat::PngRgb, GreyImage(BlurMapIIField())});
    list.push_back({PicturePath(&R::texBlurSelvo), PictureFormat::PngRgb, GreyImage(BlurSelvoField())});
    list.push_back({PicturePath(&R::texRayAlpha), PictureFormat::PngRgba, RayAlpha()});
    // The flat normal: (0, 0, 1) encoded, exactly (128, 128, 255) in every texel.
    constexpr float kHalf = 128.0f / 255.0f;
    list.push_back({PicturePath(&R::texFlatNormal), PictureFormat::PngRgb, Image(128, 128, {kHalf, kHalf, 1.0f, 1.0f}), false});
    return list;
}

}  // namespace Datagen
