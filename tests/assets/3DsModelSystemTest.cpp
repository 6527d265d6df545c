// Tests for c3DsModelSystem: the chunk walk and its order, axes, normals, colours, groups,
// tangents, drawing under a headless context, and files that lie about their structure.
#include "assets/3DsModelSystem.h"

#include "support/GlTestContext.h"
#include "support/Write3Ds.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <random>

using namespace VantorGLTest;
namespace fs = std::filesystem;

namespace {

// What every loaded model must satisfy, whatever file it came from: Draw reads nothing past
// an array and every count matches its array.
void ExpectSane(const c3DsModelSystem& m) {
    ASSERT_EQ(m.objectCount, std::int32_t(m.objects.size()));
    ASSERT_EQ(m.materialCount, std::int32_t(m.materials.size()));
    for (const auto& mat : m.materials) ASSERT_NE(std::memchr(mat.name, 0, sizeof mat.name), nullptr);
    for (const auto& o : m.objects) {
        ASSERT_NE(std::memchr(o.name, 0, sizeof o.name), nullptr);
        const std::size_t n = std::size_t(o.vertexCount);
        ASSERT_EQ(o.vertices.size(), 3 * n);
        ASSERT_EQ(o.normals.size(), 3 * n);
        ASSERT_EQ(o.tangents.size(), 3 * n);
        if (o.hasTexCoords) {
            ASSERT_GE(o.texCoords.size(), 2 * n);
        }
        ASSERT_EQ(o.indexCount, std::int32_t(o.faces.size()));
        ASSERT_EQ(o.groupCount, std::int32_t(o.groups.size()));
        for (const auto& g : o.groups) {
            ASSERT_EQ(g.indexCount, std::int32_t(g.indices.size()));
            ASSERT_EQ(g.indices.size() % 3, 0u);
            ASSERT_GE(g.material, 0);
            ASSERT_LE(g.material, m.materialCount);
            for (auto i : g.indices) ASSERT_LT(i, n);
        }
    }
}

c3DsModelSystem LoadBytes(const std::vector<std::uint8_t>& bytes, bool expectOk = true) {
    c3DsModelSystem model;
    std::string problem;
    const bool ok = model.LoadFromMemory(bytes.data(), bytes.size(), &problem);
    EXPECT_EQ(ok, expectOk) << problem;
    return model;
}

// Two objects read alike: same name, positions, faces and groups.
void ExpectSameObject(const c3DsModelSystem::Object& a, const c3DsModelSystem::Object& b) {
    EXPECT_STREQ(a.name, b.name);
    EXPECT_EQ(a.vertices, b.vertices) << a.name;
    EXPECT_EQ(a.faces, b.faces) << a.name;
    EXPECT_EQ(a.texCoords, b.texCoords) << a.name;
    ASSERT_EQ(a.groups.size(), b.groups.size()) << a.name;
    for (std::size_t g = 0; g < a.groups.size(); ++g) {
        EXPECT_EQ(a.groups[g].indices, b.groups[g].indices) << a.name;
        EXPECT_EQ(a.groups[g].material, b.groups[g].material) << a.name;
    }
}

Mesh3Ds Triangle(const std::string& name, const std::string& material) {
    return SingleGroupMesh(name, {0, 0, 0, 1, 0, 0, 0, 0, 1}, {0, 1, 2}, material);
}

// The sample every malformed-input test starts from: two materials, two objects, mapping on one.
std::vector<std::uint8_t> Sample() {
    Material3Ds red{"Red", {1, 0, 0}, true}, blue{"Blue", {0, 0, 1}, false};
    Mesh3Ds grid = GridMesh("Grid", 3, "Blue");
    grid.groups.push_back({"Red", {0, 1}});
    return Write3Ds({red, blue}, {Triangle("Tri", "Red"), grid});
}

}  // namespace

TEST(Model3Ds, MaterialsAreKnownBeforeObjectsWhateverTheFileOrder) {
    for (bool objectsFirst : {false, true}) {
        auto model = LoadBytes(Write3Ds({{"Gold", {1, 1, 0}}, {"Iron", {0.5f, 0.5f, 0.5f}}},
                                        {Triangle("A", "Iron"), Triangle("B", "Nothing")}, objectsFirst));
        ExpectSane(model);
        ASSERT_EQ(model.objectCount, 2);
        ASSERT_EQ(model.materialCount, 2);
        EXPECT_STREQ(model.materials[1].name, "Iron");
        EXPECT_STREQ(model.objects[0].name, "A");
        EXPECT_EQ(model.objects[0].groups[0].material, 1) << "objectsFirst " << objectsFirst;
        // A name that matches no material gets the material count.
        EXPECT_EQ(model.objects[1].groups[0].material, 2);
    }
}

