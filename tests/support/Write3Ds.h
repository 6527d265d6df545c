// Write3Ds: builds 3DS files in memory for the model tests, the benchmark and the fuzz seeds.
// A chunk tree (Chunk3Ds) for hand-made and broken files, and a one-call writer for the usual
// materials-plus-meshes layout.
#pragma once

#include "support/FileBytes.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace VantorGLTest {

// One chunk: id, its own data, its children. Bytes() writes the header with the true length
// unless `lengthOverride` is set (for files that lie about their size).
struct Chunk3Ds {
    std::uint16_t id = 0;
    std::vector<std::uint8_t> data;
    std::vector<Chunk3Ds> children;
    long long lengthOverride = -1;

    explicit Chunk3Ds(std::uint16_t id) : id(id) {}
    Chunk3Ds& U8(std::uint8_t v);
    Chunk3Ds& U16(std::uint16_t v);
    Chunk3Ds& U32(std::uint32_t v);
    Chunk3Ds& F32(float v);
    Chunk3Ds& Str(const std::string& s);  // bytes plus the terminating zero
    Chunk3Ds& Add(Chunk3Ds child);
    std::vector<std::uint8_t> Bytes() const;
};

struct Material3Ds {
    std::string name;
    float rgb[3] = {1, 1, 1};
    bool floatColour = false;  // 0x0010 floats instead of 0x0011 bytes
};

struct Mesh3Ds {
    std::string name;
    std::vector<float> xyz;             // file axes (Z up), three per vertex
    std::vector<float> uv;              // two per vertex, or empty for no mapping chunk
    std::vector<std::uint16_t> faces;   // three per triangle
    // Material name and face numbers of each face material group.
    std::vector<std::pair<std::string, std::vector<std::uint16_t>>> groups;
};

// The usual layout: main > editor > materials, then objects (objectsFirst puts the objects
// first), each object > mesh > vertex list, mapping coordinates, face list > groups.
Chunk3Ds Model3Ds(const std::vector<Material3Ds>& materials, const std::vector<Mesh3Ds>& meshes,
                  bool objectsFirst = false);
std::vector<std::uint8_t> Write3Ds(const std::vector<Material3Ds>& materials,
                                   const std::vector<Mesh3Ds>& meshes, bool objectsFirst = false);

// A mesh with every face in one group of material `material`.
Mesh3Ds SingleGroupMesh(const std::string& name, std::vector<float> xyz, std::vector<std::uint16_t> faces,
                        const std::string& material, std::vector<float> uv = {});

// A grid of (side + 1)^2 vertices and 2 * side^2 faces in the file's XY plane, with mapping.
Mesh3Ds GridMesh(const std::string& name, int side, const std::string& material);

// Writes a 3DS file's bytes; the same as WriteBytes (kept for the callers that name it so).
inline bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) { return WriteBytes(path, bytes); }

}  // namespace VantorGLTest
