// 3DsModelSystem: the 3DS chunk walk (a bounded reader over the whole file in memory), the
// load-time normals and tangents, and drawing from client arrays.
#include "assets/3DsModelSystem.h"

#include "render/shaders/LitShaders.h"

#include "assets/DataPath.h"
#include "shell/Console.h"
#include "shell/Platform.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

// The chunks this loader reads; everything else is skipped by its length.
constexpr std::uint16_t kEditor = 0x3D3D;
constexpr std::uint16_t kMaterial = 0xAFFF;
constexpr std::uint16_t kMaterialName = 0xA000;
constexpr std::uint16_t kDiffuse = 0xA020;
constexpr std::uint16_t kColourFloat = 0x0010;
constexpr std::uint16_t kColourByte = 0x0011;
constexpr std::uint16_t kColourByteGamma = 0x0012;
constexpr std::uint16_t kColourFloatGamma = 0x0013;
constexpr std::uint16_t kTextureMap = 0xA200;
constexpr std::uint16_t kOtherMap = 0xA030;
constexpr std::uint16_t kMapFile = 0xA300;
constexpr std::uint16_t kObject = 0x4000;
constexpr std::uint16_t kMesh = 0x4100;
constexpr std::uint16_t kVertexList = 0x4110;
constexpr std::uint16_t kFaceList = 0x4120;
constexpr std::uint16_t kFaceGroup = 0x4130;
constexpr std::uint16_t kMapCoords = 0x4140;

constexpr std::size_t kHeader = 6;  // id (16-bit) + length (32-bit, header and children included)
constexpr std::size_t kMaxFileBytes = std::size_t(512) << 20;  // far beyond any real model

struct Chunk {
    std::uint16_t id;
    std::size_t data;  // first byte after the header
    std::size_t end;   // one past the chunk's last byte, never past its parent's end
    bool cut;          // it claimed more than its parent holds and ends at the parent's end
};

using Model = c3DsModelSystem;

// Walks one 3DS file held in memory. Every offset it reads is checked against the chunk that
// holds it, and every chunk against its parent, so nothing is read outside the buffer whatever
// the file says. Damage costs only what it touches: a chunk that claims more than its parent
// holds (a cut file, an exporter's wrong trailing length) is read up to its parent's end; an
// object with any damage inside is dropped and its neighbours are still read; a chunk that
// cannot be stepped over ends the walk of its parent there. `error` says what and where the first
// damage was.
class Parser {
public:
    Parser(const std::uint8_t* bytes, std::size_t size, Model& model)
        : bytes(bytes), size(size), model(model) {}

    // True when the walk reached the end of the file, with or without damage on the way.
    bool Run() {
        if (size < kHeader) return Fail("%zu bytes is too short for a 3DS file", size);
        // The first chunk is the main chunk whatever its id.
        std::size_t length = U32(2);
        if (length < kHeader) return Fail("first chunk is shorter than its header");
        if (length > size) {
            Note("file is cut short (%zu bytes expected, %zu present)", length, size);
            length = size;
        }
        return Children(kHeader, length, [&](const Chunk& c) {
            return c.id == kEditor ? Editor(c) : true;
        });
    }

    std::string error;      // the first damage met, empty for a sound file
    int foundObjects = 0;   // object chunks the editor holds, damaged ones included
    int droppedFaces = 0;   // group entries of kept objects that name a face that does not exist

private:
    int damageCount = 0;    // every damage met, the first one described in `error`

    // Note keeps the first damage and lets the walk go on; Fail keeps it and refuses the chunk.
    void Note(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        Keep(format, args);
        va_end(args);
    }
    bool Fail(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        Keep(format, args);
        va_end(args);
        return false;
    }
    void Keep(const char* format, va_list args) __attribute__((format(printf, 2, 0))) {
        ++damageCount;
        if (!error.empty()) return;
        char text[256];
        vsnprintf(text, sizeof text, format, args);
        error = text;
    }

