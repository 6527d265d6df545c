// PicturePrints: the pictures that carry printed matter: the scroll text, the workshop's
// newspaper and geometric backdrop, and the settings dialog's banner.
#include "PaintLayer.h"
#include "Palette.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

namespace {

Rgba WithAlpha(const Rgba& c, float a) { return {c.r, c.g, c.b, a}; }

// The scroll text: the greetings and credits in white with a cyan glow, on transparency.
Image ScrollText(TextPainter& text) {
    constexpr int kW = 1024, kH = 512;
    Image image(kW, kH, WithAlpha(kCyanGlass, 0.0f));
    static const char* const kLines[] = {
        "MORAVEL PRESENTS QUENLITE",
        "greetings to nullpoint - velour - kaskade 8",
        "hexadawn - brightfall - ostrava labs",
        "stratacore - polymere - all at the party",
        "code vantor / music quill / graphics pell",
        "moravel 2010",
    };
    Field cover(kW, kH);
    float y = 58.0f;
    for (const char* line : kLines) {
        bool head = line == kLines[0];
        TextStyle style{head ? 44.0f : 38.0f, 1.0f, head ? 0.12f : 0.03f};
        text.DrawCentered(cover, line, style, kW * 0.5f, y);
        y += 80.0f;
    }
    FillCoverage(image, GlowOf(cover, 7.0f, 1.4f), WithAlpha(kCyanGlass, 0.55f));
    FillCoverage(image, cover, kIceWhite);
    return image;
}

// The workshop's newspaper: cool off-white paper, a masthead, a headline, a photograph of a
// crystal and columns of greeked text. Ink is dark slate, never pure black.
Image NewsPaper(TextPainter& text) {
    constexpr int n = 512;
    Image image(n, n);
    const Rgba paper = kNewsPaper, paperDark = kNewsPaperDark, ink = kNewsInk;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fibre = Fbm(x * 32.0f / n, y * 8.0f / n, 8, 4, 0x9E01u);
            float stain = Fbm(x * 3.0f / n, y * 3.0f / n, 3, 4, 0x9E02u);
            image.At(x, y) = Mix(paper, paperDark, Clamp01(fibre * 0.35f + Smoothstep(0.55f, 0.8f, stain) * 0.5f));
        }
    Field inkCover(n, n);
    text.DrawCentered(inkCover, "THE MORAVEL HERALD", TextStyle{38.0f, 1.0f, 0.04f}, n * 0.5f, 36.0f);
    DrawRect(inkCover, 20, 62, n - 21, 63);
    DrawRect(inkCover, 20, 67, n - 21, 67);
    text.Draw(inkCover, "wednesday  -  2010  -  vantorgl edition", TextStyle{11.0f, 1.0f, 0.1f}, 22.0f, 80.0f);
    text.Draw(inkCover, "CRYSTAL GLOWS IN", TextStyle{34.0f, 1.0f, 0.0f}, 22.0f, 124.0f);
    text.Draw(inkCover, "THE GLASS CANYON", TextStyle{34.0f, 1.0f, 0.0f}, 22.0f, 160.0f);
    // Photograph: a tilted blue crystal on a pale ground, in halftone-like tones.
    const int px0 = 22, py0 = 178, px1 = 262, py1 = 340;
    for (int y = py0; y <= py1; ++y)
        for (int x = px0; x <= px1; ++x) {
            float u = (x - px0) / float(px1 - px0), v = (y - py0) / float(py1 - py0);
            float du = (u - 0.5f) * 1.5f, dv = v - 0.55f;
            float diamond = std::fabs(du + dv * 0.3f) * 1.6f + std::fabs(dv);
            float crystal = 1.0f - Smoothstep(0.38f, 0.42f, diamond);
            float facet = du > 0 ? 0.65f : 0.35f;
            Rgba bg = Mix(kNewsPhotoSkyTop, kNewsPhotoSkyBottom, v);
            Rgba c = Mix(bg, Mix(kNewsPhotoFacetLit, kNewsPhotoFacetShade, facet), crystal);
            float dot = 0.5f + 0.5f * std::sin(x * 1.9f) * std::sin(y * 1.9f);
            image.At(x, y) = Scale(c, 0.9f + 0.12f * dot);
        }
    DrawRectOutline(inkCover, px0, py0, px1, py1, 1.0f);
    text.Draw(inkCover, "the cluster at dawn, seen from the rim", TextStyle{10.0f, 1.0f, 0.02f}, px0, py1 + 14.0f);
    // Greeked columns: grey bars of varied word lengths.
    auto column = [&](int x0, int x1, int y0, int y1, uint32_t seed) {
        int line = 0;
        for (int y = y0; y + 5 <= y1; y += 9, ++line) {
            float x = static_cast<float>(x0);
            bool lastLine = Hash01(line, 0, seed) < 0.12f;
            float end = lastLine ? x0 + (x1 - x0) * (0.3f + 0.5f * Hash01(line, 1, seed)) : static_cast<float>(x1);
            for (int word = 0; x < end; ++word) {
                float w = 6.0f + 22.0f * Hash01(line, word + 2, seed);
                DrawRect(inkCover, x, static_cast<float>(y), std::min(x + w, end), y + 4.0f);
                x += w + 4.0f;
            }
        }
    };
    column(276, 490, 178, 350, 0xC0u);
    column(22, 170, 372, 494, 0xC1u);
    column(182, 330, 372, 494, 0xC2u);
    column(342, 490, 372, 494, 0xC3u);
    DrawRect(inkCover, 176, 372, 176, 494);
    DrawRect(inkCover, 336, 372, 336, 494);
    text.Draw(inkCover, "GREETINGS", TextStyle{18.0f, 1.0f, 0.05f}, 276.0f, 368.0f - 10.0f);
    FillCoverage(image, inkCover, WithAlpha(ink, 0.88f));
    return image;
}

