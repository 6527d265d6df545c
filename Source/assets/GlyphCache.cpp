// GlyphCache: FreeType outlines flattened to polylines and filled with the GLU tessellator,
// cached per font file so repeated creations of one outline font tessellate once.
#include "assets/GlyphCache.h"

#include "assets/FontFace.h"
#include "shell/Console.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>

namespace VantorGL {

namespace {

// The callback type gluTessCallback takes: a plain function pointer, as every GLU declares it
// (Mesa names it _GLUfuncptr; the Windows header spells it out).
using GluCallback = void (*)();

// Windows-1252 code points of the bytes 0x80..0x9F; 0 where the code page leaves a hole.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The Unicode character of one byte of text in the fonts' code page (Windows-1252).
FT_ULong CodeToUnicode(int code) {
    if (code >= 0x80 && code < 0xA0) return kCp1252High[code - 0x80] ? kCp1252High[code - 0x80] : code;
    return FT_ULong(code);
}

// Flattens one FreeType outline (font units) into closed polylines whose chords stay within
// `tolerance` units of the curves.
struct sFlattener {
    double tolerance = 1.0;
    std::vector<double> points;             // x, y pairs
    std::vector<std::uint32_t> contourEnds; // in points
    double penX = 0.0, penY = 0.0;

    void CloseContour() {
        std::uint32_t start = contourEnds.empty() ? 0 : contourEnds.back();
        std::uint32_t end = std::uint32_t(points.size() / 2);
        // The decomposer closes every contour with a line back to its start: drop the repeat.
        if (end - start > 1 && points[2 * (end - 1)] == points[2 * start] &&
            points[2 * (end - 1) + 1] == points[2 * start + 1]) {
            points.resize(points.size() - 2);
            --end;
        }
        if (end - start < 3) {  // a contour of fewer than three points encloses nothing
            points.resize(std::size_t(start) * 2);
            return;
        }
        contourEnds.push_back(end);
    }
    void Add(double x, double y) {
        std::size_t n = points.size();
        std::uint32_t start = contourEnds.empty() ? 0 : contourEnds.back();
        if (n / 2 > start && points[n - 2] == x && points[n - 1] == y) return;  // zero-length edge
        points.push_back(x);
        points.push_back(y);
        penX = x;
        penY = y;
    }
    // Segments needed so that a curve whose second difference has length `dd` deviates at most
    // `tolerance` from its chords: the chord error of a parameter step h is h^2 |B''| / 8.
    int Steps(double secondDiff) const {
        double n = std::ceil(std::sqrt(secondDiff / tolerance));
        return std::clamp(int(n), 1, 256);
    }

    static int MoveTo(const FT_Vector* to, void* user) {
        auto* self = static_cast<sFlattener*>(user);
        if (!self->points.empty()) self->CloseContour();
        self->Add(double(to->x), double(to->y));
        return 0;
    }
    static int LineTo(const FT_Vector* to, void* user) {
        static_cast<sFlattener*>(user)->Add(double(to->x), double(to->y));
        return 0;
    }
    static int ConicTo(const FT_Vector* c, const FT_Vector* to, void* user) {
        auto* self = static_cast<sFlattener*>(user);
        double x0 = self->penX, y0 = self->penY;
        double x1 = c->x, y1 = c->y, x2 = to->x, y2 = to->y;
        // |B''| = 2 |p0 - 2 p1 + p2|, so error <= |p0 - 2 p1 + p2| / (4 n^2).
        int n = self->Steps(std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2) / 4.0);
        for (int i = 1; i <= n; ++i) {
            double t = double(i) / n, u = 1.0 - t;
            self->Add(u * u * x0 + 2 * u * t * x1 + t * t * x2, u * u * y0 + 2 * u * t * y1 + t * t * y2);
        }
        return 0;
    }
    static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* self = static_cast<sFlattener*>(user);
        double x0 = self->penX, y0 = self->penY;
        double x1 = c1->x, y1 = c1->y, x2 = c2->x, y2 = c2->y, x3 = to->x, y3 = to->y;
        // |B''| <= 6 max(|p0 - 2 p1 + p2|, |p1 - 2 p2 + p3|), so error <= 0.75 max(...) / n^2.
        double dd = std::max(std::hypot(x0 - 2 * x1 + x2, y0 - 2 * y1 + y2),
                             std::hypot(x1 - 2 * x2 + x3, y1 - 2 * y2 + y3));
        int n = self->Steps(0.75 * dd);
        for (int i = 1; i <= n; ++i) {
            double t = double(i) / n, u = 1.0 - t;
            double a = u * u * u, b = 3 * u * u * t, cc = 3 * u * t * t, d = t * t * t;
            self->Add(a * x0 + b * x1 + cc * x2 + d * x3, a * y0 + b * y1 + cc * y2 + d * y3);
        }
        return 0;
    }
};

