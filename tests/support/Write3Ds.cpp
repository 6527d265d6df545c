// Write3Ds: little-endian chunk writer for synthetic 3DS files.
#include "support/Write3Ds.h"

#include <cstdio>
#include <cstring>

namespace VantorGLTest {

Chunk3Ds& Chunk3Ds::U8(std::uint8_t v) {
    data.push_back(v);
    return *this;
}
Chunk3Ds& Chunk3Ds::U16(std::uint16_t v) {
    data.push_back(std::uint8_t(v));
    data.push_back(std::uint8_t(v >> 8));
    return *this;
}
Chunk3Ds& Chunk3Ds::U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) data.push_back(std::uint8_t(v >> (8 * i)));
    return *this;
}
Chunk3Ds& Chunk3Ds::F32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return U32(bits);
}
Chunk3Ds& Chunk3Ds::Str(const std::string& s) {
    data.insert(data.end(), s.begin(), s.end());
    data.push_back(0);
    return *this;
}
Chunk3Ds& Chunk3Ds::Add(Chunk3Ds child) {
    children.push_back(std::move(child));
    return *this;
}

std::vector<std::uint8_t> Chunk3Ds::Bytes() const {
    std::vector<std::uint8_t> body = data;
    for (const Chunk3Ds& child : children) {
        const auto bytes = child.Bytes();
        body.insert(body.end(), bytes.begin(), bytes.end());
    }
    const std::uint32_t length = lengthOverride >= 0 ? std::uint32_t(lengthOverride) : std::uint32_t(body.size() + 6);
    std::vector<std::uint8_t> out = {std::uint8_t(id), std::uint8_t(id >> 8)};
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(length >> (8 * i)));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

static Chunk3Ds MaterialChunk(const Material3Ds& m) {
    Chunk3Ds colour(m.floatColour ? 0x0010 : 0x0011);
    for (float c : m.rgb) {
        if (m.floatColour) colour.F32(c);
        else colour.U8(std::uint8_t(c * 255.0f + 0.5f));
    }
    return Chunk3Ds(0xAFFF)
        .Add(Chunk3Ds(0xA000).Str(m.name))
        .Add(Chunk3Ds(0xA020).Add(colour))
        .Add(Chunk3Ds(0xA200).Add(Chunk3Ds(0xA300).Str(m.name + ".png")));
}

static Chunk3Ds ObjectChunk(const Mesh3Ds& mesh) {
    Chunk3Ds vertices(0x4110);
    vertices.U16(std::uint16_t(mesh.xyz.size() / 3));
    for (float v : mesh.xyz) vertices.F32(v);
    Chunk3Ds faces(0x4120);
    faces.U16(std::uint16_t(mesh.faces.size() / 3));
    for (std::size_t i = 0; i + 2 < mesh.faces.size(); i += 3)
        faces.U16(mesh.faces[i]).U16(mesh.faces[i + 1]).U16(mesh.faces[i + 2]).U16(7);
    for (const auto& [material, numbers] : mesh.groups) {
        Chunk3Ds group(0x4130);
        group.Str(material).U16(std::uint16_t(numbers.size()));
        for (auto f : numbers) group.U16(f);
        faces.Add(group);
    }
    faces.Add(Chunk3Ds(0x4150).U32(1));  // smoothing groups: present in real files, unused
    Chunk3Ds trimesh(0x4100);
    trimesh.Add(vertices);
    if (!mesh.uv.empty()) {
        Chunk3Ds uv(0x4140);
        uv.U16(std::uint16_t(mesh.uv.size() / 2));
        for (float v : mesh.uv) uv.F32(v);
        trimesh.Add(uv);
    }
    trimesh.Add(faces);
    return Chunk3Ds(0x4000).Str(mesh.name).Add(trimesh);
}

Chunk3Ds Model3Ds(const std::vector<Material3Ds>& materials, const std::vector<Mesh3Ds>& meshes,
                  bool objectsFirst) {
    Chunk3Ds editor(0x3D3D);
    editor.Add(Chunk3Ds(0x3D3E).U32(3));  // mesh version, skipped
    if (objectsFirst)
        for (const auto& m : meshes) editor.Add(ObjectChunk(m));
    for (const auto& m : materials) editor.Add(MaterialChunk(m));
    if (!objectsFirst)
        for (const auto& m : meshes) editor.Add(ObjectChunk(m));
    return Chunk3Ds(0x4D4D).Add(Chunk3Ds(0x0002).U32(3)).Add(editor);
}

std::vector<std::uint8_t> Write3Ds(const std::vector<Material3Ds>& materials,
                                   const std::vector<Mesh3Ds>& meshes, bool objectsFirst) {
    return Model3Ds(materials, meshes, objectsFirst).Bytes();
}

Mesh3Ds SingleGroupMesh(const std::string& name, std::vector<float> xyz, std::vector<std::uint16_t> faces,
                        const std::string& material, std::vector<float> uv) {
    Mesh3Ds mesh;
    mesh.name = name;
    mesh.xyz = std::move(xyz);
    mesh.uv = std::move(uv);
    mesh.faces = std::move(faces);
    std::vector<std::uint16_t> all(mesh.faces.size() / 3);
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = std::uint16_t(i);
    mesh.groups.push_back({material, all});
    return mesh;
}

Mesh3Ds GridMesh(const std::string& name, int side, const std::string& material) {
    std::vector<float> xyz, uv;
    std::vector<std::uint16_t> faces;
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x) {
            xyz.insert(xyz.end(), {float(x), float(y), 0.1f * float((x * 7 + y * 3) % 5)});
            uv.insert(uv.end(), {float(x) / float(side), float(y) / float(side)});
        }
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const auto a = std::uint16_t(y * (side + 1) + x), b = std::uint16_t(a + 1);
            const auto c = std::uint16_t(a + side + 1), d = std::uint16_t(c + 1);
            faces.insert(faces.end(), {a, b, d, a, d, c});
        }
    return SingleGroupMesh(name, std::move(xyz), std::move(faces), material, std::move(uv));
}

}  // namespace VantorGLTest
