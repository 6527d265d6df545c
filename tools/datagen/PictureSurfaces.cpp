// PictureSurfaces: the tiling material sets of the lit models. Each set starts from one height
// field; the diffuse (or composite), specular and light pictures are shaded from it and the
// normal map is its tangent-space gradient, so the maps line up texel for texel.
#include "Palette.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace Datagen {

namespace {

constexpr int kSurfaceSize = 512;
constexpr int kUnseenReduction = 4;  // pictures that never reach the screen: 128 x 128

Rgba Multiply(const Rgba& a, const Rgba& b) { return {a.r * b.r, a.g * b.g, a.b * b.b, a.a}; }
Rgba Add(const Rgba& a, const Rgba& b) { return {a.r + b.r, a.g + b.g, a.b + b.b, a.a}; }
Rgba Grey(float v) { return {v, v, v, 1.0f}; }

// Lambert term of a height field's normal against a light from the upper left.
float Shade(const Field& h, int x, int y, float strength) {
    float dx = (h.Wrap(x + 1, y) - h.Wrap(x - 1, y)) * 0.5f * strength;
    float dy = (h.Wrap(x, y + 1) - h.Wrap(x, y - 1)) * 0.5f * strength;
    // Normal (-dx, dy_up, 1) with up = -row; light towards upper left and out of the surface.
    float nx = -dx, ny = dy, nz = 1.0f;
    float len = std::sqrt(nx * nx + ny * ny + nz * nz);
    const float lx = -0.45f, ly = 0.55f, lz = 0.70f;
    return std::max(0.0f, (nx * lx + ny * ly + nz * lz) / len);
}

// --- Pillar room: metal wall panels with recessed seams --------------------------------------

struct PanelSample {
    float seam;      // distance to the nearest panel edge, pixels
    uint32_t panel;  // id of the panel the texel lies on
    float plate;     // 1 on a raised inner plate, 0 elsewhere (anti-aliased)
    float bolt;      // dome height of a corner bolt, 0..1
    float vent;      // depth of a vent slot, 0..1
};

// Four by four cells of 128 texels; a cell is one panel or splits into two, by hash.
PanelSample SamplePanels(int x, int y) {
    constexpr int kCell = 128;
    int cx = x / kCell, cy = y / kCell;
    float lx = static_cast<float>(x % kCell) + 0.5f, ly = static_cast<float>(y % kCell) + 0.5f;
    uint32_t h = Hash(cx, cy, 0x9177u);
    float x0 = 0, y0 = 0, x1 = kCell, y1 = kCell;
    uint32_t id = h;
    switch (h % 4) {
        case 1:  // two panels stacked
            if (ly < kCell / 2) y1 = kCell / 2; else { y0 = kCell / 2; id ^= 0x55u; }
            break;
        case 2:  // two panels side by side
            if (lx < kCell / 2) x1 = kCell / 2; else { x0 = kCell / 2; id ^= 0xAAu; }
            break;
        default: break;
    }
    PanelSample s;
    s.panel = id;
    float ex = std::min(lx - x0, x1 - lx), ey = std::min(ly - y0, y1 - ly);
    s.seam = std::min(ex, ey);
    // Whole panels carry a raised inner plate 18 texels in, or a grille of vent slots.
    s.plate = h % 4 == 0 ? Clamp01(s.seam - 18.0f) : 0.0f;
    s.vent = 0.0f;
    if (h % 4 == 3 && s.seam > 24.0f) {
        float row = std::fmod(ly - y0 - 24.0f, 10.0f);  // slots 4 texels tall every 10
        float inSlot = Clamp01(std::min(row, 4.0f - row) + 0.5f);
        s.vent = inSlot * Clamp01(s.seam - 24.0f);
    }
    // Bolts 9 texels in from each panel corner.
    float bx = std::min(std::fabs(lx - (x0 + 9.0f)), std::fabs(lx - (x1 - 9.0f)));
    float by = std::min(std::fabs(ly - (y0 + 9.0f)), std::fabs(ly - (y1 - 9.0f)));
    float r = std::sqrt(bx * bx + by * by) / 3.5f;
    s.bolt = r < 1.0f ? std::sqrt(1.0f - r * r) : 0.0f;
    return s;
}

PictureList PillarRoom() {
    const int n = kSurfaceSize;
    Field height(n, n), tone(n, n), wear(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            PanelSample s = SamplePanels(x, y);
            float groove = Smoothstep(1.0f, 4.5f, s.seam);  // 0 in the seam, 1 on the panel
            float surface = (Fbm(x * 16.0f / n, y * 16.0f / n, 16, 4, 0x71A5u) - 0.5f) * 0.04f;
            height.At(x, y) = groove * (1.0f + s.plate * 0.18f + s.bolt * 0.35f - s.vent * 0.6f + surface);
            tone.At(x, y) = Hash01(static_cast<int>(s.panel & 0xFFFF), static_cast<int>(s.panel >> 16), 0x70Eu);
            // Edge wear: the panel lips rubbed bright in patches.
            float patches = Smoothstep(0.55f, 0.75f, Fbm(x * 16.0f / n, y * 16.0f / n, 16, 3, 0x5C2Au));
            wear.At(x, y) = (1.0f - Smoothstep(4.5f, 7.0f, s.seam)) * Smoothstep(3.0f, 4.5f, s.seam) * patches;
        }
    // Ambient occlusion from a blurred copy: the seams and the plate edges collect shadow.
    Field cavity = height;
    Blur(cavity, 5.0f, 5.0f, true);

    Field brushedField = StreakField(n, n, 0xB125u, 40.0f, 0.7f);
    Image diffuse(n, n), specular(n, n), workshopSpec(256, 256);
    const Rgba metalDark = kPillarMetalDark, metalLight = kPillarMetalLight, seamColour = kPillarSeam;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float h = height.At(x, y);
            float brushed = 0.5f + 0.5f * brushedField.At(x, y);
            float grime = Fbm(x * 6.0f / n, y * 6.0f / n, 6, 5, 0x6A1Eu);
            float ao = Clamp01(1.0f - (cavity.At(x, y) - h) * -1.6f);
            ao = Clamp01(0.55f + 0.45f * ao);
            Rgba metal = Mix(metalDark, metalLight, Clamp01(0.25f + 0.45f * tone.At(x, y) + 0.18f * (brushed - 0.5f)));
            metal = Scale(metal, 0.82f + 0.3f * Shade(height, x, y, 3.0f));
            metal = Mix(metal, Scale(metal, 0.75f), Smoothstep(0.55f, 0.8f, grime) * 0.6f);
            Rgba c = Mix(seamColour, metal, Smoothstep(0.05f, 0.9f, h));
            c = Scale(c, ao);
            c = Mix(c, kIceWhite, wear.At(x, y) * 0.35f);
            diffuse.At(x, y) = c;
            float s = Smoothstep(0.1f, 0.9f, h) * (0.55f + 0.25f * tone.At(x, y) - 0.25f * Smoothstep(0.55f, 0.8f, grime));
            s = Clamp01(s * ao + wear.At(x, y) * 0.3f + 0.04f);
            specular.At(x, y) = Grey(s);
        }
    // The workshop's own specular map: the same brushed metal at a quarter of the size, no seams.
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            float brushed = Fbm(x * 2.0f / 256, y * 48.0f / 256, 2, 4, 0xB126u);
            float grime = Fbm(x * 4.0f / 256, y * 4.0f / 256, 4, 5, 0x6A1Fu);
            workshopSpec.At(x, y) = Grey(Clamp01(0.25f + 0.5f * brushed - 0.3f * Smoothstep(0.5f, 0.8f, grime)));
        }
    PictureList list;
    list.push_back({PicturePath(&R::texPillarroomDiff), PictureFormat::Jpeg, diffuse});
    list.push_back({PicturePath(&R::texPillarroomNorm), PictureFormat::Jpeg, NormalMapFromHeight(height, 2.2f), false});
    list.push_back({PicturePath(&R::texPillarroomSpec), PictureFormat::Jpeg, specular});
    list.push_back({PicturePath(VantorGL::kWorkshopSpecularPath), PictureFormat::Jpeg, workshopSpec});
    return list;
}