TEST(Model3Ds, VerticesTurnFromZUpToYUp) {
    auto model = LoadBytes(Write3Ds({}, {SingleGroupMesh("V", {1, 2, 3}, {}, "m")}));
    ASSERT_EQ(model.objects[0].vertexCount, 1);
    const float* v = model.objects[0].vertices.data();
    EXPECT_EQ(v[0], 1.0f);
    EXPECT_EQ(v[1], 3.0f);
    EXPECT_EQ(v[2], -2.0f);
}

TEST(Model3Ds, NormalsAreAreaWeightedAndUnitOrZero) {
    // In memory: triangle (0,0,0) (1,0,0) (0,1,0) facing +Z; a big triangle facing +X shares
    // vertex 0; vertex 5 is used by no face. File coordinates are (x, -z, y).
    Mesh3Ds mesh = SingleGroupMesh("N",
                                   {0, 0, 0, 1, 0, 0, 0, 0, 1,    // small, +Z in memory
                                    0, 0, 3, 0, -3, 0,            // big, +X in memory, with vertex 0
                                    7, 7, 7},                     // unused
                                   {0, 1, 2, 0, 3, 4}, "m");
    auto model = LoadBytes(Write3Ds({}, {mesh}));
    ExpectSane(model);
    const auto& n = model.objects[0].normals;
    EXPECT_FLOAT_EQ(n[3 * 1 + 2], 1.0f);
    EXPECT_FLOAT_EQ(n[3 * 1 + 0], 0.0f);
    EXPECT_FLOAT_EQ(n[3 * 2 + 2], 1.0f);
    EXPECT_FLOAT_EQ(n[3 * 3 + 0], 1.0f);
    // Vertex 0: (0,0,1) * 1 + (1,0,0) * 9, normalised: the big face dominates.
    EXPECT_NEAR(n[0], 9.0f / std::sqrt(82.0f), 1e-6f);
    EXPECT_NEAR(n[2], 1.0f / std::sqrt(82.0f), 1e-6f);
    EXPECT_EQ(n[15], 0.0f);
    EXPECT_EQ(n[16], 0.0f);
    EXPECT_EQ(n[17], 0.0f);
}

TEST(Model3Ds, ColoursBecomeBytesWithFullAlpha) {
    Material3Ds f{"F", {0.5f, 0.25f, 1.0f}, true};
    Material3Ds b{"B", {0.2f, 0.4f, 0.6f}, false};
    Chunk3Ds none = Chunk3Ds(0xAFFF).Add(Chunk3Ds(0xA000).Str("None"));  // no colour chunk
    Chunk3Ds main = Model3Ds({f, b}, {});
    main.children[1].Add(none);
    auto model = LoadBytes(main.Bytes());
    ASSERT_EQ(model.materialCount, 3);
    const std::uint8_t* c = model.materials[0].colour;
    EXPECT_EQ(c[0], 127);
    EXPECT_EQ(c[1], 63);
    EXPECT_EQ(c[2], 255);
    EXPECT_EQ(c[3], 255);
    c = model.materials[1].colour;
    EXPECT_EQ(c[0], 51);
    EXPECT_EQ(c[1], 102);
    EXPECT_EQ(c[2], 153);
    EXPECT_EQ(c[3], 255);
    EXPECT_EQ(model.materials[2].colour[3], 0);
}

TEST(Model3Ds, GroupsCopyTheirFacesAndMeshesWithoutGroupsDrawNothing) {
    Mesh3Ds mesh;
    mesh.name = "G";
    mesh.xyz = {0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 1};
    mesh.faces = {0, 1, 2, 1, 3, 2};
    mesh.groups = {{"a", {1}}, {"b", {0, 1}}};
    Mesh3Ds bare = mesh;
    bare.groups.clear();
    auto model = LoadBytes(Write3Ds({{"b"}, {"a"}}, {mesh, bare}));
    const auto& g = model.objects[0].groups;
    ASSERT_EQ(model.objects[0].groupCount, 2);
    EXPECT_EQ(g[0].material, 1);
    EXPECT_EQ(g[0].indices, (std::vector<std::uint16_t>{1, 3, 2}));
    EXPECT_EQ(g[1].material, 0);
    EXPECT_EQ(g[1].indexCount, 6);
    EXPECT_EQ(model.objects[1].groupCount, 0);
    EXPECT_EQ(model.objects[1].indexCount, 6);
}

