// Solid shapes from flat outlines: GLU tessellation (no GL context needed), FreeType glyph
// outlines flattened to polygons, and the extrusion into caps, bevels and walls.
#include "MeshText.h"

#include "shell/Console.h"

#include <epoxy/gl.h>
#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <deque>
#include <map>

namespace Datagen {

namespace {

struct TessState {
    std::deque<std::array<double, 3>> points;  // stable addresses for GLU's vertex data
    std::vector<Vec2> triangles;
    bool failed = false;
};

void OnBegin(GLenum, void*) {}
void OnEdgeFlag(GLboolean, void*) {}  // registering it forces plain GL_TRIANGLES output
void OnVertex(void* vertex, void* data) {
    const double* p = static_cast<const double*>(vertex);
    static_cast<TessState*>(data)->triangles.push_back({float(p[0]), float(p[1])});
}
void OnCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data) {
    TessState* state = static_cast<TessState*>(data);
    state->points.push_back({coords[0], coords[1], 0.0});
    *out = state->points.back().data();
}
void OnError(GLenum, void* data) { static_cast<TessState*>(data)->failed = true; }

float SignedArea(const Contour& c) {
    float area = 0;
    for (size_t i = 0; i < c.size(); ++i) {
        const Vec2& a = c[i];
        const Vec2& b = c[(i + 1) % c.size()];
        area += a.u * b.v - b.u * a.v;
    }
    return area * 0.5f;
}

// Left-hand normal of the edge a -> b (points into the filled side).
Vec2 LeftNormal(Vec2 a, Vec2 b) {
    float dx = b.u - a.u, dy = b.v - a.v, l = std::sqrt(dx * dx + dy * dy);
    return l > 0 ? Vec2{-dy / l, dx / l} : Vec2{0, 0};
}

// A strip of quads between two rings (upper `ra`, lower `rb`, matching points). Corners flagged
// smooth share their vertices between neighbouring quads; the others are split (hard edge).
void AddBand(Mesh& mesh, const std::vector<Vec3>& ra, const std::vector<Vec3>& rb, const std::vector<Vec2>& uvA,
             const std::vector<Vec2>& uvB, const std::vector<bool>& smooth, int material) {
    const size_t n = ra.size();
    std::vector<uint32_t> inA(n), inB(n), outA(n), outB(n);  // vertices for the edge arriving / leaving
    for (size_t i = 0; i < n; ++i) {
        outA[i] = mesh.AddVertex(ra[i], uvA[i]);
        outB[i] = mesh.AddVertex(rb[i], uvB[i]);
        if (smooth[i]) {
            inA[i] = outA[i];
            inB[i] = outB[i];
        } else {
            inA[i] = mesh.AddVertex(ra[i], uvA[i]);
            inB[i] = mesh.AddVertex(rb[i], uvB[i]);
        }
    }
    for (size_t i = 0; i < n; ++i) {
        size_t j = (i + 1) % n;
        mesh.AddTriangle(outA[i], outB[i], inB[j], material);
        mesh.AddTriangle(outA[i], inB[j], inA[j], material);
    }
}

void AddCap(Mesh& mesh, const std::vector<Vec2>& triangles, float z, bool front, const Frame& frame, Vec2 lo, Vec2 size,
            int material) {
    std::map<std::pair<float, float>, uint32_t> shared;
    auto vertex = [&](Vec2 p) {
        auto key = std::make_pair(p.u, p.v);
        auto it = shared.find(key);
        if (it != shared.end()) return it->second;
        uint32_t index = mesh.AddVertex(frame.Apply({p.u, p.v, z}), {(p.u - lo.u) / size.u, 1 - (p.v - lo.v) / size.v});
        shared.emplace(key, index);
        return index;
    };
    for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
        uint32_t a = vertex(triangles[t]), b = vertex(triangles[t + 1]), c = vertex(triangles[t + 2]);
        if (front)
            mesh.AddTriangle(a, b, c, material);
        else
            mesh.AddTriangle(a, c, b, material);
    }
}

}  // namespace

