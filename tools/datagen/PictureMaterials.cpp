// PictureMaterials: the single-picture materials: the chrome environment, the cube spheres'
// brushed glacier metal, the plant figure's template and the nebula behind the metaballs.
// All tile horizontally and vertically (sky spheres and repeated wraps show no seam).
#include "Palette.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

namespace {

// Chrome: a reflected world. Sky from glacier blue to a bright horizon, dark navy ground below,
// with streaks so it reads as polished metal rather than a gradient.
Image Chrome() {
    constexpr int n = 512;
    Image image(n, n);
    Field streaks = StreakField(n, n, 0xC400u, 60.0f, 0.6f);
    const Rgba sky = kChromeSky, horizon = kChromeHorizon, ground = kChromeGround, groundFar = kChromeGroundFar;
    for (int y = 0; y < n; ++y) {
        float v = (y + 0.5f) / n;
        for (int x = 0; x < n; ++x) {
            float u = (x + 0.5f) / n;
            float hills = (Fbm(u * 6.0f, 0.5f, 6, 4, 0xC401u) - 0.5f) * 0.06f;  // a soft skyline
            float line = 0.52f + hills;
            Rgba c;
            if (v < line) {
                float t = std::pow(v / line, 2.2f);
                c = Mix(sky, horizon, t);
                float cloud = Fbm(u * 4.0f, v * 12.0f, 4, 5, 0xC402u);
                c = Mix(c, kIceWhite, Smoothstep(0.55f, 0.8f, cloud) * 0.35f * t);
            } else {
                float t = Clamp01((v - line) / (1.0f - line));
                c = Mix(groundFar, ground, std::pow(t, 0.5f));
            }
            // A narrow glare band right at the horizon.
            float glare = std::exp(-std::pow((v - line) / 0.012f, 2.0f));
            c = Mix(c, kIceWhite, glare * 0.8f);
            c = Scale(c, 1.0f + streaks.At(x, y) * 0.07f);
            image.At(x, y) = c;
        }
    }
    return image;
}

// The cube spheres' brushed glacier-blue metal, pale enough that the dark glass of the
// greetings stands out against it.
Image SphereMetal() {
    constexpr int n = 512;
    Image image(n, n);
    Field streaks = StreakField(n, n, 0xB600u, 48.0f, 0.6f);
    Field fine = StreakField(n, n, 0xB601u, 10.0f, 0.6f);
    const Rgba dark = kSphereMetalDark, light = kSphereMetalLight;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fx = static_cast<float>(x) / n, fy = static_cast<float>(y) / n;
            float sheen = Fbm(fx * 2.0f, fy * 2.0f, 2, 4, 0xB602u);
            float t = Clamp01(0.2f + 0.7f * sheen + streaks.At(x, y) * 0.18f + fine.At(x, y) * 0.08f);
            Rgba c = Mix(dark, light, t);
            c = Mix(c, kIceWhite, Smoothstep(0.7f, 0.95f, sheen) * 0.35f);
            image.At(x, y) = c;
        }
    return image;
}

// The plant figure's template: pale cellular tissue with branching veins and a faint green
// pulse in the veins.
Image PlantTemplate() {
    constexpr int n = 512;
    Image image(n, n);
    const Rgba tissue = kPlantTissue, tissueDeep = kPlantTissueDeep, vein = kPlantVein;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fx = static_cast<float>(x) / n, fy = static_cast<float>(y) / n;
            Cell c = Cellular(fx * 12.0f, fy * 12.0f, 12, 0x9147u);
            float wall = 1.0f - Smoothstep(0.0f, 0.12f, c.f2 - c.f1);
            float cellBody = Smoothstep(0.0f, 0.6f, c.f1);
            // Veins: the 0.5 iso-lines of two noise fields, a coarse and a fine network, drawn
            // at an even width by dividing by the field's slope.
            auto isoLine = [&](float scale, int period, uint32_t seed, float widthPx) {
                float f = Fbm(fx * scale, fy * scale, period, 4, seed);
                float gx = Fbm((x + 1.0f) * scale / n, fy * scale, period, 4, seed) - f;
                float gy = Fbm(fx * scale, (y + 1.0f) * scale / n, period, 4, seed) - f;
                float distancePx = std::fabs(f - 0.5f) / (std::sqrt(gx * gx + gy * gy) + 1e-5f);
                return 1.0f - Smoothstep(widthPx * 0.5f, widthPx * 0.5f + 1.2f, distancePx);
            };
            float veinLine = std::max(isoLine(3.0f, 3, 0x9148u, 2.6f), 0.6f * isoLine(8.0f, 8, 0x914Au, 1.2f));
            float depth = Fbm(fx * 4.0f, fy * 4.0f, 4, 4, 0x9149u);
            Rgba col = Mix(tissue, tissueDeep, Clamp01(cellBody * 0.35f + depth * 0.45f));
            col = Mix(col, Scale(tissueDeep, 0.8f), wall * 0.45f);
            col = Mix(col, vein, veinLine * 0.7f);
            col = Mix(col, kAcidGreen, veinLine * 0.12f);
            image.At(x, y) = col;
        }
    return image;
}