// --- Canyon: cool grey rock lit by amber sky light ---------------------------------------------

// Floor: broken rock. Cracks follow a noise-warped cell network and fade in and out, so the
// floor reads as one cracked bed rather than paving. Heights roughly 0..1.
Field FloorHeight() {
    const int n = kSurfaceSize;
    Field h(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fx = static_cast<float>(x) / n, fy = static_cast<float>(y) / n;
            float rock = 0.6f * RidgedFbm(fx * 4, fy * 4, 4, 6, 0xF100u) + 0.4f * Fbm(fx * 8, fy * 8, 8, 5, 0xF101u);
            float wx = Fbm(fx * 4, fy * 4, 4, 3, 0xF104u) - 0.5f, wy = Fbm(fx * 4, fy * 4, 4, 3, 0xF105u) - 0.5f;
            Cell c = Cellular(fx * 5 + wx * 0.9f, fy * 5 + wy * 0.9f, 5, 0xF102u);
            float presence = Smoothstep(0.35f, 0.6f, Fbm(fx * 3, fy * 3, 3, 3, 0xF106u));
            float width = 0.02f + 0.04f * presence;
            float crack = (1.0f - Smoothstep(0.0f, width, c.f2 - c.f1)) * presence;
            float slab = Hash01(static_cast<int>(c.id & 0xFFF), 0, 0xF103u) * 0.08f;
            h.At(x, y) = rock + slab - crack * 0.3f;
        }
    return h;
}