// The workshop backdrop: nested outline squares on a navy ground, a few of them filled with
// translucent glacier blue, over a soft glow. Tiles both ways.
Image GeoSquares() {
    constexpr int n = 512;
    Image image(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float haze = Fbm(x * 4.0f / n, y * 4.0f / n, 4, 5, 0x6E01u);
            image.At(x, y) = Mix(Scale(kDeepNavy, 0.9f), kGeoSquaresHaze, Clamp01(haze * 1.1f - 0.1f));
        }
    Field lines(n, n), fills(n, n);
    // Two levels of grid: 64-texel cells, some holding a square of their own, and 16-texel cells
    // with small squares scattered.
    for (int cy = 0; cy < n / 64; ++cy)
        for (int cx = 0; cx < n / 64; ++cx) {
            float pick = Hash01(cx, cy, 0x6E02u);
            float x0 = cx * 64.0f, y0 = cy * 64.0f;
            DrawRectOutline(lines, x0, y0, x0 + 63.0f, y0 + 63.0f, 1.0f);
            if (pick < 0.45f) {
                float inset = 8.0f + 8.0f * std::floor(Hash01(cx, cy, 0x6E03u) * 3.0f);
                DrawRectOutline(lines, x0 + inset, y0 + inset, x0 + 63.0f - inset, y0 + 63.0f - inset, 1.5f);
                if (pick < 0.18f) DrawRect(fills, x0 + inset + 3, y0 + inset + 3, x0 + 60.0f - inset, y0 + 60.0f - inset);
            }
        }
    for (int i = 0; i < 90; ++i) {
        float x0 = std::floor(Hash01(i, 1, 0x6E04u) * 32.0f) * 16.0f + 4.0f;
        float y0 = std::floor(Hash01(i, 2, 0x6E04u) * 32.0f) * 16.0f + 4.0f;
        DrawRect(fills, x0, y0, x0 + 7.0f, y0 + 7.0f);
    }
    FillCoverage(image, GlowOf(lines, 3.0f, 1.5f), WithAlpha(kGlacierBlue, 0.20f));
    FillCoverage(image, fills, WithAlpha(kGlacierBlue, 0.22f));
    FillCoverage(image, lines, WithAlpha(Mix(kGlacierBlue, kCyanGlass, 0.5f), 0.45f));
    return image;
}

}  // namespace

Image PaintBanner(TextPainter& text) {
    constexpr int kW = 280, kH = 45;
    Image image(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            float u = (x + 0.5f) / kW, v = (y + 0.5f) / kH;
            float glow = std::exp(-std::pow((u - 0.18f) * 3.0f, 2.0f) - std::pow((v - 0.5f) * 2.0f, 2.0f));
            image.At(x, y) = Mix(Mix(Scale(kDeepNavy, 0.9f), kBannerLow, v * 0.6f), kBannerGlow, glow * 0.6f);
        }
    PaintBevelledLogo(image, 34.0f, 22.0f, 22.0f, 1.0f, kLogoFace, kIceWhite, kLogoShade);
    Field title(kW, kH), sub(kW, kH);
    text.Draw(title, "MORAVEL", TextStyle{19.0f, 1.0f, 0.14f}, 68.0f, 24.0f);
    text.Draw(sub, "VantorGL  -  Quenlite 2010", TextStyle{10.0f, 1.0f, 0.12f}, 69.0f, 37.0f);
    FillCoverage(image, title, kIceWhite);
    FillCoverage(image, sub, kGlacierBlue);
    Field rule(kW, kH);
    DrawRect(rule, 0, kH - 2, kW - 1, kH - 2);
    FillCoverage(image, rule, WithAlpha(kCyanGlass, 0.7f));
    return image;
}

PictureList PaintPrintPictures(TextPainter& text) {
    PictureList list;
    list.push_back({PicturePath(&R::texBackdrop1GeoSquare), PictureFormat::PngRgb, GeoSquares()});
    list.push_back({PicturePath(&R::texRulletekst), PictureFormat::PngRgba, ScrollText(text)});
    list.push_back({PicturePath(VantorGL::kWorkshopNewsPaperPath), PictureFormat::Jpeg, NewsPaper(text)});
    return list;
}

}  // namespace Datagen