std::vector<Vec2> TessellateContours(const std::vector<Contour>& contours) {
    TessState state;
    GLUtesselator* tess = gluNewTess();
    if (!tess) return {};
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<_GLUfuncptr>(OnBegin));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(OnEdgeFlag));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(OnVertex));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(OnCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(OnError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, 1);
    gluTessBeginPolygon(tess, &state);
    for (const Contour& c : contours) {
        gluTessBeginContour(tess);
        for (Vec2 p : c) {
            state.points.push_back({p.u, p.v, 0.0});
            gluTessVertex(tess, state.points.back().data(), state.points.back().data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    if (state.failed) return {};
    std::vector<Vec2>& tri = state.triangles;
    tri.resize(tri.size() / 3 * 3);
    for (size_t t = 0; t < tri.size(); t += 3) {  // make every triangle counter-clockwise
        float cross = (tri[t + 1].u - tri[t].u) * (tri[t + 2].v - tri[t].v) - (tri[t + 1].v - tri[t].v) * (tri[t + 2].u - tri[t].u);
        if (cross < 0) std::swap(tri[t + 1], tri[t + 2]);
    }
    return tri;
}

void OrientContours(std::vector<Contour>& contours) {
    float largest = 0, sign = 1;
    for (const Contour& c : contours) {
        float a = SignedArea(c);
        if (std::fabs(a) > largest) {
            largest = std::fabs(a);
            sign = a;
        }
    }
    if (sign < 0)
        for (Contour& c : contours) std::reverse(c.begin(), c.end());
}

void ExtrudeContours(Mesh& mesh, std::vector<Contour> contours, float depth, float bevel, const Frame& frame,
                     ExtrudeMaterials materials) {
    // Drop repeated points: they would make zero-length walls.
    for (Contour& c : contours) {
        Contour clean;
        for (Vec2 p : c)
            if (clean.empty() || std::fabs(p.u - clean.back().u) + std::fabs(p.v - clean.back().v) > 1e-5f) clean.push_back(p);
        while (clean.size() > 1 && std::fabs(clean.front().u - clean.back().u) + std::fabs(clean.front().v - clean.back().v) <= 1e-5f)
            clean.pop_back();
        c = clean;
    }
    contours.erase(std::remove_if(contours.begin(), contours.end(), [](const Contour& c) { return c.size() < 3; }),
                   contours.end());
    if (contours.empty()) return;
    OrientContours(contours);

    Vec2 lo{1e30f, 1e30f}, hi{-1e30f, -1e30f};
    for (const Contour& c : contours)
        for (Vec2 p : c) {
            lo = {std::min(lo.u, p.u), std::min(lo.v, p.v)};
            hi = {std::max(hi.u, p.u), std::max(hi.v, p.v)};
        }
    Vec2 size{std::max(hi.u - lo.u, 1e-6f), std::max(hi.v - lo.v, 1e-6f)};
    auto planar = [&](Vec2 p) { return Vec2{(p.u - lo.u) / size.u, 1 - (p.v - lo.v) / size.v}; };

    const float zFront = depth / 2, zBack = -depth / 2;
    const float wallFront = bevel > 0 ? zFront - bevel : zFront, wallBack = bevel > 0 ? zBack + bevel : zBack;
    std::vector<Contour> insets;
    for (const Contour& c : contours) {
        const size_t n = c.size();
        std::vector<bool> smooth(n);
        Contour inset(n);
        for (size_t i = 0; i < n; ++i) {
            Vec2 prev = c[(i + n - 1) % n], here = c[i], next = c[(i + 1) % n];
            Vec2 n1 = LeftNormal(prev, here), n2 = LeftNormal(here, next);
            float cosTurn = n1.u * n2.u + n1.v * n2.v;
            smooth[i] = cosTurn > 0.82f;  // turns under ~35 degrees shade smoothly
            Vec2 miter{n1.u + n2.u, n1.v + n2.v};
            float scale = 1.0f / std::max(1 + cosTurn, 0.16f);  // 1 / (1 + cos), capped for spikes
            inset[i] = {here.u + miter.u * scale * bevel, here.v + miter.v * scale * bevel};
        }
        std::vector<Vec3> top(n), bottom(n);
        std::vector<Vec2> uv(n);
        for (size_t i = 0; i < n; ++i) {
            top[i] = frame.Apply({c[i].u, c[i].v, wallFront});
            bottom[i] = frame.Apply({c[i].u, c[i].v, wallBack});
            uv[i] = planar(c[i]);
        }
        AddBand(mesh, top, bottom, uv, uv, smooth, materials.side);
        if (bevel > 0) {
            std::vector<Vec3> face(n), rim(n);
            std::vector<Vec2> uvInset(n);
            for (size_t i = 0; i < n; ++i) {
                face[i] = frame.Apply({inset[i].u, inset[i].v, zFront});
                uvInset[i] = planar(inset[i]);
            }
            AddBand(mesh, face, top, uvInset, uv, smooth, materials.bevel);
            for (size_t i = 0; i < n; ++i) face[i] = frame.Apply({inset[i].u, inset[i].v, zBack});
            AddBand(mesh, bottom, face, uv, uvInset, smooth, materials.bevel);
        }
        insets.push_back(inset);
    }
    std::vector<Vec2> triangles = TessellateContours(bevel > 0 ? insets : contours);
    AddCap(mesh, triangles, zFront, true, frame, lo, size, materials.front);
    AddCap(mesh, triangles, zBack, false, frame, lo, size, materials.front);
}

namespace {

struct Flattener {
    Contour* current = nullptr;
    std::vector<Contour>* out = nullptr;
    Vec2 last;
    float scale = 1, penX = 0;
    float tolerance = 0;  // largest distance of a chord from its curve, in output units
    Vec2 Map(const FT_Vector* v) const { return {penX + float(v->x) * scale, float(v->y) * scale}; }
};

int MoveTo(const FT_Vector* to, void* user) {
    Flattener* f = static_cast<Flattener*>(user);
    f->out->emplace_back();
    f->current = &f->out->back();
    f->last = f->Map(to);
    f->current->push_back(f->last);
    return 0;
}
int LineTo(const FT_Vector* to, void* user) {
    Flattener* f = static_cast<Flattener*>(user);
    f->last = f->Map(to);
    f->current->push_back(f->last);
    return 0;
}
// Segments for a curve whose control polygon bends by `bend` (the largest second difference of
// its control points) so that no chord strays more than `tolerance` from it: a uniform split in
// n parts strays at most bend * k / n^2 (k = 1/8 for a quadratic, 3/4 for a cubic's polygon).
int SegmentsFor(float bend, float k, float tolerance) {
    const int kMaxSegments = 16;
    if (tolerance <= 0) return kMaxSegments;
    return std::clamp(int(std::ceil(std::sqrt(bend * k / tolerance))), 1, kMaxSegments);
}

float Bend(Vec2 a, Vec2 b, Vec2 c) { return std::hypot(a.u - 2 * b.u + c.u, a.v - 2 * b.v + c.v); }

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    Flattener* f = static_cast<Flattener*>(user);
    Vec2 p0 = f->last, p1 = f->Map(control), p2 = f->Map(to);
    const int steps = SegmentsFor(Bend(p0, p1, p2), 1.0f / 8, f->tolerance);
    for (int i = 1; i <= steps; ++i) {
        float t = float(i) / steps, s = 1 - t;
        f->current->push_back({s * s * p0.u + 2 * s * t * p1.u + t * t * p2.u, s * s * p0.v + 2 * s * t * p1.v + t * t * p2.v});
    }
    f->last = p2;
    return 0;
}
int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    Flattener* f = static_cast<Flattener*>(user);
    Vec2 p0 = f->last, p1 = f->Map(c1), p2 = f->Map(c2), p3 = f->Map(to);
    const int steps = SegmentsFor(std::max(Bend(p0, p1, p2), Bend(p1, p2, p3)), 3.0f / 4, f->tolerance);
    for (int i = 1; i <= steps; ++i) {
        float t = float(i) / steps, s = 1 - t;
        float a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
        f->current->push_back({a * p0.u + b * p1.u + c * p2.u + d * p3.u, a * p0.v + b * p1.v + c * p2.v + d * p3.v});
    }
    f->last = p3;
    return 0;
}

}  // namespace

bool TextContours(const std::string& text, float capHeight, float tolerance, std::vector<Contour>& out, float& width) {
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        VantorGL::ConsolePrint("DATAGEN", "FreeType cannot start");
        return false;
    }
    FT_Face face;
    if (FT_New_Face(library, kDisplayFontPath, 0, &face)) {
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot read the font (package fonts-league-spartan)", kDisplayFontPath);
        FT_Done_FreeType(library);
        return false;
    }
    const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
    float capUnits = 0;
    if (FT_Load_Char(face, 'H', flags) == 0) {
        FT_BBox box;
        FT_Outline_Get_CBox(&face->glyph->outline, &box);
        capUnits = float(box.yMax);
    }
    if (capUnits <= 0) capUnits = 0.7f * face->units_per_EM;
    Flattener flattener;
    flattener.out = &out;
    flattener.scale = capHeight / capUnits;
    flattener.tolerance = tolerance;
    FT_Outline_Funcs funcs{};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;
    for (unsigned char ch : text) {
        if (FT_Load_Char(face, ch, flags) != 0) continue;
        if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) FT_Outline_Decompose(&face->glyph->outline, &funcs, &flattener);
        flattener.penX += float(face->glyph->advance.x) * flattener.scale;
    }
    width = flattener.penX;
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

}  // namespace Datagen