// State of one glyph's tessellation. The tessellator keeps pointers to the input vertices and to
// vertices made by the combine callback until gluTessEndPolygon returns, so both live here in
// containers that do not move their elements.
struct sTessJob {
    std::vector<std::array<double, 3>> input;
    std::deque<std::array<double, 3>> combined;
    std::vector<float>* out = nullptr;
    bool failed = false;
};

void GLAPIENTRY TessBegin(GLenum, void*) {}
void GLAPIENTRY TessEnd(void*) {}
// Present only so the tessellator emits independent triangles and no fans or strips.
void GLAPIENTRY TessEdgeFlag(GLboolean, void*) {}
void GLAPIENTRY TessVertex(void* vertex, void* job) {
    const auto* v = static_cast<const double*>(vertex);
    auto* out = static_cast<sTessJob*>(job)->out;
    out->push_back(float(v[0]));
    out->push_back(float(v[1]));
}
void GLAPIENTRY TessCombine(GLdouble coords[3], void* [4], GLfloat [4], void** outData, void* job) {
    auto& stored = static_cast<sTessJob*>(job)->combined;
    stored.push_back({coords[0], coords[1], coords[2]});
    *outData = stored.back().data();
}
void GLAPIENTRY TessError(GLenum, void* job) { static_cast<sTessJob*>(job)->failed = true; }

// Fills the contours of `glyph` with non-zero winding into glyph.capTriangles.
void Tessellate(GLUtesselator* tess, sOutlineGlyph& glyph) {
    sTessJob job;
    job.out = &glyph.capTriangles;
    const auto& pts = glyph.contourPoints;
    job.input.resize(pts.size() / 2);
    for (std::size_t i = 0; i < job.input.size(); ++i) job.input[i] = {pts[2 * i], pts[2 * i + 1], 0.0};

    gluTessBeginPolygon(tess, &job);
    std::uint32_t start = 0;
    for (std::uint32_t end : glyph.contourEnds) {
        gluTessBeginContour(tess);
        for (std::uint32_t i = start; i < end; ++i) gluTessVertex(tess, job.input[i].data(), job.input[i].data());
        gluTessEndContour(tess);
        start = end;
    }
    gluTessEndPolygon(tess);

    auto& tri = glyph.capTriangles;
    if (job.failed || tri.size() % 6 != 0) {
        tri.clear();  // a broken outline draws without its caps rather than with garbage
        return;
    }
    // Every cap triangle counter-clockwise seen from +z, whatever the outline's direction.
    for (std::size_t t = 0; t < tri.size(); t += 6) {
        float area = (tri[t + 2] - tri[t]) * (tri[t + 5] - tri[t + 1]) - (tri[t + 4] - tri[t]) * (tri[t + 3] - tri[t + 1]);
        if (area < 0.0f) {
            std::swap(tri[t + 2], tri[t + 4]);
            std::swap(tri[t + 3], tri[t + 5]);
        }
    }
}

// A tessellator for glyph caps: non-zero winding, facing +z, its callbacks filling a sTessJob.
GLUtesselator* NewCapTessellator() {
    GLUtesselator* tess = gluNewTess();
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0.0, 0.0, 1.0);
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<GluCallback>(&TessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<GluCallback>(&TessVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<GluCallback>(&TessEnd));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<GluCallback>(&TessEdgeFlag));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<GluCallback>(&TessCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<GluCallback>(&TessError));
    return tess;
}