// Wall: warped strata worn by vertical runs.
Field WallHeight() {
    const int n = kSurfaceSize;
    Field h(n, n);
    Field runs = StreakField(n, n, 0xA111u, 3.0f, 28.0f);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fx = static_cast<float>(x) / n, fy = static_cast<float>(y) / n;
            float warp = Fbm(fx * 3, fy * 3, 3, 5, 0xA110u);
            float strata = 0.5f + 0.5f * std::sin(2.0f * 3.14159265f * (fy * 6.0f + warp * 2.5f));
            strata = Smoothstep(0.2f, 0.9f, strata);
            float rock = RidgedFbm(fx * 4, fy * 4, 4, 6, 0xA112u);
            h.At(x, y) = 0.25f * strata + 0.5f * rock + 0.025f * runs.At(x, y);
        }
    return h;
}

// Light maps: where the sky's amber light falls, 0 (cool ambient) to 1 (full amber). The floor
// gets soft diagonal shafts from the opening at the upper left, the wall a glow from its top,
// both dappled by soft noise.
Field FloorLight() {
    const int n = kSurfaceSize;
    Field l(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fx = static_cast<float>(x) / n, fy = static_cast<float>(y) / n;
            float dapple = Fbm(fx * 4, fy * 4, 4, 5, 0x11E7u);
            float shafts = 0.5f + 0.5f * std::sin(2.0f * 3.14159265f * (fx + fy) + dapple * 2.0f);
            l.At(x, y) = 0.08f + 0.85f * Smoothstep(0.25f, 0.95f, shafts * 0.75f + dapple * 0.4f);
        }
    return l;
}

Field WallLight() {
    const int n = kSurfaceSize;
    Field l(n, n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float fx = static_cast<float>(x) / n, fy = static_cast<float>(y) / n;
            float dapple = Fbm(fx * 4, fy * 4, 4, 5, 0x11E8u);
            float fall = 0.5f + 0.5f * std::cos(2.0f * 3.14159265f * fy);  // bright band that tiles
            l.At(x, y) = 0.08f + 0.85f * Smoothstep(0.3f, 0.95f, fall * 0.7f + dapple * 0.35f);
        }
    return l;
}

// The three pictures of one canyon set.
struct CanyonFiles {
    TextureMember composite, light, normal;
};

void CanyonSet(PictureList& list, const CanyonFiles& files, const Field& height, const Field& light, const Rgba& rockDark,
               const Rgba& rockLight, float bump, uint32_t seed) {
    const int n = kSurfaceSize;
    Image composite(n, n), lightImage(n, n);
    const Rgba ambient = kCanyonAmbient;
    float lo = 1e9f, hi = -1e9f;
    for (float v : height.values) lo = std::min(lo, v), hi = std::max(hi, v);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            float h = (height.At(x, y) - lo) / (hi - lo);
            float grain = Hash01(x, y, seed) - 0.5f;
            float mottle = Fbm(x * 16.0f / n, y * 16.0f / n, 16, 3, seed + 1u);
            Rgba albedo = Mix(rockDark, rockLight, Clamp01(h * 0.8f + (mottle - 0.5f) * 0.5f + grain * 0.08f));
            float shade = Shade(height, x, y, bump);
            float lit = light.At(x, y);
            // Light picture: amber where the sky light falls, the cool ambient elsewhere.
            Rgba lightColour = Mix(Scale(ambient, 0.5f), Scale(kWarmAmber, 0.8f + 0.25f * mottle), lit);
            lightImage.At(x, y) = lightColour;
            // Composite: albedo under ambient plus shaded amber light.
            Rgba c = Multiply(albedo, Scale(ambient, 0.7f + 0.45f * shade));
            c = Add(c, Multiply(albedo, Scale(kWarmAmber, lit * (0.15f + 1.25f * shade))));
            c = Scale(c, 0.85f + 0.3f * h);
            composite.At(x, y) = c;
        }
    list.push_back({PicturePath(files.composite), PictureFormat::Jpeg, composite});
    // No program reads the light pictures (they are loaded, never drawn): a quarter the size.
    list.push_back({PicturePath(files.light), PictureFormat::Jpeg, BoxReduced(lightImage, kUnseenReduction)});
    list.push_back({PicturePath(files.normal), PictureFormat::Jpeg, NormalMapFromHeight(height, bump), false});
}

