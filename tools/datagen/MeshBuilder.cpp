// Mesh building blocks for datagen's models: generator, noise, frames and primitives.
// Winding rule everywhere: counter-clockwise seen from the side the surface faces.
#include "MeshBuilder.h"

#include <algorithm>

namespace Datagen {

uint32_t Rng::Next() {
    state += 0x9E3779B97F4A7C15ull;
    uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return uint32_t((z ^ (z >> 31)) >> 32);
}

static float LatticeValue(int x, int y, int z, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(z) * 2246822519u + seed * 3266489917u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) * (2.0f / 16777215.0f) - 1.0f;
}

float Noise3(Vec3 p, uint32_t seed) {
    int x0 = int(std::floor(p.x)), y0 = int(std::floor(p.y)), z0 = int(std::floor(p.z));
    float fx = p.x - x0, fy = p.y - y0, fz = p.z - z0;
    auto smooth = [](float t) { return t * t * (3 - 2 * t); };
    float sx = smooth(fx), sy = smooth(fy), sz = smooth(fz);
    float c[2][2][2];
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 2; ++k) c[i][j][k] = LatticeValue(x0 + i, y0 + j, z0 + k, seed);
    auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
    float x00 = lerp(c[0][0][0], c[1][0][0], sx), x10 = lerp(c[0][1][0], c[1][1][0], sx);
    float x01 = lerp(c[0][0][1], c[1][0][1], sx), x11 = lerp(c[0][1][1], c[1][1][1], sx);
    return lerp(lerp(x00, x10, sy), lerp(x01, x11, sy), sz);
}

float Fbm3(Vec3 p, uint32_t seed, int octaves) {
    float sum = 0, amplitude = 0.5f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * Noise3(p, seed + uint32_t(i) * 7919u);
        p = p * 2.03f;
        amplitude *= 0.5f;
    }
    return sum * 1.6f;
}

void Perpendiculars(Vec3 dir, Vec3& a, Vec3& b) {
    Vec3 d = Normalize(dir);
    Vec3 helper = std::fabs(d.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    a = Normalize(Cross(helper, d));
    b = Cross(d, a);
}

Frame FrameAlong(Vec3 origin, Vec3 dir, float spin) {
    Frame f;
    f.origin = origin;
    f.ay = Normalize(dir);
    Vec3 a, b;
    Perpendiculars(f.ay, a, b);
    Vec3 az0 = Cross(a, f.ay);
    f.ax = a * std::cos(spin) + az0 * std::sin(spin);
    f.az = Cross(f.ax, f.ay);
    return f;
}

void Mesh::AddFlatTriangle(Vec3 p0, Vec3 p1, Vec3 p2, Vec2 t0, Vec2 t1, Vec2 t2, int material) {
    uint32_t a = AddVertex(p0, t0), b = AddVertex(p1, t1), c = AddVertex(p2, t2);
    AddTriangle(a, b, c, material);
}

void Mesh::AddFlatQuad(Vec3 p0, Vec3 p1, Vec3 p2, Vec3 p3, Vec2 t0, Vec2 t1, Vec2 t2, Vec2 t3, int material) {
    uint32_t a = AddVertex(p0, t0), b = AddVertex(p1, t1), c = AddVertex(p2, t2), d = AddVertex(p3, t3);
    AddTriangle(a, b, c, material);
    AddTriangle(a, c, d, material);
}

void Mesh::FlipWinding() {
    for (Triangle& t : triangles) std::swap(t.b, t.c);
}

void Mesh::Append(const Mesh& other) {
    uint32_t base = uint32_t(positions.size());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    uvs.insert(uvs.end(), other.uvs.begin(), other.uvs.end());
    for (Triangle t : other.triangles) triangles.push_back({t.a + base, t.b + base, t.c + base, t.material});
}

void Mesh::Bounds(Vec3& lo, Vec3& hi) const {
    lo = {1e30f, 1e30f, 1e30f};
    hi = {-1e30f, -1e30f, -1e30f};
    for (Vec3 p : positions) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
}

int Model::AddMaterial(const std::string& name, uint32_t rgb) {
    materials.push_back({name, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)});
    return int(materials.size() - 1);
}

