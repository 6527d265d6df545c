// 3DS encoder for datagen: builds the chunk tree in memory (lengths patched when a chunk
// closes) and writes it in one go.
#include "ThreeDsWriter.h"

#include "Image.h"

#include <cstring>

namespace Datagen {

namespace {

constexpr uint16_t kMain = 0x4D4D, kEditor = 0x3D3D, kMaterial = 0xAFFF, kMaterialName = 0xA000,
                   kDiffuse = 0xA020, kColourBytes = 0x0011, kObject = 0x4000, kTriMesh = 0x4100,
                   kVertices = 0x4110, kMapping = 0x4140, kFaces = 0x4120, kFaceGroup = 0x4130;
constexpr size_t kMaxPerObject = 65535;  // 16-bit counts and indices
constexpr size_t kMaxName = 79;          // the loader reads names as at most 80 bytes

class ChunkBuffer {
public:
    std::vector<unsigned char> bytes;
    size_t Open(uint16_t id) {
        size_t at = bytes.size();
        U16(id);
        U32(0);
        return at;
    }
    void Close(size_t at) {
        uint32_t length = uint32_t(bytes.size() - at);
        std::memcpy(&bytes[at + 2], &length, 4);  // little-endian hosts only, as is the format
    }
    void U16(uint16_t v) { Raw(&v, 2); }
    void U32(uint32_t v) { Raw(&v, 4); }
    void F32(float v) { Raw(&v, 4); }
    void U8(uint8_t v) { bytes.push_back(v); }
    void String(const std::string& s) {
        std::string cut = s.substr(0, kMaxName);
        Raw(cut.c_str(), cut.size() + 1);
    }

private:
    void Raw(const void* p, size_t n) {
        size_t at = bytes.size();
        bytes.resize(at + n);
        std::memcpy(bytes.data() + at, p, n);
    }
};

void WriteObject(ChunkBuffer& out, const std::string& name, const Model& model, const std::vector<Vec3>& positions,
                 const std::vector<Vec2>& uvs, const std::vector<Triangle>& triangles, bool mapping) {
    size_t object = out.Open(kObject);
    out.String(name);
    size_t mesh = out.Open(kTriMesh);

    size_t vertices = out.Open(kVertices);
    out.U16(uint16_t(positions.size()));
    for (Vec3 p : positions) {  // demo (x, y, z) -> file (x, -z, y)
        out.F32(p.x);
        out.F32(-p.z);
        out.F32(p.y);
    }
    out.Close(vertices);

    if (mapping) {
        size_t chunk = out.Open(kMapping);
        out.U16(uint16_t(uvs.size()));
        for (Vec2 t : uvs) {
            out.F32(t.u);
            out.F32(t.v);
        }
        out.Close(chunk);
    }

    size_t faces = out.Open(kFaces);
    out.U16(uint16_t(triangles.size()));
    for (const Triangle& t : triangles) {
        out.U16(uint16_t(t.a));
        out.U16(uint16_t(t.b));
        out.U16(uint16_t(t.c));
        out.U16(0x0007);  // all three edges visible
    }
    for (size_t m = 0; m < model.materials.size(); ++m) {
        std::vector<uint16_t> members;
        for (size_t f = 0; f < triangles.size(); ++f)
            if (triangles[f].material == m) members.push_back(uint16_t(f));
        if (members.empty()) continue;
        size_t group = out.Open(kFaceGroup);
        out.String(model.materials[m].name);
        out.U16(uint16_t(members.size()));
        for (uint16_t f : members) out.U16(f);
        out.Close(group);
    }
    out.Close(faces);
    out.Close(mesh);
    out.Close(object);
}

}  // namespace

std::vector<unsigned char> EncodeThreeDs(const Model& model, bool mapping) {
    ChunkBuffer out;
    size_t main = out.Open(kMain);
    size_t editor = out.Open(kEditor);
    for (const Material& m : model.materials) {
        size_t material = out.Open(kMaterial);
        size_t name = out.Open(kMaterialName);
        out.String(m.name);
        out.Close(name);
        size_t diffuse = out.Open(kDiffuse);
        size_t colour = out.Open(kColourBytes);
        out.U8(m.r);
        out.U8(m.g);
        out.U8(m.b);
        out.Close(colour);
        out.Close(diffuse);
        out.Close(material);
    }
    for (const Mesh& mesh : model.objects) {
        // Split into pieces of at most 65535 vertices and faces, renumbering vertices per piece.
        std::vector<int32_t> remap(mesh.positions.size(), -1);
        std::vector<uint32_t> used;
        std::vector<Vec3> positions;
        std::vector<Vec2> uvs;
        std::vector<Triangle> triangles;
        int piece = 0;
        auto flush = [&]() {
            if (triangles.empty()) return;
            std::string name = piece == 0 ? mesh.name : mesh.name + "." + std::to_string(piece);
            WriteObject(out, name, model, positions, uvs, triangles, mapping);
            ++piece;
            for (uint32_t v : used) remap[v] = -1;
            used.clear();
            positions.clear();
            uvs.clear();
            triangles.clear();
        };
        for (const Triangle& t : mesh.triangles) {
            size_t fresh = 0;
            for (uint32_t v : {t.a, t.b, t.c}) fresh += remap[v] < 0 ? 1 : 0;
            if (positions.size() + fresh > kMaxPerObject || triangles.size() + 1 > kMaxPerObject) flush();
            Triangle local = t;
            uint32_t* corners[3] = {&local.a, &local.b, &local.c};
            for (uint32_t* c : corners) {
                if (remap[*c] < 0) {
                    remap[*c] = int32_t(positions.size());
                    used.push_back(*c);
                    positions.push_back(mesh.positions[*c]);
                    uvs.push_back(mesh.uvs[*c]);
                }
                *c = uint32_t(remap[*c]);
            }
            triangles.push_back(local);
        }
        flush();
    }
    out.Close(editor);
    out.Close(main);
    return out.bytes;
}

bool WriteThreeDs(const std::string& path, const Model& model, bool mapping) {
    return WriteBytes(path, EncodeThreeDs(model, mapping));
}

}  // namespace Datagen