// The nebula (backdrop and sky sphere of the metaballs): domain-warped clouds from deep navy
// through glacier blue to cyan and ice white, with a field of stars and a pale core of light in
// the middle. Tiles both ways.
Image Nebula() {
    constexpr int n = 1024;
    constexpr int kPeriod = 3;
    constexpr float kCoreRadius = 0.16f;  // of the picture's side
    Image image(n, n);
    const Rgba space = Scale(kDeepNavy, 0.8f), deep = kNebulaDeep, mid = kNebulaMid;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fx = static_cast<float>(x) * kPeriod / n, fy = static_cast<float>(y) * kPeriod / n;
            // Warp offsets are periodic functions, so the warped field keeps the period.
            float qx = Fbm(fx, fy, kPeriod, 4, 0xAE01u), qy = Fbm(fx, fy, kPeriod, 4, 0xAE02u);
            float wx = fx + 1.1f * (qx - 0.5f), wy = fy + 1.1f * (qy - 0.5f);
            float cloud = Fbm(wx, wy, kPeriod, 7, 0xAE03u, 0.55f);
            float filament = RidgedFbm(wx * 2.0f, wy * 2.0f, kPeriod * 2, 5, 0xAE04u);
            float hue = Fbm(fx + 0.3f, fy, kPeriod, 3, 0xAE05u);  // cyan-rich or blue-rich regions
            // Broad glow, brightened along the ridged filaments where the cloud is dense.
            float body = Smoothstep(0.38f, 0.72f, cloud);
            float bright = Clamp01(body * (0.35f + 0.85f * filament * filament));
            Rgba c = Mix(space, deep, Smoothstep(0.25f, 0.55f, cloud));
            c = Mix(c, mid, body * 0.8f);
            Rgba glowColour = Mix(kGlacierBlue, kCyanGlass, Smoothstep(0.35f, 0.65f, hue));
            c = Mix(c, glowColour, Clamp01(bright * 1.1f));
            c = Mix(c, kIceWhite, Clamp01(std::pow(bright, 3.0f) * 0.9f));
            // Dark dust lanes cut through the bright parts.
            float lane = Smoothstep(0.60f, 0.74f, Fbm(wx * 2.0f + 0.5f, wy * 2.0f, kPeriod * 2, 5, 0xAE06u));
            c = Mix(c, Mix(space, deep, 0.5f), lane * body * 0.75f);
            // A pale core of light in the middle of the picture, where the blob floats in front of
            // the backdrop: the dark glass stands out against it and bends its light. It fades out
            // long before the edges, so the picture still tiles.
            float dx = (x + 0.5f) / n - 0.5f, dy = (y + 0.5f) / n - 0.5f;
            float core = std::exp(-(dx * dx + dy * dy) / (2 * kCoreRadius * kCoreRadius));
            Rgba coreColour = Mix(kCyanGlass, kIceWhite, Smoothstep(0.3f, 0.9f, core) * 0.7f);
            c = Mix(c, coreColour, Clamp01(core * (0.6f + 0.5f * filament)));
            image.At(x, y) = c;
        }
    // Stars: small Gaussian points, a few bright ones with a cross glint.
    auto star = [&](float sx, float sy, float radius, float bright, bool glint) {
        int r = static_cast<int>(radius * 6.0f) + 2;
        for (int dy = -r; dy <= r; ++dy)
            for (int dx = -r; dx <= r; ++dx) {
                int px = ((static_cast<int>(sx) + dx) % n + n) % n, py = ((static_cast<int>(sy) + dy) % n + n) % n;
                float ox = static_cast<int>(sx) + dx + 0.5f - sx, oy = static_cast<int>(sy) + dy + 0.5f - sy;
                float a = std::exp(-(ox * ox + oy * oy) / (radius * radius)) * bright;
                if (glint)
                    a += bright * 0.35f *
                         (std::exp(-oy * oy * 4.0f) * std::exp(-std::fabs(ox) / (radius * 3.0f)) +
                          std::exp(-ox * ox * 4.0f) * std::exp(-std::fabs(oy) / (radius * 3.0f)));
                Over(image.At(px, py), Hex(kIceWhite, Clamp01(a)));
            }
    };
    for (int i = 0; i < 1400; ++i) {
        float b = Hash01(i, 3, 0x57A5u);
        star(Hash01(i, 1, 0x57A5u) * n, Hash01(i, 2, 0x57A5u) * n, 0.55f + b * b * 0.5f, 0.25f + 0.6f * b * b, false);
    }
    for (int i = 0; i < 14; ++i)
        star(Hash01(i, 1, 0x57A6u) * n, Hash01(i, 2, 0x57A6u) * n, 1.1f + Hash01(i, 3, 0x57A6u), 0.95f, true);
    return image;
}

}  // namespace

PictureList PaintMetalPictures(TextPainter&) {
    PictureList list;
    list.push_back({PicturePath(&R::texChrome), PictureFormat::Jpeg, Chrome()});
    list.push_back({PicturePath(&R::texBgSphere), PictureFormat::Jpeg, SphereMetal()});
    list.push_back({PicturePath(&R::texHumanplantTemplate), PictureFormat::Jpeg, PlantTemplate()});
    return list;
}

PictureList PaintSkyPictures(TextPainter&) {
    PictureList list;
    list.push_back({PicturePath(&R::texArt1), PictureFormat::Jpeg, Nebula()});
    return list;
}

}  // namespace Datagen