Mesh& Model::AddObject(const std::string& name) {
    objects.emplace_back();
    objects.back().name = name;
    return objects.back();
}

void AddCrystal(Mesh& mesh, const Frame& frame, const CrystalShape& s, int material, Rng* rng) {
    const int n = std::max(3, s.sides);
    std::vector<Vec3> base(static_cast<size_t>(n)), shoulder(static_cast<size_t>(n));
    const float shoulderY = s.length - s.tip;
    for (int k = 0; k < n; ++k) {
        float jitterA = rng && s.jitter > 0 ? rng->Range(-0.25f, 0.25f) * s.jitter : 0;
        float jitterR = rng && s.jitter > 0 ? 1 + rng->Range(-1, 1) * s.jitter : 1;
        float a = 2 * kPi * (k + jitterA) / n;
        float r = s.radius * jitterR;
        base[size_t(k)] = {r * std::sin(a), 0, r * std::cos(a)};
        shoulder[size_t(k)] = {r * s.taper * std::sin(a), shoulderY, r * s.taper * std::cos(a)};
    }
    Vec3 apex{0, s.length, 0};
    if (rng && s.jitter > 0) apex = apex + Vec3{rng->Range(-1, 1), 0, rng->Range(-1, 1)} * (s.radius * s.jitter * 0.4f);
    const float vShoulder = shoulderY / std::max(s.length, 1e-6f);
    for (int k = 0; k < n; ++k) {
        int k1 = (k + 1) % n;
        float u0 = float(k) / n, u1 = float(k + 1) / n;
        Vec3 a = frame.Apply(base[size_t(k)]), d = frame.Apply(base[size_t(k1)]);
        Vec3 b = frame.Apply(shoulder[size_t(k)]), c = frame.Apply(shoulder[size_t(k1)]);
        mesh.AddFlatQuad(a, d, c, b, {u0, 0}, {u1, 0}, {u1, vShoulder}, {u0, vShoulder}, material);
        mesh.AddFlatTriangle(b, c, frame.Apply(apex), {u0, vShoulder}, {u1, vShoulder}, {(u0 + u1) / 2, 1}, material);
        if (s.baseTip > 0) {
            mesh.AddFlatTriangle(frame.Apply({0, -s.baseTip, 0}), d, a, {(u0 + u1) / 2, 0}, {u1, 0}, {u0, 0}, material);
        }
    }
    if (s.baseTip <= 0) {
        for (int k = 1; k + 1 < n; ++k) {
            Vec3 p0 = base[0], p1 = base[size_t(k + 1)], p2 = base[size_t(k)];
            mesh.AddFlatTriangle(frame.Apply(p0), frame.Apply(p1), frame.Apply(p2), {0.5f + p0.x / (2 * s.radius), 0.5f + p0.z / (2 * s.radius)},
                                 {0.5f + p1.x / (2 * s.radius), 0.5f + p1.z / (2 * s.radius)},
                                 {0.5f + p2.x / (2 * s.radius), 0.5f + p2.z / (2 * s.radius)}, material);
        }
    }
}

void AddBox(Mesh& mesh, const Frame& frame, Vec3 h, int material) {
    const Vec3 X{h.x, 0, 0}, Y{0, h.y, 0}, Z{0, 0, h.z};
    const Vec3 faces[6][3] = {{X, Y, Z}, {X * -1, Z, Y}, {Y, Z, X}, {Y * -1, X, Z}, {Z, X, Y}, {Z * -1, Y, X}};
    for (const auto& f : faces) {
        Vec3 n = f[0], u = f[1], v = f[2];
        mesh.AddFlatQuad(frame.Apply(n - u - v), frame.Apply(n + u - v), frame.Apply(n + u + v), frame.Apply(n - u + v),
                         {0, 0}, {1, 0}, {1, 1}, {0, 1}, material);
    }
}