TEST(Model3Ds, FacesWrittenBeforeTheirVerticesStillGetNormals) {
    Chunk3Ds main = Model3Ds({{"m"}}, {Triangle("T", "m")});
    auto& mesh = main.children[1].children.back().children[0].children;
    std::swap(mesh.front(), mesh.back());  // face list first, vertex list last
    auto model = LoadBytes(main.Bytes());
    ExpectSane(model);
    EXPECT_EQ(model.objects[0].groups[0].indexCount, 3);
    EXPECT_FLOAT_EQ(model.objects[0].normals[2], 1.0f);
}

TEST(Model3Ds, TangentsFollowUAndStayPerpendicularToTheNormal) {
    Mesh3Ds withUv = GridMesh("Uv", 4, "m");
    Mesh3Ds noUv = withUv;
    noUv.uv.clear();
    Mesh3Ds flatUv = withUv;  // every vertex at the same texel: no direction to follow
    for (float& t : flatUv.uv) t = 0.5f;
    auto model = LoadBytes(Write3Ds({}, {withUv, noUv, flatUv}));
    ExpectSane(model);
    for (const auto& o : model.objects) {
        for (int v = 0; v < o.vertexCount; ++v) {
            const float* t = &o.tangents[3 * v];
            const float* n = &o.normals[3 * v];
            EXPECT_NEAR(t[0] * t[0] + t[1] * t[1] + t[2] * t[2], 1.0f, 1e-4f) << o.name << " " << v;
            EXPECT_NEAR(t[0] * n[0] + t[1] * n[1] + t[2] * n[2], 0.0f, 1e-4f) << o.name << " " << v;
        }
    }
    // On the mapped grid u grows with the file's x, which stays the demo's x.
    const auto& grid = model.objects[0];
    for (int v = 0; v < grid.vertexCount; ++v) EXPECT_GT(grid.tangents[3 * v], 0.7f);
}

TEST(Model3Ds, InfoSummarisesCountsAndBounds) {
    auto model = LoadBytes(Write3Ds({{"m"}}, {GridMesh("G", 2, "m"), Triangle("T", "m")}));
    const c3DsModelInfo info = model.Info();
    EXPECT_EQ(info.objects, 2);
    EXPECT_EQ(info.vertices, 9 + 3);
    EXPECT_EQ(info.faces, 8 + 1);
    EXPECT_EQ(info.groups, 2);
    EXPECT_TRUE(info.hasTexCoords);
    EXPECT_FLOAT_EQ(info.boundsMin[0], 0.0f);
    EXPECT_FLOAT_EQ(info.boundsMax[0], 2.0f);
    EXPECT_FLOAT_EQ(info.boundsMin[2], -2.0f);  // the grid's file y, 0..2, becomes -z
    EXPECT_FLOAT_EQ(info.boundsMax[1], 1.0f);   // the triangle's file z
    c3DsModelSystem empty;
    EXPECT_EQ(empty.Info().objects, 0);
    EXPECT_FALSE(empty.Info().hasTexCoords);
}

// --- Files on disk ------------------------------------------------------------------------------

class Model3DsFile : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(scratch.Path() / "data" / "Ter");
    }
    VantorGLTest::ScratchWorkingFolder scratch{"model3ds"};
};

TEST_F(Model3DsFile, DemoPathsAndQuotedPathsFindTheFile) {
    ASSERT_TRUE(WriteBytes("data/Ter/ray3.3ds", Sample()));
    for (const char* path : {"Data/Ter/ray3.3DS", "\"Data\\Ter\\ray3.3DS\"", "data/Ter/ray3.3ds\" trailing"}) {
        c3DsModelSystem model;
        testing::internal::CaptureStderr();
        model.Load(path);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << path;
        EXPECT_EQ(model.objectCount, 2) << path;
    }
}