    // Little-endian reads; the caller has checked that the bytes lie inside the buffer.
    std::uint16_t U16(std::size_t at) const { return std::uint16_t(bytes[at] | bytes[at + 1] << 8); }
    std::uint32_t U32(std::size_t at) const {
        return std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
               std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24;
    }
    float F32(std::size_t at) const {
        const std::uint32_t bits = U32(at);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    // Calls visit(child) for each child chunk in [from, end), in file order, and stops at the
    // first child it refuses. A child shorter than its header cannot be stepped over: the walk
    // of this parent ends there (false). A child that claims more than the parent holds is
    // noted and handed over up to the parent's end, and the walk ends with it.
    template <class Visit>
    bool Children(std::size_t from, std::size_t end, Visit&& visit) {
        std::size_t at = from;
        while (at < end) {
            if (end - at < kHeader) return Fail("chunk header cut off at byte %zu", at);
            const std::uint16_t id = U16(at);
            std::size_t length = U32(at + 2);
            if (length < kHeader)
                return Fail("chunk 0x%04X at byte %zu is shorter than its header", id, at);
            const bool cut = length > end - at;
            if (cut) {
                Note("chunk 0x%04X at byte %zu runs past its parent", id, at);
                length = end - at;
            }
            if (!visit(Chunk{id, at + kHeader, at + length, cut})) return false;
            at += length;
        }
        return true;
    }

    // A zero-terminated name of at most 80 bytes at `at`, inside the chunk; `at` moves past it.
    bool Name(std::size_t& at, const Chunk& c, char (&out)[Model::kNameLength]) {
        const std::size_t limit = std::min<std::size_t>(c.end - at, Model::kNameLength);
        const void* zero = std::memchr(bytes + at, 0, limit);
        if (!zero) {
            if (limit == std::size_t(Model::kNameLength))
                return Fail("name in chunk 0x%04X at byte %zu is longer than 79 characters", c.id, at);
            return Fail("name in chunk 0x%04X at byte %zu runs past its chunk", c.id, at);
        }
        const std::size_t length = std::size_t(static_cast<const std::uint8_t*>(zero) - (bytes + at));
        std::memcpy(out, bytes + at, length);
        out[length] = 0;
        at += length + 1;
        return true;
    }

    // A 16-bit count at `at` followed by count items of itemSize bytes, all inside the chunk.
    bool Count(std::size_t& at, const Chunk& c, std::size_t itemSize, std::size_t& count) {
        if (c.end - at < 2) return Fail("count in chunk 0x%04X at byte %zu is cut off", c.id, at);
        count = U16(at);
        at += 2;
        if (count * itemSize > c.end - at)
            return Fail("chunk 0x%04X at byte %zu holds fewer than its %zu entries", c.id, c.data - kHeader, count);
        return true;
    }

    // Materials are read before objects whatever the file order, so every group can be matched.
    // The three passes meet any damage in the editor's own list at the same place: each keeps
    // what lies before it. A damaged material keeps what was read of it; a damaged object is
    // dropped.
    bool Editor(const Chunk& editor) {
        int objectCount = 0, materialCount = 0;
        const bool whole = Children(editor.data, editor.end, [&](const Chunk& c) {
            objectCount += c.id == kObject;
            materialCount += c.id == kMaterial;
            return true;
        });
        model.materialCount = materialCount;
        model.materials.assign(std::size_t(materialCount), Model::Material{});
        model.objectCount = 0;
        model.objects.clear();
        std::size_t next = 0;
        Children(editor.data, editor.end, [&](const Chunk& c) {
            if (c.id == kMaterial && next < model.materials.size()) Material(c, model.materials[next++]);
            return true;
        });
        foundObjects = objectCount;
        model.objects.reserve(std::size_t(objectCount));
        Children(editor.data, editor.end, [&](const Chunk& c) {
            if (c.id != kObject || model.objects.size() >= std::size_t(objectCount)) return true;
            // Only an object read without any damage inside is kept: a cut one may look whole
            // up to where it stops (a face list without its groups).
            Model::Object object;
            const int facesDroppedBefore = droppedFaces;
            const int damageBefore = damageCount;
            if (Object(c, object) && !c.cut && damageCount == damageBefore)
                model.objects.push_back(std::move(object));
            else
                droppedFaces = facesDroppedBefore;  // the object's faces go with it
            return true;
        });
        model.objectCount = std::int32_t(model.objects.size());
        return whole;
    }

    bool Material(const Chunk& material, Model::Material& out) {
        return Children(material.data, material.end, [&](const Chunk& c) {
            std::size_t at = c.data;
            switch (c.id) {
            case kMaterialName: return Name(at, c, out.name);
            case kDiffuse: return Colour(c, out);
            case kTextureMap:
            case kOtherMap:
                // The map's file name is read for its structure; textures come from the scenes.
                return Children(c.data, c.end, [&](const Chunk& m) {
                    char ignored[Model::kNameLength];
                    std::size_t pos = m.data;
                    return m.id == kMapFile ? Name(pos, m, ignored) : true;
                });
            default: return true;
            }
        });
    }

    // Float channels become bytes by value * 255 truncated toward zero (held inside 0..255).
    static std::uint8_t ChannelByte(float value) {
        const float scaled = value * 255.0f;
        if (!(scaled > 0.0f)) return 0;  // negative or NaN
        if (scaled >= 255.0f) return 255;
        return std::uint8_t(scaled);
    }

    bool Colour(const Chunk& diffuse, Model::Material& out) {
        return Children(diffuse.data, diffuse.end, [&](const Chunk& c) {
            if (c.id == kColourFloat || c.id == kColourFloatGamma) {
                if (c.end - c.data < 12) return Fail("colour chunk at byte %zu is cut off", c.data - kHeader);
                for (int i = 0; i < 3; ++i) out.colour[i] = ChannelByte(F32(c.data + 4 * i));
                out.colour[3] = 255;
            } else if (c.id == kColourByte || c.id == kColourByteGamma) {
                if (c.end - c.data < 3) return Fail("colour chunk at byte %zu is cut off", c.data - kHeader);
                for (int i = 0; i < 3; ++i) out.colour[i] = bytes[c.data + i];
                out.colour[3] = 255;
            }
            return true;
        });
    }

    bool Object(const Chunk& object, Model::Object& out) {
        std::size_t at = object.data;
        if (!Name(at, object, out.name)) return false;
        return Children(at, object.end, [&](const Chunk& c) { return c.id == kMesh ? Mesh(c, out) : true; });
    }

    // Vertices and mapping coordinates first, faces second, whatever the file order.
    bool Mesh(const Chunk& mesh, Model::Object& out) {
        if (!Children(mesh.data, mesh.end, [&](const Chunk& c) {
                if (c.id == kVertexList) return VertexList(c, out);
                if (c.id == kMapCoords) return MapCoords(c, out);
                return true;
            }))
            return false;
        return Children(mesh.data, mesh.end, [&](const Chunk& c) { return c.id == kFaceList ? FaceList(c, out) : true; });
    }

    // The file's Z-up (x, y, z) is stored as the demo's Y-up (x, z, -y).
    bool VertexList(const Chunk& c, Model::Object& out) {
        std::size_t at = c.data, count = 0;
        if (!Count(at, c, 12, count)) return false;
        out.vertexCount = std::int32_t(count);
        out.vertices.resize(count * 3);
        out.normals.assign(count * 3, 0.0f);
        for (std::size_t i = 0; i < count; ++i, at += 12) {
            out.vertices[3 * i + 0] = F32(at);
            out.vertices[3 * i + 1] = F32(at + 8);
            out.vertices[3 * i + 2] = -F32(at + 4);
        }
        return true;
    }

    bool MapCoords(const Chunk& c, Model::Object& out) {
        std::size_t at = c.data, count = 0;
        if (!Count(at, c, 8, count)) return false;
        out.uvCount = std::int32_t(count);
        out.hasTexCoords = true;
        out.texCoords.resize(count * 2);
        for (std::size_t i = 0; i < 2 * count; ++i, at += 4) out.texCoords[i] = F32(at);
        return true;
    }

    bool FaceList(const Chunk& c, Model::Object& out) {
        std::size_t at = c.data, count = 0;
        if (!Count(at, c, 8, count)) return false;
        out.indexCount = std::int32_t(count * 3);
        out.faces.resize(count * 3);
        const std::size_t vertexCount = std::size_t(out.vertexCount);
        for (std::size_t f = 0; f < count; ++f, at += 8) {
            std::uint16_t* face = &out.faces[3 * f];
            for (int k = 0; k < 3; ++k) face[k] = U16(at + 2 * k);  // the flags word is dropped
            if (face[0] >= vertexCount || face[1] >= vertexCount || face[2] >= vertexCount) continue;
            // Unnormalised face normal: larger faces weigh more in the vertex normals.
            const float* p0 = &out.vertices[3 * face[0]];
            const float* p1 = &out.vertices[3 * face[1]];
            const float* p2 = &out.vertices[3 * face[2]];
            const float a[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
            const float b[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
            const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
            for (int k = 0; k < 3; ++k)
                for (int axis = 0; axis < 3; ++axis) out.normals[3 * face[k] + axis] += n[axis];
        }
        int groupCount = 0;
        if (!Children(at, c.end, [&](const Chunk& g) {
                groupCount += g.id == kFaceGroup;
                return true;
            }))
            return false;
        out.groupCount = groupCount;
        out.groups.assign(std::size_t(groupCount), Model::Group{});
        std::size_t next = 0;
        return Children(at, c.end, [&](const Chunk& g) {
            return g.id == kFaceGroup ? FaceGroup(g, out, out.groups[next++]) : true;
        });
    }

    bool FaceGroup(const Chunk& c, const Model::Object& object, Model::Group& out) {
        std::size_t at = c.data, count = 0;
        char name[Model::kNameLength];
        if (!Name(at, c, name) || !Count(at, c, 2, count)) return false;
        out.material = model.materialCount;  // "no such material"; nothing dereferences it
        for (std::int32_t m = 0; m < model.materialCount; ++m)
            if (std::strcmp(model.materials[std::size_t(m)].name, name) == 0) {
                out.material = m;
                break;
            }
        const std::size_t faceCount = object.faces.size() / 3;
        out.indices.reserve(count * 3);
        for (std::size_t i = 0; i < count; ++i, at += 2) {
            const std::size_t f = U16(at);
            if (f >= faceCount) {
                ++droppedFaces;
                continue;
            }
            out.indices.insert(out.indices.end(), &object.faces[3 * f], &object.faces[3 * f] + 3);
        }
        out.indexCount = std::int32_t(out.indices.size());
        return true;
    }

    const std::uint8_t* bytes;
    std::size_t size;
    Model& model;
};

float Dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// A unit vector perpendicular to the unit (or zero) vector n: Gram-Schmidt of the axis n leans
// on least. A zero n gets +X.
void AnyPerpendicular(const float* n, float* out) {
    const float ax = std::fabs(n[0]), ay = std::fabs(n[1]), az = std::fabs(n[2]);
    float axis[3] = {0, 0, 0};
    axis[(ax <= ay && ax <= az) ? 0 : (ay <= az ? 1 : 2)] = 1.0f;
    const float d = Dot(axis, n);
    for (int k = 0; k < 3; ++k) out[k] = axis[k] - n[k] * d;
    const float length = std::sqrt(Dot(out, out));
    for (int k = 0; k < 3; ++k) out[k] = length > 0.0f ? out[k] / length : axis[k];
}

// Per-vertex tangents along increasing u, from the faces' position and texture-coordinate
// derivatives, made perpendicular to the vertex normal. Vertices without usable mapping get
// some perpendicular of their normal so the lit shaders always receive a frame.
void ComputeTangents(c3DsModelSystem::Object& o) {
    const std::size_t n = std::size_t(o.vertexCount);
    std::vector<float> sum(n * 3, 0.0f);
    if (o.hasTexCoords) {
        for (std::size_t f = 0; f + 2 < o.faces.size(); f += 3) {
            const std::uint16_t* i = &o.faces[f];
            if (i[0] >= n || i[1] >= n || i[2] >= n) continue;
            const float* p0 = &o.vertices[3 * i[0]];
            const float* p1 = &o.vertices[3 * i[1]];
            const float* p2 = &o.vertices[3 * i[2]];
            const float* t0 = &o.texCoords[2 * i[0]];
            const float* t1 = &o.texCoords[2 * i[1]];
            const float* t2 = &o.texCoords[2 * i[2]];
            const float du1 = t1[0] - t0[0], dv1 = t1[1] - t0[1];
            const float du2 = t2[0] - t0[0], dv2 = t2[1] - t0[1];
            const float r = du1 * dv2 - du2 * dv1;
            if (!(std::fabs(r) > 1e-12f)) continue;  // degenerate mapping says nothing
            float t[3];
            for (int k = 0; k < 3; ++k) t[k] = ((p1[k] - p0[k]) * dv2 - (p2[k] - p0[k]) * dv1) / r;
            if (!std::isfinite(t[0]) || !std::isfinite(t[1]) || !std::isfinite(t[2])) continue;
            for (int v = 0; v < 3; ++v)
                for (int k = 0; k < 3; ++k) sum[3 * i[v] + k] += t[k];
        }
    }
    o.tangents.resize(n * 3);
    for (std::size_t v = 0; v < n; ++v) {
        const float* normal = &o.normals[3 * v];
        const float* s = &sum[3 * v];
        float* t = &o.tangents[3 * v];
        const float d = Dot(s, normal);
        for (int k = 0; k < 3; ++k) t[k] = s[k] - normal[k] * d;
        const float length = std::sqrt(Dot(t, t));
        const float before = std::sqrt(Dot(s, s));
        if (length > 1e-6f * before && length > 0.0f && std::isfinite(length)) {
            for (int k = 0; k < 3; ++k) t[k] /= length;
        } else {
            AnyPerpendicular(normal, t);
        }
    }
}

// After the walk: no group may reach past the vertices (a later vertex list can shrink them),
// normals become unit length (zero stays zero), short mapping lists are padded so the texture
// coordinate array covers every vertex, and tangents are built. Returns the faces dropped.
int Finish(c3DsModelSystem::Object& o) {
    int dropped = 0;
    const std::size_t n = std::size_t(o.vertexCount);
    for (auto& g : o.groups) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i + 2 < g.indices.size(); i += 3) {
            if (g.indices[i] >= n || g.indices[i + 1] >= n || g.indices[i + 2] >= n) {
                ++dropped;
                continue;
            }
            for (int k = 0; k < 3; ++k) g.indices[kept + k] = g.indices[i + k];
            kept += 3;
        }
        g.indices.resize(kept);
        g.indexCount = std::int32_t(kept);
    }
    o.normals.resize(n * 3, 0.0f);
    for (std::size_t v = 0; v < n; ++v) {
        float* normal = &o.normals[3 * v];
        float length = std::sqrt(Dot(normal, normal));
        if (length == 0.0f) length = 1.0f;
        for (int k = 0; k < 3; ++k) normal[k] /= length;
    }
    if (o.hasTexCoords && o.texCoords.size() < n * 2) o.texCoords.resize(n * 2, 0.0f);
    ComputeTangents(o);
    return dropped;
}

// Coordinates that are not numbers (a damaged vertex or mapping list) would poison the bounds,
// the normals and the rasteriser; they become 0. Returns how many were replaced.
int ZeroNonFinite(c3DsModelSystem::Object& o) {
    int replaced = 0;
    for (std::vector<float>* list : {&o.vertices, &o.texCoords})
        for (float& value : *list)
            if (!std::isfinite(value)) {
                value = 0.0f;
                ++replaced;
            }
    return replaced;
}

}  // namespace