// Rings of a profile revolved about y; ring j has `sides + 1` vertices (the seam is doubled for uv).
// A ring of radius 0 is a pole: its degenerate triangles are left out.
static void Revolve(Mesh& mesh, const Frame& frame, const std::vector<Vec2>& profile, int sides, int material,
                    float uRepeat, float vRepeat) {
    const size_t rings = profile.size();
    const uint32_t first = uint32_t(mesh.positions.size());
    for (size_t j = 0; j < rings; ++j) {
        for (int k = 0; k <= sides; ++k) {
            float a = 2 * kPi * float(k) / sides;
            float r = profile[j].u;
            mesh.AddVertex(frame.Apply({r * std::sin(a), profile[j].v, r * std::cos(a)}),
                           {uRepeat * float(k) / sides, vRepeat * float(j) / float(rings - 1)});
        }
    }
    const uint32_t stride = uint32_t(sides + 1);
    for (size_t j = 0; j + 1 < rings; ++j) {
        for (int k = 0; k < sides; ++k) {
            uint32_t a = first + uint32_t(j) * stride + uint32_t(k), d = a + 1;
            uint32_t b = a + stride, c = d + stride;
            if (profile[j].u > 0) mesh.AddTriangle(a, d, b, material);
            if (profile[j + 1].u > 0) mesh.AddTriangle(d, c, b, material);
        }
    }
}

void AddLathe(Mesh& mesh, const Frame& frame, const std::vector<Vec2>& profile, int sides, int material) {
    Revolve(mesh, frame, profile, sides, material, 1, 1);
}

void AddSphere(Mesh& mesh, const Frame& frame, float radius, int slices, int stacks, int material, bool inward,
               float uRepeat, float vRepeat) {
    std::vector<Vec2> profile;
    for (int j = 0; j <= stacks; ++j) {
        float t = kPi * float(j) / stacks;
        profile.push_back({j == 0 || j == stacks ? 0.0f : radius * std::sin(t), -radius * std::cos(t)});
    }
    size_t firstTriangle = mesh.triangles.size();
    Revolve(mesh, frame, profile, slices, material, uRepeat, vRepeat);
    if (inward)
        for (size_t i = firstTriangle; i < mesh.triangles.size(); ++i) std::swap(mesh.triangles[i].b, mesh.triangles[i].c);
}

void AddTorus(Mesh& mesh, const Frame& frame, float R, float r, int segments, int sides, int material, bool inward,
              float uRepeat, float vRepeat) {
    std::vector<Vec2> profile;
    for (int j = 0; j <= sides; ++j) {
        float t = -kPi + 2 * kPi * float(j) / sides;
        profile.push_back({R + r * std::cos(t), r * std::sin(t)});
    }
    size_t firstTriangle = mesh.triangles.size();
    Revolve(mesh, frame, profile, segments, material, uRepeat, vRepeat);
    if (inward)
        for (size_t i = firstTriangle; i < mesh.triangles.size(); ++i) std::swap(mesh.triangles[i].b, mesh.triangles[i].c);
}

