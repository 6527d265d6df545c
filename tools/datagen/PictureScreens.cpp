// PictureScreens: the pictures that cover the whole screen: the two overlays laid over every
// frame, the fade picture scenes fade from and to, the title picture and the loading picture.
// All are 1024 x 1024 and stretched by the demo to the 4:3 screen (the loading picture further,
// see below), so shapes and glyphs are painted pre-squeezed horizontally.
#include "PaintLayer.h"
#include "Palette.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

namespace {

constexpr int kScreenSize = 1024;
// A square picture on the 4:3 full-screen quad: one texel is 4/3 as wide as it is tall.
constexpr float kScreenSqueeze = 3.0f / 4.0f;

// og2: soft vignette, faint scanlines and a hairline frame. Colour everywhere is the navy of the
// vignette so linear filtering never pulls another colour into the frame's edges.
Image PaintOg2() {
    Image image(kScreenSize, kScreenSize, Hex(kDeepNavy, 0.0f));
    constexpr int kScanlinePeriod = 4;  // texels: 256 lines over the screen height
    for (int y = 0; y < kScreenSize; ++y) {
        float v = (y + 0.5f) / kScreenSize * 2.0f - 1.0f;
        float scan = 0.5f + 0.5f * std::cos(2.0f * 3.14159265f * (y + 0.5f) / kScanlinePeriod);
        for (int x = 0; x < kScreenSize; ++x) {
            float u = (x + 0.5f) / kScreenSize * 2.0f - 1.0f;
            // Superellipse distance: follows the screen's rectangle more than a circle would.
            float e = std::pow(std::pow(std::fabs(u), 3.0f) + std::pow(std::fabs(v), 3.0f), 1.0f / 3.0f);
            float vignette = 0.50f * std::pow(Smoothstep(0.55f, 1.30f, e), 1.4f);
            float lines = 0.055f * scan;
            image.At(x, y).a = 1.0f - (1.0f - vignette) * (1.0f - lines);
        }
    }
    // Hairline frame 4 % in from the edges (the quad overflows the screen by about 1.6 %).
    Field frame(kScreenSize, kScreenSize);
    float ix = kScreenSize * 0.04f, iy = kScreenSize * 0.04f;
    DrawRectOutline(frame, ix, iy, kScreenSize - 1 - ix, kScreenSize - 1 - iy, 1.5f);
    FillCoverage(image, frame, Hex(kIceWhite, 0.20f));
    return image;
}

// og3: corner brackets and the small group tag in the lower right corner.
Image PaintOg3(TextPainter& text) {
    Image image(kScreenSize, kScreenSize, Hex(kIceWhite, 0.0f));
    Field marks(kScreenSize, kScreenSize);
    const float inset = kScreenSize * 0.055f;
    const float armY = kScreenSize * 0.05f, armX = armY * kScreenSqueeze;  // equal on screen
    const float thickY = 3.0f, thickX = thickY * kScreenSqueeze + 0.5f;
    const float lo = inset, hi = kScreenSize - 1 - inset;
    for (int corner = 0; corner < 4; ++corner) {
        bool right = corner & 1, bottom = corner & 2;
        float x = right ? hi : lo, y = bottom ? hi : lo;
        float hx0 = right ? x - armX : x, hx1 = right ? x : x + armX;
        float hy0 = bottom ? y - thickY + 1 : y, hy1 = bottom ? y : y + thickY - 1;
        DrawRect(marks, hx0, hy0, hx1, hy1);
        float vx0 = right ? x - thickX + 1 : x, vx1 = right ? x : x + thickX - 1;
        float vy0 = bottom ? y - armY : y, vy1 = bottom ? y : y + armY;
        DrawRect(marks, vx0, vy0, vx1, vy1);
    }
    // Small ticks at the middle of the top and bottom edges.
    for (float y : {lo, hi - 9.0f}) DrawRect(marks, kScreenSize * 0.5f - 1.0f, y, kScreenSize * 0.5f, y + 9.0f);
    FillCoverage(image, marks, Hex(kIceWhite, 0.50f));

    // Group tag: the MV logo and the group's name, right-aligned inside the lower right bracket.
    Field tag(kScreenSize, kScreenSize);
    const float logoH = 26.0f;
    const float tagRight = hi - 20.0f, tagBase = hi - 18.0f;
    TextStyle style{15.0f, kScreenSqueeze, 0.32f};
    TextExtent name = text.Measure("MORAVEL", style);
    float nameX = tagRight - name.advance;
    text.Draw(tag, "MORAVEL", style, nameX, tagBase);
    float logoW = logoH * 2.0f * kScreenSqueeze;
    DrawLogoCoverage(tag, nameX - 10.0f - logoW * 0.5f, tagBase - logoH * 0.5f + 1.0f, logoH, kScreenSqueeze);
    FillCoverage(image, GlowOf(tag, 3.0f, 1.2f), Hex(kDeepNavy, 0.35f));
    FillCoverage(image, tag, Hex(kIceWhite, 0.62f));
    return image;
}

// The fade picture: near white with a faint frosted texture and the title small in the centre.
// It is a JPEG, so nothing may be pure black (that would turn transparent).
Image PaintFadePicture(TextPainter& text) {
    Image image(kScreenSize, kScreenSize);
    constexpr int kPeriod = 8;
    const Rgba frostTint = kFadeFrost;
    for (int y = 0; y < kScreenSize; ++y)
        for (int x = 0; x < kScreenSize; ++x) {
            float fx = static_cast<float>(x) * kPeriod / kScreenSize, fy = static_cast<float>(y) * kPeriod / kScreenSize;
            float cloud = Fbm(fx, fy, kPeriod, 5, 0xB0C5u);
            Cell frost = Cellular(fx * 6.0f, fy * 6.0f, kPeriod * 6, 0xF057u);
            float vein = 1.0f - Smoothstep(0.0f, 0.06f, frost.f2 - frost.f1);
            float grain = Hash01(x, y, 0x6A17u) - 0.5f;
            float u = (x + 0.5f) / kScreenSize - 0.5f, v = (y + 0.5f) / kScreenSize - 0.5f;
            float edge = Smoothstep(0.25f, 0.75f, std::sqrt(u * u + v * v));
            Rgba c = Mix(kIceWhite, frostTint, Clamp01(cloud * 0.6f + edge * 0.45f + vein * 0.45f * cloud));
            float k = 1.0f + grain * 0.025f + (cloud - 0.5f) * 0.03f;
            image.At(x, y) = Scale(c, k);
        }
    Field title(kScreenSize, kScreenSize);
    TextStyle style{34.0f, kScreenSqueeze, 0.55f};
    float c = kScreenSize * 0.5f;
    text.DrawCentered(title, "QUENLITE", style, c + style.tracking * style.pixelHeight * kScreenSqueeze * 0.5f, c);
    TextExtent e = text.Measure("QUENLITE", style);
    float half = e.advance * 0.5f;
    Field lines(kScreenSize, kScreenSize);
    DrawRect(lines, c - half - 150.0f, c - 0.5f, c - half - 30.0f, c + 0.5f);
    DrawRect(lines, c + half + 30.0f, c - 0.5f, c + half + 150.0f, c + 0.5f);
    const Rgba ink = Mix(kGlacierBlue, kDeepNavy, 0.35f);
    FillCoverage(image, lines, Rgba{ink.r, ink.g, ink.b, 0.45f});
    FillCoverage(image, GlowOf(title, 6.0f, 1.0f), Hex(kGlacierBlue, 0.25f));
    FillCoverage(image, title, Rgba{ink.r, ink.g, ink.b, 0.85f});
    return image;
}

// The title picture of the opening: "QUENLITE" large with a soft cyan glow, on transparency.
Image PaintTitlePicture(TextPainter& text) {
    Image image(kScreenSize, kScreenSize, Hex(kCyanGlass, 0.0f));
    TextStyle style{150.0f, kScreenSqueeze, 0.12f};
    Field title(kScreenSize, kScreenSize);
    const float cx = kScreenSize * 0.5f, cy = kScreenSize * 0.5f;
    TextExtent e = text.Measure("QUENLITE", style);
    text.DrawCentered(title, "QUENLITE", style, cx, cy);
    // A thin anamorphic streak through the title: a flare of the glass light.
    Field streak(kScreenSize, kScreenSize);
    for (int y = 0; y < kScreenSize; ++y) {
        float dy = (y + 0.5f - cy) / 3.0f;
        float across = std::exp(-dy * dy);
        if (across < 1e-3f) continue;
        for (int x = 0; x < kScreenSize; ++x) {
            float dx = (x + 0.5f - cx) / (kScreenSize * 0.42f);
            streak.At(x, y) = across * std::exp(-dx * dx * 2.0f);
        }
    }
    FillCoverage(image, GlowOf(title, 40.0f, 1.3f), Hex(kGlacierBlue, 0.45f));
    FillCoverage(image, GlowOf(title, 10.0f, 1.1f), Hex(kCyanGlass, 0.55f));
    FillCoverage(image, streak, Hex(kCyanGlass, 0.45f));
    // The letters: ice white, cooling towards their feet.
    float top = cy - e.ascent * 0.5f - 4.0f, bottom = cy + e.ascent * 0.5f + 4.0f;
    for (int y = 0; y < kScreenSize; ++y) {
        float t = Clamp01((y - top) / (bottom - top));
        Rgba fill = Mix(kIceWhite, Mix(kIceWhite, kCyanGlass, 0.55f), t * t);
        for (int x = 0; x < kScreenSize; ++x) {
            float c = title.At(x, y);
            if (c > 0.0f) Over(image.At(x, y), fill, c);
        }
    }
    return image;
}

// The loading picture is drawn overflowing the window: the quad is scaled 3.08 x 2.08 at
// distance 4 under the 45 degree, 4:3 projection, so the window shows u in about
// [0.141, 0.859] and v in [0.102, 0.898], and a texel is 1.48 times as wide as it is tall.
constexpr float kLoadingSqueeze = 2.08f / 3.08f;

Image PaintLoadingPicture(TextPainter& text) {
    Image image(kScreenSize, kScreenSize);
    const float cx = kScreenSize * 0.5f, cy = kScreenSize * 0.5f;
    constexpr int kPeriod = 4;
    for (int y = 0; y < kScreenSize; ++y)
        for (int x = 0; x < kScreenSize; ++x) {
            float u = (x + 0.5f - cx) / (kScreenSize * 0.36f) / kLoadingSqueeze * 0.74f;
            float v = (y + 0.5f - cy) / (kScreenSize * 0.40f);
            float r = std::sqrt(u * u + v * v);
            float fx = static_cast<float>(x) * kPeriod / kScreenSize, fy = static_cast<float>(y) * kPeriod / kScreenSize;
            float haze = Fbm(fx * 1.5f, fy, kPeriod * 2, 5, 0x10ADu);
            float glow = std::exp(-r * r * 1.6f);
            Rgba c = Mix(Scale(kDeepNavy, 0.75f), kLoadingHaze, Clamp01(glow * 0.9f + (haze - 0.5f) * 0.35f));
            c = Mix(c, kLoadingGlow, Clamp01(glow * glow * 0.35f));
            // Faint horizontal scanlines, as in the overlays.
            c = Scale(c, 1.0f - 0.05f * (0.5f + 0.5f * std::cos(3.14159265f * (y + 0.5f) / 2.0f)));
            image.At(x, y) = c;
        }
    // A sparse dust of cold stars in the background.
    for (int i = 0; i < 260; ++i) {
        int sx = static_cast<int>(Hash01(i, 1, 0x57A2u) * kScreenSize);
        int sy = static_cast<int>(Hash01(i, 2, 0x57A2u) * kScreenSize);
        float b = 0.15f + 0.5f * std::pow(Hash01(i, 3, 0x57A2u), 3.0f);
        Over(image.At(sx, sy), Hex(kIceWhite, b));
    }
    // The MV logo above the centre, its halo behind it.
    const float logoH = 120.0f, logoY = cy - 70.0f;
    Field logo(kScreenSize, kScreenSize);
    DrawLogoCoverage(logo, cx, logoY, logoH, kLoadingSqueeze);
    FillCoverage(image, GlowOf(logo, 28.0f, 1.2f), Hex(kGlacierBlue, 0.35f));
    PaintBevelledLogo(image, cx, logoY, logoH, kLoadingSqueeze, kLogoFace, kIceWhite, kLogoShade);
    // "Quenlite" and, smaller, "loading", with a hairline between them.
    Field title(kScreenSize, kScreenSize);
    text.DrawCentered(title, "Quenlite", TextStyle{64.0f, kLoadingSqueeze, 0.04f}, cx, cy + 55.0f);
    FillCoverage(image, GlowOf(title, 8.0f, 1.0f), Hex(kCyanGlass, 0.30f));
    FillCoverage(image, title, kIceWhite);
    Field small(kScreenSize, kScreenSize);
    TextStyle smallStyle{20.0f, kLoadingSqueeze, 0.45f};
    text.DrawCentered(small, "loading", smallStyle, cx + smallStyle.tracking * 20.0f * kLoadingSqueeze * 0.5f,
                      cy + 128.0f);
    DrawRect(small, cx - 90.0f, cy + 100.0f, cx + 90.0f, cy + 100.0f);
    FillCoverage(image, small, Hex(kGlacierBlue, 0.95f));
    return image;
}

}  // namespace

PictureList PaintScreenPictures(TextPainter& text) {
    PictureList list;
    list.push_back({PicturePath(&R::texOg2), PictureFormat::PngRgba, PaintOg2()});
    list.push_back({PicturePath(&R::texOg3), PictureFormat::PngRgba, PaintOg3(text)});
    list.push_back({PicturePath(&R::texBox01Diffuse), PictureFormat::Jpeg, PaintFadePicture(text)});
    list.push_back({PicturePath(&R::texLogoScene), PictureFormat::PngRgba, PaintTitlePicture(text)});
    list.push_back({PicturePath(VantorGL::kLoadingPicturePath), PictureFormat::Jpeg, PaintLoadingPicture(text)});
    return list;
}

}  // namespace Datagen