void c3DsModelSystem::Clear() {
    objectCount = 0;
    materialCount = 0;
    materials.clear();
    objects.clear();
}

bool c3DsModelSystem::LoadFromMemory(const std::uint8_t* data, std::size_t size, std::string* problem) {
    Clear();
    if (problem) problem->clear();
    Parser parser(data, data ? size : 0, *this);
    const bool walked = parser.Run();
    // Damage that left no object is a file this loader cannot use.
    if (objects.empty() && (!walked || !parser.error.empty())) {
        Clear();
        if (problem) *problem = parser.error;
        return false;
    }
    int dropped = parser.droppedFaces;
    int nonFinite = 0;
    for (auto& object : objects) {
        nonFinite += ZeroNonFinite(object);
        dropped += Finish(object);
    }
    if (problem) {
        auto add = [&](const std::string& part) { *problem += (problem->empty() ? "" : "; ") + part; };
        if (!parser.error.empty())
            add(parser.error + "; kept " + std::to_string(objects.size()) + " of " +
                std::to_string(parser.foundObjects) + " objects");
        if (dropped > 0)
            add(std::to_string(dropped) + " faces of material groups name missing faces or vertices; not drawn");
        if (nonFinite > 0) add(std::to_string(nonFinite) + " coordinates are not numbers; set to 0");
    }
    return true;
}