void AddSweep(Mesh& mesh, const std::vector<Vec3>& path, const std::vector<float>& radii, int sides, int material,
              float vScale) {
    const size_t n = path.size();
    if (n < 2) return;
    std::vector<Vec3> tangents(n);
    for (size_t i = 0; i < n; ++i) tangents[i] = Normalize(path[std::min(i + 1, n - 1)] - path[i > 0 ? i - 1 : 0]);
    Vec3 normal, binormal;
    Perpendiculars(tangents[0], normal, binormal);
    std::vector<uint32_t> ringStart(n);
    float along = 0;
    const uint32_t stride = uint32_t(sides + 1);
    for (size_t i = 0; i < n; ++i) {
        if (i > 0) {
            along += Length(path[i] - path[i - 1]);
            normal = Normalize(normal - tangents[i] * Dot(normal, tangents[i]));  // parallel transport
        }
        binormal = Cross(tangents[i], normal);
        ringStart[i] = uint32_t(mesh.positions.size());
        for (int k = 0; k <= sides; ++k) {
            float a = 2 * kPi * float(k) / sides;
            Vec3 offset = (normal * std::cos(a) + binormal * std::sin(a)) * radii[i];
            mesh.AddVertex(path[i] + offset, {float(k) / sides, along / vScale});
        }
    }
    for (size_t i = 0; i + 1 < n; ++i) {
        for (int k = 0; k < sides; ++k) {
            uint32_t a = ringStart[i] + uint32_t(k), d = a + 1, b = ringStart[i + 1] + uint32_t(k), c = b + 1;
            if (radii[i] > 0) mesh.AddTriangle(a, c, b, material);
            if (radii[i + 1] > 0) mesh.AddTriangle(a, d, c, material);
        }
    }
    // Flat caps on open ends.
    for (int end = 0; end < 2; ++end) {
        size_t i = end == 0 ? 0 : n - 1;
        if (radii[i] <= 0) continue;
        Vec3 facing = end == 0 ? tangents[i] * -1 : tangents[i];
        uint32_t centre = mesh.AddVertex(path[i], {0.5f, 0.5f});
        uint32_t capStart = uint32_t(mesh.positions.size());
        for (uint32_t k = 0; k < stride; ++k) mesh.AddVertex(mesh.positions[ringStart[i] + k], mesh.uvs[ringStart[i] + k]);
        for (uint32_t k = 0; k + 1 < stride; ++k) {
            uint32_t p = capStart + k, q = p + 1;
            Vec3 nrm = Cross(mesh.positions[p] - mesh.positions[centre], mesh.positions[q] - mesh.positions[centre]);
            if (Dot(nrm, facing) >= 0)
                mesh.AddTriangle(centre, p, q, material);
            else
                mesh.AddTriangle(centre, q, p, material);
        }
    }
}

void AddLeaf(Mesh& mesh, const Frame& frame, float length, float width, float curl, int material) {
    const int along = 10, across = 6;
    std::vector<Vec3> centre(size_t(along + 1)), normal(size_t(along + 1));
    Vec3 p{0, 0, 0};
    for (int i = 0; i <= along; ++i) {
        float phi = curl * float(i) / along;
        centre[size_t(i)] = p;
        normal[size_t(i)] = {0, -std::sin(phi), std::cos(phi)};
        p = p + Vec3{0, std::cos(phi), std::sin(phi)} * (length / along);
    }
    for (int side = 0; side < 2; ++side) {
        float sign = side == 0 ? 1.0f : -1.0f;
        uint32_t first = uint32_t(mesh.positions.size());
        for (int i = 0; i <= along; ++i) {
            float t = float(i) / along;
            float halfWidth = 0.5f * width * std::pow(std::sin(kPi * std::min(0.98f, 0.08f + 0.92f * t)), 0.8f);
            for (int j = 0; j <= across; ++j) {
                float s = -1 + 2 * float(j) / across;
                float fold = 0.18f * width * (1 - std::fabs(s)) * std::sin(kPi * t);  // the mid-rib stands proud
                float thickness = 0.03f * width * (1 - s * s) * sign;
                Vec3 q = centre[size_t(i)] + Vec3{s * halfWidth, 0, 0} + normal[size_t(i)] * (fold * 0.4f + thickness);
                mesh.AddVertex(frame.Apply(q), {0.5f + 0.5f * s, t});
            }
        }
        const uint32_t stride = uint32_t(across + 1);
        for (int i = 0; i < along; ++i) {
            for (int j = 0; j < across; ++j) {
                uint32_t a = first + uint32_t(i) * stride + uint32_t(j), d = a + 1, b = a + stride, c = b + 1;
                if (side == 0) {
                    mesh.AddTriangle(a, d, c, material);
                    mesh.AddTriangle(a, c, b, material);
                } else {
                    mesh.AddTriangle(a, c, d, material);
                    mesh.AddTriangle(a, b, c, material);
                }
            }
        }
    }
}

}  // namespace Datagen