// One loaded glyph `g` of a face of `em` design units: its metrics in ems, and, for an outline,
// its contours flattened to within one design unit and its caps tessellated.
void ReadGlyph(FT_GlyphSlot g, double em, GLUtesselator* tess, GLYPHMETRICSFLOAT& m, sOutlineGlyph& glyph) {
    const float toEm = float(1.0 / em);
    // Chordal deviation 0 means one design unit.
    constexpr double kDeviationUnits = 1.0;
    m.gmfCellIncX = float(g->metrics.horiAdvance) * toEm;
    m.gmfCellIncY = 0.0f;
    if (g->format != FT_GLYPH_FORMAT_OUTLINE || g->outline.n_contours <= 0) return;

    FT_BBox box;
    FT_Outline_Get_BBox(&g->outline, &box);
    m.gmfBlackBoxX = float(box.xMax - box.xMin) * toEm;
    m.gmfBlackBoxY = float(box.yMax - box.yMin) * toEm;
    m.gmfptGlyphOrigin = {float(box.xMin) * toEm, float(box.yMax) * toEm};

    FT_Outline_Funcs funcs{};
    funcs.move_to = &sFlattener::MoveTo;
    funcs.line_to = &sFlattener::LineTo;
    funcs.conic_to = &sFlattener::ConicTo;
    funcs.cubic_to = &sFlattener::CubicTo;
    sFlattener flat;
    flat.tolerance = kDeviationUnits;
    FT_Outline_Decompose(&g->outline, &funcs, &flat);
    if (!flat.points.empty()) flat.CloseContour();

    glyph.clockwise = FT_Outline_Get_Orientation(&g->outline) != FT_ORIENTATION_POSTSCRIPT;
    glyph.contourEnds = std::move(flat.contourEnds);
    glyph.contourPoints.resize(flat.points.size());
    for (std::size_t i = 0; i < flat.points.size(); ++i) glyph.contourPoints[i] = float(flat.points[i] / em);
    Tessellate(tess, glyph);
}

struct sCacheState {
    std::map<sFontSource, std::shared_ptr<const cOutlineGlyphSet>> sets;
    std::size_t hits = 0;
    std::size_t misses = 0;
};

// The cache itself; see the class comment for why it is file-level.
sCacheState& Cache() {
    static sCacheState state;
    return state;
}

}  // namespace

std::shared_ptr<const cOutlineGlyphSet> cGlyphCache::Build(const sFontSource& source) {
    const cFontFace opened(source.path, source.faceIndex);
    FT_Face face = opened.Get();
    if (!face || !FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;

    auto set = std::make_shared<cOutlineGlyphSet>();
    const double em = face->units_per_EM;
    GLUtesselator* tess = NewCapTessellator();

    std::map<FT_UInt, std::int32_t> slotOfGlyph;
    int unreadable = 0;
    std::vector<GLYPHMETRICSFLOAT> slotMetrics;
    for (int code = 0; code < cOutlineGlyphSet::kCodes; ++code) {
        FT_UInt index = FT_Get_Char_Index(face, CodeToUnicode(code));  // 0: the default glyph
        auto known = slotOfGlyph.find(index);
        if (known != slotOfGlyph.end()) {
            set->glyphOfCode[code] = known->second;
            continue;
        }
        std::int32_t slot = std::int32_t(set->glyphs.size());
        slotOfGlyph[index] = slot;
        set->glyphOfCode[code] = slot;
        set->glyphs.emplace_back();
        slotMetrics.emplace_back();
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
            ++unreadable;  // damaged glyph data: the character draws nothing and advances 0
            continue;
        }
        ReadGlyph(face->glyph, em, tess, slotMetrics[slot], set->glyphs[slot]);
    }
    for (int code = 0; code < cOutlineGlyphSet::kCodes; ++code) set->metrics[code] = slotMetrics[set->glyphOfCode[code]];
    // Said once per font file: the cache builds each file once, however many fonts use it.
    if (unreadable > 0)
        ConsolePrint("FONT", "%s: %d glyphs cannot be read (damaged font file); they are drawn empty",
                     source.path.c_str(), unreadable);

    gluDeleteTess(tess);
    return set;
}

std::shared_ptr<const cOutlineGlyphSet> cGlyphCache::Outlines(const sFontSource& source) {
    sCacheState& cache = Cache();
    auto found = cache.sets.find(source);
    if (found != cache.sets.end()) {
        ++cache.hits;
        return found->second;
    }
    auto set = Build(source);
    ++cache.misses;
    if (set) cache.sets.emplace(source, set);
    return set;
}

std::size_t cGlyphCache::Hits() { return Cache().hits; }
std::size_t cGlyphCache::Misses() { return Cache().misses; }
void cGlyphCache::Clear() { Cache().sets.clear(); }

}  // namespace VantorGL
