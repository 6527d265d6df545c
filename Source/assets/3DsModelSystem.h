// 3DsModelSystem: one model read from a 3DS file into flat arrays at load time and drawn
// from client memory with one glDrawElements per face material group. Scenes only call Draw;
// tools and tests use LoadFromMemory and Info, which touch no OpenGL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Summary of a loaded model for tools and tests (no OpenGL involved).
struct c3DsModelInfo {
    int objects = 0;
    int vertices = 0;
    int faces = 0;             // triangles in the face lists, drawn or not
    int groups = 0;            // face material groups over all objects
    float boundsMin[3] = {0, 0, 0};  // over every vertex, in the demo's axes; zero when empty
    float boundsMax[3] = {0, 0, 0};
    bool hasTexCoords = false;  // some object carries a mapping-coordinates chunk
};

class c3DsModelSystem {
public:
    static constexpr int kNameLength = 80;  // names are read as at most 80 bytes, zero included

    struct Material {
        char name[kNameLength] = {};
        std::uint8_t colour[4] = {0, 0, 0, 0};  // red, green, blue, alpha (255 once a colour was read)
    };

    struct Group {
        std::vector<std::uint16_t> indices;  // three vertex indices per face of the group
        std::int32_t indexCount = 0;         // three times the group's face count
        std::int32_t material = 0;           // index into materials; materialCount when unmatched
    };

    struct Object {
        char name[kNameLength] = {};
        std::vector<float> vertices;   // vertexCount x (x, y, z), Y up
        std::vector<float> normals;    // vertexCount x unit normal, or zero for unused vertices
        std::vector<float> texCoords;  // (u, v) as stored; at least vertexCount pairs when hasTexCoords
        std::vector<std::uint16_t> faces;  // three vertex indices per triangle, as stored
        std::int32_t indexCount = 0;
        std::int32_t groupCount = 0;
        std::int32_t vertexCount = 0;
        std::int32_t uvCount = 0;
        bool hasTexCoords = false;
        std::vector<Group> groups;
        float offset[3] = {0, 0, 0};          // per-object translation, always zero
        float objectRotation[3] = {0, 0, 0};  // per-object rotation in degrees, always zero
        std::vector<float> tangents;  // vertexCount x unit tangent, perpendicular to the normal
    };

    c3DsModelSystem() = default;
    virtual ~c3DsModelSystem() = default;

    // Reads the 3DS file at `path` (a path as the demo spells it, such as "Data/Ter/ray3.3DS"; a quoted path
    // loses its quotes, then ResolveDataPath applies). Makes no OpenGL call. On a missing or
    // unreadable file, or one so damaged that no object survives, the model is left empty (Draw
    // draws nothing) and one line "MODEL: <path>: <reason>" goes to stderr. A damaged file keeps
    // the objects that read completely, and faces dropped for bad indices leave the rest of the
    // model; either way one line says what was lost.
    void Load(const char* path);

    // Reads `path` again (as Load does) in place of what is loaded, keeping the transform and
    // flags. A file Load would report in any way (missing, unusable, damaged, faces dropped)
    // leaves the model as it was after that one MODEL line, where a damaged file ends in "; the
    // previous model stays". Makes no OpenGL call. Returns whether the new model is in.
    bool Reload(const char* path);

    // Parses a whole 3DS file held in memory. A chunk that claims more than its parent holds is
    // read up to the parent's end; an object damaged inside is dropped; where the chunks can no
    // longer be followed the walk stops, keeping what it read before. Returns false and leaves
    // the model empty when damage left no object; `problem` (optional) receives the reason, or on
    // success the damage and how many objects were kept, and a note about dropped faces (empty
    // when there is nothing to say). Prints nothing, makes no OpenGL call, never reads outside
    // [data, data + size).
    bool LoadFromMemory(const std::uint8_t* data, std::size_t size, std::string* problem = nullptr);

    // Draws every group of every object with client vertex arrays under position, rotation and
    // scale. Needs a current compatibility context; does nothing when visible is 0.
    void Draw();
    // Multiplies the model's own placement (translate, rotate about X, Y, Z, scale) onto the
    // current matrix, as Draw does before drawing.
    void ApplyTransform() const;

    // Counts and bounds of what is loaded.
    c3DsModelInfo Info() const;

    // Back to the state of a model that loaded nothing (transform and flags are kept).
    void Clear();

    std::int32_t objectCount = 0;
    std::int32_t materialCount = 0;
    std::vector<Material> materials;
    std::vector<Object> objects;
    float position[3] = {0, 0, 0};
    float rotation[3] = {0, 0, 0};  // degrees about X, Y, Z
    float scale = 1.0f;
    std::uint8_t lit = 1;      // normals are sent with the vertices
    std::uint8_t visible = 1;  // Draw does nothing when 0
};
