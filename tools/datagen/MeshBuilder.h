// Mesh building blocks for datagen's models: a small vector type, a seeded generator, triangle
// meshes with materials and texture coordinates, and the primitives the model recipes use.
// Geometry is built in the demo's axes (Y up); the 3DS writer converts on the way out.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace Datagen {

constexpr float kPi = 3.14159265358979f;

struct Vec2 {
    float u = 0, v = 0;
};

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 Cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline float Length(Vec3 a) { return std::sqrt(Dot(a, a)); }
inline Vec3 Normalize(Vec3 a) {
    float l = Length(a);
    return l > 0 ? a * (1.0f / l) : Vec3{0, 1, 0};
}
inline Vec3 Lerp(Vec3 a, Vec3 b, float t) { return a + (b - a) * t; }

// Where the ray origin + h * dir meets triangle (a, b, c), in units of dir (either winding);
// -1 when it misses, runs parallel or the triangle lies behind the origin.
inline float RayHitsTriangle(Vec3 origin, Vec3 dir, Vec3 a, Vec3 b, Vec3 c) {
    Vec3 e1 = b - a, e2 = c - a, p = Cross(dir, e2);
    float det = Dot(e1, p);
    if (std::fabs(det) < 1e-9f) return -1;
    Vec3 s = origin - a;
    float u = Dot(s, p) / det;
    if (u < 0 || u > 1) return -1;
    Vec3 q = Cross(s, e1);
    float v = Dot(dir, q) / det, h = Dot(e2, q) / det;
    return v >= 0 && u + v <= 1 && h > 0 ? h : -1;
}

// Same sequence on every run and platform (splitmix64); no library generator is involved.
class Rng {
public:
    explicit Rng(uint64_t seed) : state(seed) {}
    uint32_t Next();
    float Uniform() { return (Next() >> 8) * (1.0f / 16777216.0f); }  // [0, 1)
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

private:
    uint64_t state;
};

// Smooth deterministic 3D value noise in about [-1, 1], for rock and bark.
float Noise3(Vec3 p, uint32_t seed);
float Fbm3(Vec3 p, uint32_t seed, int octaves);

// A placement: origin plus three axes (not necessarily unit: they carry the scale).
struct Frame {
    Vec3 origin, ax{1, 0, 0}, ay{0, 1, 0}, az{0, 0, 1};
    Vec3 Apply(Vec3 p) const { return origin + ax * p.x + ay * p.y + az * p.z; }
    Vec3 ApplyDir(Vec3 d) const { return ax * d.x + ay * d.y + az * d.z; }
};

// A frame at `origin` whose local +y runs along `dir`, turned by `spin` radians about it.
Frame FrameAlong(Vec3 origin, Vec3 dir, float spin);
// Two unit vectors perpendicular to `dir` and to each other.
void Perpendiculars(Vec3 dir, Vec3& a, Vec3& b);

struct Triangle {
    uint32_t a, b, c;
    uint16_t material;
};

// One object of a model. Triangles run counter-clockwise seen from the side their normal faces.
// Shared vertices shade smoothly (the loader averages face normals per vertex); hard edges get
// vertices of their own.
struct Mesh {
    std::string name;
    std::vector<Vec3> positions;
    std::vector<Vec2> uvs;
    std::vector<Triangle> triangles;

    uint32_t AddVertex(Vec3 p, Vec2 uv) {
        positions.push_back(p);
        uvs.push_back(uv);
        return uint32_t(positions.size() - 1);
    }
    void AddTriangle(uint32_t a, uint32_t b, uint32_t c, int material) {
        triangles.push_back({a, b, c, uint16_t(material)});
    }
    // Faceted pieces: fresh vertices, so the face shades flat.
    void AddFlatTriangle(Vec3 p0, Vec3 p1, Vec3 p2, Vec2 t0, Vec2 t1, Vec2 t2, int material);
    void AddFlatQuad(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, Vec2 t0, Vec2 t1, Vec2 t2, Vec2 t3, int material);
    // Reverses every triangle (for surfaces seen from inside).
    void FlipWinding();
    void Append(const Mesh& other);
    void Bounds(Vec3& lo, Vec3& hi) const;
};

struct Material {
    std::string name;
    uint8_t r, g, b;
};

// A whole model file: materials, then objects whose triangles index into `materials`.
struct Model {
    std::vector<Material> materials;
    std::vector<Mesh> objects;
    // Adds a material with the colour given as 0xRRGGBB; returns its index.
    int AddMaterial(const std::string& name, uint32_t rgb);
    Mesh& AddObject(const std::string& name);
};

// --- Primitives (each appends to `mesh`) ---------------------------------------------------------

// A crystal along the frame's +y: `sides`-gon prism from y = 0 with radius `radius` (tapering to
// `radius * taper` at the shoulder), then a pyramid tip of height `tip`; total length `length`.
// `baseTip` > 0 adds a pointed base below y = 0 (a doubly terminated crystal). Faceted; `jitter`
// roughens the corners (0 = regular). uv: u around, v along.
struct CrystalShape {
    float length = 10, radius = 1, tip = 2, taper = 0.9f, baseTip = 0, jitter = 0;
    int sides = 6;
};
void AddCrystal(Mesh& mesh, const Frame& frame, const CrystalShape& shape, int material, Rng* rng);

// Flat-shaded box of half sizes `half` centred on the frame origin, one uv square per face.
void AddBox(Mesh& mesh, const Frame& frame, Vec3 half, int material);

// Smooth uv sphere; `inward` makes its triangles face the centre (seen from inside).
void AddSphere(Mesh& mesh, const Frame& frame, float radius, int slices, int stacks, int material, bool inward,
               float uRepeat = 1, float vRepeat = 1);

// Smooth torus about the frame's y axis: major radius R in the x-z plane, tube radius r.
void AddTorus(Mesh& mesh, const Frame& frame, float R, float r, int segments, int sides, int material, bool inward,
              float uRepeat, float vRepeat);

// Smooth tube along `path` with radius radii[i] at path[i]; ends close in a point when their
// radius is 0 (or get a flat cap otherwise). uv: u around, v along the path length / vScale.
void AddSweep(Mesh& mesh, const std::vector<Vec3>& path, const std::vector<float>& radii, int sides, int material,
              float vScale = 1);

// Smooth surface of revolution about the frame's y: profile points (radius, height), bottom first.
void AddLathe(Mesh& mesh, const Frame& frame, const std::vector<Vec2>& profile, int sides, int material);

// A thin leaf blade along the frame's +y, width along x, bending towards +z by `curl` (radians
// over its length); two smooth faces back to back with a hard rim.
void AddLeaf(Mesh& mesh, const Frame& frame, float length, float width, float curl, int material);

}  // namespace Datagen