TEST_F(Model3DsFile, MissingAndCorruptFilesLeaveAnEmptyModelAndSayOneLine) {
    auto bytes = Sample();
    bytes.resize(30);  // inside the first material: no object survives
    ASSERT_TRUE(WriteBytes("data/cut.3DS", bytes));
    ASSERT_TRUE(WriteBytes("data/good.3ds", Sample()));
    const std::pair<const char*, const char*> cases[] = {
        {"Data/none.3DS", "MODEL: Data/none.3DS: cannot open"},
        {"Data/cut.3DS", "MODEL: Data/cut.3DS: not a usable 3DS file: file is cut short"},
        {"Data", "MODEL: Data: is a folder, not a model file"},
        {"\"\"", "MODEL: \"\": no file name"},
    };
    for (const auto& [path, start] : cases) {
        c3DsModelSystem model;
        model.Load("data/good.3ds");  // a failed load also clears an earlier one
        testing::internal::CaptureStderr();
        model.Load(path);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(err.rfind(start, 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(model.objectCount, 0);
        EXPECT_TRUE(model.objects.empty());
    }
}

TEST_F(Model3DsFile, AnOverstatedTrailingChunkKeepsTheModelAndSaysOneLine) {
    Chunk3Ds main = Model3Ds({{"m"}}, {Triangle("A", "m"), Triangle("B", "m")});
    Chunk3Ds keyframer(0xB000);
    keyframer.U16(0).lengthOverride = 4096;
    main.Add(keyframer);
    ASSERT_TRUE(WriteBytes("data/trail.3DS", main.Bytes()));
    c3DsModelSystem model;
    testing::internal::CaptureStderr();
    model.Load("Data/trail.3DS");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("MODEL: Data/trail.3DS: chunk 0xB000 at byte ", 0), 0u) << err;
    EXPECT_NE(err.find("kept 2 of 2 objects\n"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(model.objectCount, 2);
}

// --- Malformed input ----------------------------------------------------------------------------

// Every cut either leaves nothing (refused, empty) or keeps the objects that lie wholly before
// it, exactly as the whole file has them, and says so; the last object is never whole.
TEST(Model3DsMalformed, EveryTruncationKeepsOnlyTheObjectsBeforeIt) {
    const auto bytes = Sample();
    const c3DsModelSystem whole = LoadBytes(bytes);
    ASSERT_EQ(whole.objectCount, 2);
    int keptBefore = 0;
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        c3DsModelSystem model;
        std::string problem;
        const bool loaded = model.LoadFromMemory(bytes.data(), n, &problem);
        EXPECT_FALSE(problem.empty()) << n;
        EXPECT_EQ(loaded, model.objectCount > 0) << n << ": " << problem;
        ASSERT_LE(model.objectCount, 1) << n;
        EXPECT_GE(model.objectCount, keptBefore) << n << ": a longer cut kept less";
        keptBefore = model.objectCount;
        if (model.objectCount == 1) {
            ExpectSameObject(model.objects[0], whole.objects[0]);
            EXPECT_EQ(problem.rfind("file is cut short", 0), 0u) << problem;
        }
    }
    EXPECT_EQ(keptBefore, 1) << "a cut in the last object lost the first one";
    // The same cuts with the main chunk's length mended, so the fault lies deeper in the tree.
    for (std::size_t n = 6; n < bytes.size(); ++n) {
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + std::ptrdiff_t(n));
        for (int i = 0; i < 4; ++i) cut[2 + i] = std::uint8_t(n >> (8 * i));
        c3DsModelSystem model;
        model.LoadFromMemory(cut.data(), cut.size());
        ExpectSane(model);
    }
    c3DsModelSystem model;
    EXPECT_FALSE(model.LoadFromMemory(nullptr, 100));
}

TEST(Model3DsMalformed, LyingLengthsAndCountsAreCorrupt) {
    auto withBadChild = [](Chunk3Ds child) {
        Chunk3Ds main = Model3Ds({{"m"}}, {Triangle("T", "m")});
        main.children[1].children.back().children[0].Add(child);  // inside the mesh
        return main.Bytes();
    };
    Chunk3Ds zero(0x1234);
    zero.lengthOverride = 0;
    Chunk3Ds overrun(0x1234);
    overrun.lengthOverride = 1000;
    Chunk3Ds tooMany(0x4110);
    tooMany.U16(5).F32(1).F32(2).F32(3);
    Chunk3Ds longName(0x4000);
    longName.Str(std::string(80, 'x'));
    Chunk3Ds unterminated = Chunk3Ds(0x4130);
    unterminated.data = {'a', 'b'};
    for (const auto& bytes : {withBadChild(zero), withBadChild(overrun), withBadChild(tooMany)}) {
        auto model = LoadBytes(bytes, false);
        EXPECT_EQ(model.objectCount, 0);
    }
    Chunk3Ds main = Model3Ds({}, {});
    main.children[1].Add(longName);
    LoadBytes(main.Bytes(), false);
    main = Model3Ds({}, {Triangle("T", "m")});
    main.children[1].children.back().children[0].children.back().Add(unterminated);
    LoadBytes(main.Bytes(), false);
    // A 79-character name is the longest accepted.
    main = Model3Ds({}, {Triangle(std::string(79, 'y'), "m")});
    auto model = LoadBytes(main.Bytes());
    EXPECT_EQ(std::strlen(model.objects[0].name), 79u);
}

// Real exporters write trailing keyframe chunks with wrong lengths, and files get cut: the
// objects read before the damage stay, the damaged part goes, and the one line says so.
TEST(Model3DsMalformed, AGoodModelKeepsItsObjectsWhenItsLastChunkIsCutOrOverstated) {
    const c3DsModelSystem whole = LoadBytes(Sample());
    Material3Ds red{"Red", {1, 0, 0}, true}, blue{"Blue", {0, 0, 1}, false};
    Mesh3Ds grid = GridMesh("Grid", 3, "Blue");
    grid.groups.push_back({"Red", {0, 1}});
    Chunk3Ds main = Model3Ds({red, blue}, {Triangle("Tri", "Red"), grid});
    const std::size_t keyframerAt = main.Bytes().size();
    Chunk3Ds keyframer(0xB000);
    keyframer.Add(Chunk3Ds(0xB00A).U16(5).Str("MAXSCENE").U32(100));
    keyframer.lengthOverride = 5000;  // more than the file holds
    main.Add(keyframer);

    c3DsModelSystem model;
    std::string problem;
    std::vector<std::uint8_t> bytes = main.Bytes();
    ASSERT_TRUE(model.LoadFromMemory(bytes.data(), bytes.size(), &problem));
    ASSERT_EQ(model.objectCount, 2);
    for (int i = 0; i < 2; ++i) ExpectSameObject(model.objects[i], whole.objects[i]);
    EXPECT_EQ(problem, "chunk 0xB000 at byte " + std::to_string(keyframerAt) +
                           " runs past its parent; kept 2 of 2 objects");

    // The keyframer cut in the middle, its length true to the whole file: the same two objects.
    main.children.back().lengthOverride = -1;
    bytes = main.Bytes();
    bytes.resize(keyframerAt + 10);
    ASSERT_TRUE(model.LoadFromMemory(bytes.data(), bytes.size(), &problem));
    ASSERT_EQ(model.objectCount, 2);
    ExpectSameObject(model.objects[1], whole.objects[1]);
    EXPECT_EQ(problem.rfind("file is cut short", 0), 0u) << problem;

    // The last object overstating its length: it is the damaged part and goes; the first stays.
    main.children.pop_back();
    main.children[1].children.back().lengthOverride = 100000;
    bytes = main.Bytes();
    ASSERT_TRUE(model.LoadFromMemory(bytes.data(), bytes.size(), &problem));
    ASSERT_EQ(model.objectCount, 1);
    ExpectSameObject(model.objects[0], whole.objects[0]);
    EXPECT_NE(problem.find("runs past its parent; kept 1 of 2 objects"), std::string::npos) << problem;
}

TEST(Model3DsMalformed, FacesNamingMissingVerticesOrFacesAreDropped) {
    Mesh3Ds mesh;
    mesh.name = "Bad";
    mesh.xyz = {0, 0, 0, 1, 0, 0, 0, 0, 1};
    mesh.faces = {0, 1, 2, 0, 1, 9};  // face 1 names vertex 9 of 3
    mesh.groups = {{"m", {0, 1, 7}}};  // face 7 of 2
    c3DsModelSystem model;
    std::string problem;
    const auto bytes = Write3Ds({{"m"}}, {mesh});
    ASSERT_TRUE(model.LoadFromMemory(bytes.data(), bytes.size(), &problem));
    ExpectSane(model);
    EXPECT_EQ(model.objects[0].groups[0].indices, (std::vector<std::uint16_t>{0, 1, 2}));
    EXPECT_EQ(problem.rfind("2 faces", 0), 0u) << problem;
    EXPECT_FLOAT_EQ(model.objects[0].normals[5], 1.0f);  // the bad face added nothing
}

TEST(Model3DsMalformed, ALaterVertexListCannotLeaveGroupsPointingPastIt) {
    // Two meshes in one object: the second one's smaller vertex list replaces the first.
    Chunk3Ds main = Model3Ds({}, {GridMesh("G", 2, "m")});
    Chunk3Ds& object = main.children[1].children.back();
    object.Add(Chunk3Ds(0x4100).Add(Chunk3Ds(0x4110).U16(1).F32(0).F32(0).F32(0)));
    auto model = LoadBytes(main.Bytes());
    ExpectSane(model);
    EXPECT_EQ(model.objects[0].groups[0].indexCount, 0);
}

TEST(Model3DsMalformed, ShortMappingListsArePaddedForDrawing) {
    Mesh3Ds mesh = GridMesh("G", 2, "m");
    mesh.uv.resize(4);  // 2 pairs for 9 vertices
    auto model = LoadBytes(Write3Ds({}, {mesh}));
    ExpectSane(model);
    EXPECT_EQ(model.objects[0].uvCount, 2);
    EXPECT_EQ(model.objects[0].texCoords.size(), 18u);
}

TEST(Model3DsMalformed, RandomDamageNeverBreaksTheInvariants) {
    const auto bytes = Sample();
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round) {
        auto damaged = bytes;
        const int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] = std::uint8_t(random());
        c3DsModelSystem model;
        model.LoadFromMemory(damaged.data(), damaged.size());
        ExpectSane(model);
        if (HasFatalFailure()) FAIL() << "round " << round;
    }
}