namespace {

// Reads the whole model file `path` names (quotes and ResolveDataPath as Load describes) into
// `bytes`; false after the one MODEL line when it cannot.
bool ReadModelFile(const char*& path, std::vector<std::uint8_t>& bytes) {
    if (!path) path = "";
    // A quoted path loses its quotes: the first token between double quotes is the path.
    std::string name = path;
    if (name.find('"') != std::string::npos) {
        std::vector<char> text(name.begin(), name.end());
        text.push_back(0);
        char* rest = nullptr;
        const char* token = strtok_r(text.data(), "\"", &rest);
        name = token ? token : "";
    }
    if (name.empty()) {
        VantorGL::ConsolePrint("MODEL", "%s: no file name", path);
        return false;
    }
    const std::string resolved = VantorGL::ResolveDataPath(name);
    if (resolved.empty()) {
        VantorGL::ConsolePrint("MODEL", "%s: path longer than %zu characters", path, VantorGL::kMaxDataPath);
        return false;
    }
    // Only regular files are read: a folder says so, and a pipe would block the load forever.
    const VantorGL::eFileKind kind = VantorGL::FileKindOf(resolved);
    if (kind == VantorGL::eFileKind::Folder || kind == VantorGL::eFileKind::Other) {
        VantorGL::ConsolePrint("MODEL", "%s: %s", path,
                               kind == VantorGL::eFileKind::Folder ? "is a folder, not a model file" : "not a regular file");
        return false;
    }
    FILE* file = VantorGL::OpenFile(resolved, "rb");
    if (!file) {
        VantorGL::ConsolePrint("MODEL", "%s: cannot open (%s)", path, std::strerror(errno));
        return false;
    }
    std::uint8_t block[65536];
    bool tooLarge = false;
    while (std::size_t got = std::fread(block, 1, sizeof block, file)) {
        if (bytes.size() + got > kMaxFileBytes) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (failed) {
        VantorGL::ConsolePrint("MODEL", "%s: cannot read (%s)", path, std::strerror(readError));
        return false;
    }
    if (tooLarge) {
        VantorGL::ConsolePrint("MODEL", "%s: larger than %zu MiB, not a model", path, kMaxFileBytes >> 20);
        return false;
    }
    return true;
}

}  // namespace

void c3DsModelSystem::Load(const char* path) {
    Clear();
    std::vector<std::uint8_t> bytes;
    if (!ReadModelFile(path, bytes)) return;
    std::string problem;
    if (!LoadFromMemory(bytes.data(), bytes.size(), &problem))
        VantorGL::ConsolePrint("MODEL", "%s: not a usable 3DS file: %s", path, problem.c_str());
    else if (!problem.empty())
        VantorGL::ConsolePrint("MODEL", "%s: %s", path, problem.c_str());
}

bool c3DsModelSystem::Reload(const char* path) {
    std::vector<std::uint8_t> bytes;
    if (!ReadModelFile(path, bytes)) return false;
    c3DsModelSystem fresh;
    std::string problem;
    if (!fresh.LoadFromMemory(bytes.data(), bytes.size(), &problem)) {
        VantorGL::ConsolePrint("MODEL", "%s: not a usable 3DS file: %s", path, problem.c_str());
        return false;
    }
    if (!problem.empty()) {
        // Most often a file still being written: the whole previous model is worth more than
        // what a damaged one keeps.
        VantorGL::ConsolePrint("MODEL", "%s: %s; the previous model stays", path, problem.c_str());
        return false;
    }
    objectCount = fresh.objectCount;
    materialCount = fresh.materialCount;
    materials.swap(fresh.materials);
    objects.swap(fresh.objects);
    return true;
}

void c3DsModelSystem::ApplyTransform() const {
    glTranslatef(position[0], position[1], position[2]);
    glRotatef(rotation[0], 1.0f, 0.0f, 0.0f);
    glRotatef(rotation[1], 0.0f, 1.0f, 0.0f);
    glRotatef(rotation[2], 0.0f, 0.0f, 1.0f);
    glScalef(scale, scale, scale);
}

void c3DsModelSystem::Draw() {
    if (!visible) return;
    glPushMatrix();
    ApplyTransform();
    for (const Object& o : objects) {
        // Arrays an object does not have are switched off, so nothing reads the previous
        // object's (shorter) arrays; the others stay enabled after Draw.
        if (o.hasTexCoords) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, 0, o.texCoords.data());
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        if (lit) {
            glEnableClientState(GL_NORMAL_ARRAY);
            glNormalPointer(GL_FLOAT, 0, o.normals.data());
        } else {
            glDisableClientState(GL_NORMAL_ARRAY);
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, o.vertices.data());
        // The lit shaders read a per-vertex tangent from this attribute; it is switched off again
        // after the object, and its current value left at zero, which those shaders replace by a
        // tangent derived from the normal (geometry drawn without tangents stays well lit).
        const bool tangents = o.tangents.size() == std::size_t(o.vertexCount) * 3 && o.vertexCount > 0;
        if (tangents) {
            glEnableVertexAttribArray(VantorGL::kTangentAttribute);
            glVertexAttribPointer(VantorGL::kTangentAttribute, 3, GL_FLOAT, GL_FALSE, 0, o.tangents.data());
        }
        for (const Group& g : o.groups) {
            glPushMatrix();
            glTranslatef(o.offset[0], o.offset[1], o.offset[2]);
            glRotatef(o.objectRotation[2], 0.0f, 0.0f, 1.0f);
            glRotatef(o.objectRotation[1], 0.0f, 1.0f, 0.0f);
            glRotatef(o.objectRotation[0], 1.0f, 0.0f, 0.0f);
            if (g.indexCount > 0) glDrawElements(GL_TRIANGLES, g.indexCount, GL_UNSIGNED_SHORT, g.indices.data());
            glPopMatrix();
        }
        if (tangents) {
            glDisableVertexAttribArray(VantorGL::kTangentAttribute);
            glVertexAttrib3f(VantorGL::kTangentAttribute, 0.0f, 0.0f, 0.0f);
        }
    }
    glPopMatrix();
}

c3DsModelInfo c3DsModelSystem::Info() const {
    c3DsModelInfo info;
    info.objects = objectCount;
    bool first = true;
    for (const Object& o : objects) {
        info.vertices += o.vertexCount;
        info.faces += o.indexCount / 3;
        info.groups += o.groupCount;
        info.hasTexCoords = info.hasTexCoords || o.hasTexCoords;
        for (std::size_t v = 0; v + 2 < o.vertices.size(); v += 3)
            for (int k = 0; k < 3; ++k) {
                const float value = o.vertices[v + k];
                if (first || value < info.boundsMin[k]) info.boundsMin[k] = value;
                if (first || value > info.boundsMax[k]) info.boundsMax[k] = value;
                if (k == 2) first = false;
            }
    }
    return info;
}