// --- Crystal: frosted facets --------------------------------------------------------------------

struct Facet {
    float slopeX, slopeY;  // height change per texel across the facet
    uint32_t id;
    float edge;            // F2 - F1 in cell units: 0 on a facet edge
};

constexpr int kFacetPeriod = 6;

Facet SampleFacet(int x, int y) {
    float fx = (x + 0.5f) * kFacetPeriod / kSurfaceSize, fy = (y + 0.5f) * kFacetPeriod / kSurfaceSize;
    Cell c = Cellular(fx, fy, kFacetPeriod, 0xC2A5u, 0.8f);
    float angle = Hash01(static_cast<int>(c.id & 0xFFFF), 1, 0xC2A6u) * 6.2831853f;
    float tilt = 0.12f + 0.33f * Hash01(static_cast<int>(c.id & 0xFFFF), 2, 0xC2A6u);
    return {std::cos(angle) * tilt, std::sin(angle) * tilt, c.id, c.f2 - c.f1};
}

PictureList Crystal() {
    const int n = kSurfaceSize;
    Field frost(n, n);
    std::vector<Facet> facets(static_cast<size_t>(n) * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            Facet f = SampleFacet(x, y);
            facets[static_cast<size_t>(y) * n + x] = f;
            frost.At(x, y) = Fbm(x * 32.0f / n, y * 32.0f / n, 32, 4, 0xF505u);
        }
    // The relief is a plane per facet plus the frost. A plane's gradient is its slope, so the
    // normal is the facet slope plus the frost field's gradient (3 texels of frost relief); the
    // planes' offsets never have to be stitched together.
    Image normal(n, n), diffuse(n, n);
    Image frostNormal = NormalMapFromHeight(frost, 3.0f * 3.0f);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const Facet& f = facets[static_cast<size_t>(y) * n + x];
            const Rgba& fn = frostNormal.At(x, y);
            // Facet normal (-slope) with the frost's tilt added.
            float nx = -f.slopeX + (fn.r * 2.0f - 1.0f), ny = f.slopeY + (fn.g * 2.0f - 1.0f), nz = 1.0f;
            // Facet edges: a narrow crease that tilts the normal across the edge.
            float crease = 1.0f - Smoothstep(0.0f, 0.035f, f.edge);
            nz += -0.5f * crease;
            float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            normal.At(x, y) = {0.5f + 0.5f * nx / len, 0.5f + 0.5f * ny / len, 0.5f + 0.5f * nz / len, 1.0f};
            // Diffuse: cool glass tones per facet, brighter where the facet faces the light,
            // ice-white edges and a frost sheen.
            float facing = Clamp01(0.5f + (-f.slopeX * -0.6f + f.slopeY * 0.7f) * 1.6f);
            float pick = Hash01(static_cast<int>(f.id & 0xFFFF), 3, 0xC2A7u);
            Rgba glass = Mix(Mix(kDeepNavy, kGlacierBlue, 0.55f), kCyanGlass, pick * 0.8f);
            glass = Mix(glass, Scale(glass, 0.55f), Clamp01(1.0f - facing));
            glass = Mix(glass, kIceWhite, facing * facing * 0.3f + (frost.At(x, y) - 0.5f) * 0.25f);
            glass = Mix(glass, kIceWhite, crease * 0.85f);
            // The cluster's accent: a faint acid-green glint on a few facets.
            if (pick > 0.9f) glass = Mix(glass, kAcidGreen, 0.18f * facing);
            diffuse.At(x, y) = glass;
        }
    PictureList list;
    list.push_back({PicturePath(&R::texCrystalDiffuse), PictureFormat::Jpeg, diffuse});
    list.push_back({PicturePath(&R::texCrystalNormalMap), PictureFormat::Jpeg, normal, false});
    return list;
}

}  // namespace

PictureList PaintPillarPictures(TextPainter&) { return PillarRoom(); }

PictureList PaintCanyonPictures(TextPainter&) {
    PictureList list;
    CanyonSet(list, {&R::texTerFloorComp, &R::texTerFloorLight, &R::texTerFloorNorm}, FloorHeight(), FloorLight(), kCanyonFloorLow,
              kCanyonFloorHigh, 36.0f, 0xF1u);
    CanyonSet(list, {&R::texTerWallComp, &R::texTerWallLight, &R::texTerWallNorm}, WallHeight(), WallLight(), kCanyonWallLow,
              kCanyonWallHigh, 24.0f, 0xA1u);
    return list;
}

PictureList PaintCrystalPictures(TextPainter&) { return Crystal(); }

}  // namespace Datagen