// --- Drawing ------------------------------------------------------------------------------------

namespace {

// A flat quad facing the camera at demo depth -5, x from x0 to x1, y from -1 to 1, written in
// the file's axes (x, -z, y).
Mesh3Ds Quad(const std::string& name, float x0, float x1, bool uv) {
    return SingleGroupMesh(name, {x0, 5, -1, x1, 5, -1, x1, 5, 1, x0, 5, 1}, {0, 1, 2, 0, 2, 3}, "m",
                           uv ? std::vector<float>{0, 0, 1, 0, 1, 1, 0, 1} : std::vector<float>{});
}

bool Lit(const std::vector<std::uint8_t>& pixels, int width, int x, int y) {
    return pixels[4 * std::size_t(y * width + x)] > 128;
}

}  // namespace

TEST(Model3DsDraw, TwoObjectsDrawBothAndInvisibleDrawsNothing) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    auto model = LoadBytes(Write3Ds({{"m"}}, {Quad("Left", -2.0f, -0.5f, true), Quad("Right", 0.5f, 2.0f, false)}));
    glClearColor(0, 0, 0, 1);
    glColor3f(1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    model.Draw();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    GLint after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, depth);
    // The last object has no mapping: its texture-coordinate array must be off, not left
    // pointing at the first object's.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    auto pixels = gl.ReadPixels();
    const int w = gl.Width(), mid = gl.Height() / 2;
    EXPECT_TRUE(Lit(pixels, w, 17, mid));
    EXPECT_TRUE(Lit(pixels, w, 46, mid));
    EXPECT_FALSE(Lit(pixels, w, 32, mid));

    // Moving the model moves both objects.
    model.position[0] = 10.0f;
    glClear(GL_COLOR_BUFFER_BIT);
    model.Draw();
    pixels = gl.ReadPixels();
    EXPECT_FALSE(Lit(pixels, w, 17, mid));
    model.position[0] = 0.0f;

    model.visible = 0;
    glClear(GL_COLOR_BUFFER_BIT);
    model.Draw();
    pixels = gl.ReadPixels();
    EXPECT_FALSE(Lit(pixels, w, 17, mid));
    EXPECT_FALSE(Lit(pixels, w, 46, mid));

    c3DsModelSystem empty;
    empty.Draw();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
