// Checks datagen's 3DS models with a reader of its own: chunk structure, grouping, index
// ranges, texture coordinates, sizes that fit the scenes, and byte-identical reruns.
#include "MeshText.h"
#include "ModelsGen.h"
#include "SceneCameras.h"
#include "ThreeDsWriter.h"
#include "Datagen.h"

#include "assets/DataManifest.h"
#include "support/FileBytes.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

using namespace Datagen;

struct ParsedObject {
    std::string name;
    std::vector<Vec3> positions;  // back in the demo's axes: file (x, y, z) -> (x, z, -y)
    size_t uvCount = 0;
    bool hasUv = false;
    std::vector<uint16_t> faces;  // three indices per face
    std::vector<std::pair<std::string, std::vector<uint16_t>>> groups;
};

struct ParsedModel {
    std::vector<std::string> materials;
    std::vector<ParsedObject> objects;
    std::string error;
};

// A strict walker over the chunk subset the demo reads; any overrun is an error.
class Walker {
public:
    explicit Walker(const std::vector<unsigned char>& b) : bytes(b) {}
    ParsedModel Parse() {
        ParsedModel model;
        uint16_t id;
        uint32_t length;
        if (!Header(0, id, length) || id != 0x4D4D || length != bytes.size()) return Fail(model, "bad main chunk");
        bool sawEditor = false;
        ForChildren(6, length, [&](uint16_t cid, size_t at, uint32_t clen) {
            if (cid != 0x3D3D) return;
            sawEditor = true;
            ForChildren(at + 6, at + clen, [&](uint16_t eid, size_t eat, uint32_t elen) {
                if (eid == 0xAFFF) Material(model, eat, elen);
                if (eid == 0x4000) Object(model, eat, elen);
            });
        });
        if (!sawEditor) error = "no editor chunk";
        model.error = error;
        return model;
    }

private:
    const std::vector<unsigned char>& bytes;
    std::string error;

    ParsedModel Fail(ParsedModel& m, const char* why) {
        m.error = why;
        return m;
    }
    bool Header(size_t at, uint16_t& id, uint32_t& length) {
        if (at + 6 > bytes.size()) return false;
        std::memcpy(&id, &bytes[at], 2);
        std::memcpy(&length, &bytes[at + 2], 4);
        return length >= 6 && at + length <= bytes.size();
    }
    template <typename F>
    void ForChildren(size_t from, size_t end, F visit) {
        size_t at = from;
        while (at < end) {
            uint16_t id;
            uint32_t length;
            if (!Header(at, id, length) || at + length > end) {
                error = "chunk overruns its parent";
                return;
            }
            visit(id, at, length);
            at += length;
        }
    }
    uint16_t U16(size_t& at) {
        uint16_t v = 0;
        if (at + 2 <= bytes.size()) std::memcpy(&v, &bytes[at], 2);
        else error = "truncated";
        at += 2;
        return v;
    }
    float F32(size_t& at) {
        float v = 0;
        if (at + 4 <= bytes.size()) std::memcpy(&v, &bytes[at], 4);
        else error = "truncated";
        at += 4;
        return v;
    }
    std::string String(size_t& at, size_t end) {
        std::string s;
        while (at < end && bytes[at] != 0) s += char(bytes[at++]);
        if (at >= end || s.size() > 79) error = "bad string";
        ++at;
        return s;
    }
    void Material(ParsedModel& model, size_t at, uint32_t length) {
        std::string name;
        bool colour = false;
        ForChildren(at + 6, at + length, [&](uint16_t id, size_t cat, uint32_t clen) {
            size_t p = cat + 6;
            if (id == 0xA000) name = String(p, cat + clen);
            if (id == 0xA020) ForChildren(cat + 6, cat + clen, [&](uint16_t kid, size_t, uint32_t klen) {
                    colour |= (kid == 0x0011 && klen == 9) || (kid == 0x0010 && klen == 18);
                });
        });
        if (name.empty() || !colour) error = "material without name or diffuse colour";
        model.materials.push_back(name);
    }
    void Object(ParsedModel& model, size_t at, uint32_t length) {
        ParsedObject object;
        size_t p = at + 6;
        object.name = String(p, at + length);
        ForChildren(p, at + length, [&](uint16_t id, size_t mat, uint32_t mlen) {
            if (id != 0x4100) return;
            ForChildren(mat + 6, mat + mlen, [&](uint16_t cid, size_t cat, uint32_t clen) {
                size_t q = cat + 6;
                if (cid == 0x4110) {
                    uint16_t n = U16(q);
                    if (6 + 2 + size_t(n) * 12 != clen) error = "vertex chunk size";
                    for (uint16_t i = 0; i < n; ++i) {
                        float x = F32(q), y = F32(q), z = F32(q);
                        object.positions.push_back({x, z, -y});
                    }
                } else if (cid == 0x4140) {
                    object.hasUv = true;
                    object.uvCount = U16(q);
                    if (6 + 2 + object.uvCount * 8 != clen) error = "uv chunk size";
                } else if (cid == 0x4120) {
                    uint16_t n = U16(q);
                    for (uint16_t i = 0; i < n; ++i) {
                        for (int k = 0; k < 3; ++k) object.faces.push_back(U16(q));
                        U16(q);  // flags
                    }
                    ForChildren(q, cat + clen, [&](uint16_t gid, size_t gat, uint32_t glen) {
                        if (gid != 0x4130) return;
                        size_t g = gat + 6;
                        std::string name = String(g, gat + glen);
                        uint16_t count = U16(g);
                        std::vector<uint16_t> members;
                        for (uint16_t i = 0; i < count; ++i) members.push_back(U16(g));
                        if (g != gat + glen) error = "group chunk size";
                        object.groups.push_back({name, members});
                    });
                }
            });
        });
        model.objects.push_back(object);
    }
};

struct Box {
    Vec3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    Vec3 Size() const { return hi - lo; }
};

Box BoundsOf(const ParsedModel& m) {
    Box b;
    for (const ParsedObject& o : m.objects)
        for (Vec3 p : o.positions) {
            b.lo = {std::min(b.lo.x, p.x), std::min(b.lo.y, p.y), std::min(b.lo.z, p.z)};
            b.hi = {std::max(b.hi.x, p.x), std::max(b.hi.y, p.y), std::max(b.hi.z, p.z)};
        }
    return b;
}

// Signed volume of a closed mesh: positive when its faces point outwards.
float SignedVolume(const Mesh& mesh) {
    double v = 0;
    for (const Triangle& t : mesh.triangles)
        v += Dot(mesh.positions[t.a], Cross(mesh.positions[t.b], mesh.positions[t.c]));
    return float(v / 6);
}

class ModelsGenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch = new VantorGLTest::ScratchFolder("models");
        root = scratch->Path().string();
        generated = Datagen::GenerateModels(root);
        for (const ModelFile& f : ModelFiles()) parsed[f.path] = Walker(VantorGLTest::ReadBytes(root + "/" + f.path)).Parse();
    }
    static void TearDownTestSuite() {
        delete scratch;
        scratch = nullptr;
    }
    static VantorGLTest::ScratchFolder* scratch;
    static std::string root;
    static bool generated;
    static std::map<std::string, ParsedModel> parsed;
};
VantorGLTest::ScratchFolder* ModelsGenTest::scratch = nullptr;
std::string ModelsGenTest::root;
bool ModelsGenTest::generated = false;
std::map<std::string, ParsedModel> ModelsGenTest::parsed;

TEST_F(ModelsGenTest, EveryFileParsesWithAllFacesInValidGroups) {
    ASSERT_TRUE(generated);
    // One file for each model row of the manifest, in its order, each with its recipe.
    std::vector<std::string> manifestModels;
    for (const VantorGL::cDataFile& row : VantorGL::AssetManifest())
        if (row.kind == VantorGL::cDataKind::Model) manifestModels.push_back(VantorGL::PathInDataFolder(row.path));
    ASSERT_EQ(ModelFiles().size(), manifestModels.size());
    for (std::size_t i = 0; i < manifestModels.size(); ++i) {
        EXPECT_EQ(ModelFiles()[i].path, manifestModels[i]);
        EXPECT_NE(ModelFiles()[i].build, nullptr) << manifestModels[i] << " has no recipe";
    }
    for (const ModelFile& f : ModelFiles()) {
        SCOPED_TRACE(f.path);
        ASSERT_TRUE(std::filesystem::exists(root + "/" + f.path));
        const ParsedModel& m = parsed.at(f.path);
        EXPECT_EQ(m.error, "");
        ASSERT_FALSE(m.objects.empty());
        for (const ParsedObject& o : m.objects) {
            ASSERT_FALSE(o.faces.empty()) << o.name;
            EXPECT_LE(o.positions.size(), 65535u);
            EXPECT_EQ(o.hasUv, f.mapping == eMapping::Mapped);
            if (o.hasUv) {
                EXPECT_EQ(o.uvCount, o.positions.size());
            }
            for (uint16_t i : o.faces) ASSERT_LT(i, o.positions.size());
            std::vector<int> grouped(o.faces.size() / 3, 0);
            for (const auto& [name, members] : o.groups) {
                EXPECT_NE(std::find(m.materials.begin(), m.materials.end(), name), m.materials.end()) << name;
                for (uint16_t f2 : members) {
                    ASSERT_LT(f2, grouped.size());
                    ++grouped[f2];
                }
            }
            for (int count : grouped) ASSERT_EQ(count, 1) << o.name << ": a face outside exactly one group";
        }
    }
}

// Every model stays within the budget written beside its recipe: its vertices as parsed back
// from the file, and the file's bytes; and the models together stay well under the data
// folder's share for them.
TEST_F(ModelsGenTest, EveryModelKeepsToItsBudget) {
    ASSERT_TRUE(generated);
    size_t total = 0;
    for (const ModelFile& f : ModelFiles()) {
        SCOPED_TRACE(f.path);
        ASSERT_GT(f.budget.vertices, 0u) << "no budget beside the recipe";
        size_t vertices = 0;
        for (const ParsedObject& o : parsed.at(f.path).objects) vertices += o.positions.size();
        const size_t bytes = std::filesystem::file_size(root + "/" + f.path);
        EXPECT_LE(vertices, f.budget.vertices);
        EXPECT_LE(bytes, f.budget.bytes);
        total += bytes;
    }
    EXPECT_LT(total, 8u << 20) << "the models' bytes";
}

TEST_F(ModelsGenTest, SizesFitTheScenes) {
    ASSERT_TRUE(generated);
    auto box = [&](const char* path) { return BoundsOf(parsed.at(path)); };
    // Cluster tips leave the radius-20 sphere drawn around it, and its needles leave the opening's
    // cube sphere, whose cubes stand ten times the cluster's scale out at radius 10 (~107 with
    // the cubes' own size), without reaching past the crystal scene's view (~180 there).
    Box many = box("crystal_many.3DS");
    EXPECT_GT(std::max({many.hi.x, -many.lo.x, many.hi.y, -many.lo.y}), 25);
    float reach = 0;
    for (const ParsedObject& o : parsed.at("crystal_many.3DS").objects)
        for (Vec3 q : o.positions) reach = std::max(reach, Length(q));
    EXPECT_GT(reach, 125);
    EXPECT_LT(reach, 180);
    // Logo and outline ~100 wide, wider than tall, thin in z.
    for (const char* p : {"mvlogo.3DS", "mvoutline.3DS"}) {
        Box b = box(p);
        EXPECT_NEAR(b.Size().x, 100, 6) << p;
        EXPECT_GT(b.Size().x, 1.6f * b.Size().y) << p;
        EXPECT_LT(b.Size().z, 20) << p;
    }
    // Rings lie in x-y, round, and nest with room between them: the crystal scene shows all four
    // at once, and rings whose crystals overlap read as one band.
    float lastOuter = 0;
    for (const char* p : {"crystal_ring1.3DS", "crystal_ring2.3DS", "crystal_ring3.3DS", "crystal_ring4.3DS"}) {
        Box b = box(p);
        EXPECT_NEAR(b.Size().x, b.Size().y, 40) << p;
        EXPECT_LT(b.Size().z, 0.4f * b.Size().x) << p;
        float inner = 1e9f, outer = 0;
        for (const ParsedObject& o : parsed.at(p).objects)
            for (Vec3 q : o.positions) {
                inner = std::min(inner, std::hypot(q.x, q.y));
                outer = std::max(outer, std::hypot(q.x, q.y));
            }
        EXPECT_GT(inner, lastOuter + 10) << p << " overlaps the ring inside it";
        lastOuter = outer;
    }
    EXPECT_LT(lastOuter, 330);
    // Tunnel pieces: ~1000 long on z, the ring pair (r ~400) and the camera fit inside.
    for (const char* p : {"tunnel.3DS", "spiketube.3DS"}) {
        Box b = box(p);
        EXPECT_NEAR(b.Size().z, 1000, 40) << p;
        for (const ParsedObject& o : parsed.at(p).objects)
            for (Vec3 q : o.positions) ASSERT_GT(std::hypot(q.x, q.y), 420) << p;
    }
    // Torus interlude, drawn scaled under the scene's standing camera. The torus turns about y, so the eye sweeps a circle through it: torus and
    // crystals keep clear of that circle (the camera never enters them). Torus and ball cube share
    // a centre on the y axis, the cube fits inside the ring's hole, and both reach into the cone
    // of 22 degrees round the view axis that every roll of the view keeps on screen.
    {
        const Vec3 eye = kTorusEye, view = kTorusViewAxis;
        auto fromEyeCircle = [&](Vec3 p) { return std::hypot(std::hypot(p.x, p.z) - std::hypot(eye.x, eye.z), p.y); };
        auto seen = [&](const ParsedModel& m) {
            float best = -1;
            for (const ParsedObject& o : m.objects)
                for (Vec3 p : o.positions) best = std::max(best, Dot(Normalize(p - eye), view));
            return best;
        };
        float torusHole = 1e30f, torusClear = 1e30f, crystalClear = 1e30f, cubeReach = 0;
        for (const ParsedObject& o : parsed.at("torus.3DS").objects)
            for (Vec3 p : o.positions) {
                torusHole = std::min(torusHole, std::hypot(p.x, p.z));
                torusClear = std::min(torusClear, fromEyeCircle(p));
            }
        for (const ParsedObject& o : parsed.at("toruscrystals.3DS").objects)
            for (Vec3 p : o.positions) crystalClear = std::min(crystalClear, fromEyeCircle(p));
        for (const ParsedObject& o : parsed.at("cuball.3DS").objects)
            for (Vec3 p : o.positions) cubeReach = std::max(cubeReach, std::hypot(p.x, p.z));
        // Outside the tube: a ray from the eye straight up crosses the torus's surface an even
        // number of times (the ring is round, so one place on the eye's circle stands for all).
        int crossings = 0;
        for (const ParsedObject& o : parsed.at("torus.3DS").objects)
            for (size_t t = 0; t + 2 < o.faces.size(); t += 3)
                crossings += RayHitsTriangle(eye, Vec3{0, 1, 0}, o.positions[o.faces[t]],
                                             o.positions[o.faces[t + 1]], o.positions[o.faces[t + 2]]) > 0;
        EXPECT_EQ(crossings % 2, 0) << "the eye is inside the tube";
        EXPECT_GT(torusClear, 10) << "the eye passes through the torus";
        EXPECT_GT(crystalClear, 10) << "a crystal sweeps through the eye";
        EXPECT_LT(cubeReach, torusHole) << "the ball cube cuts into the ring";
        Box torus = box("torus.3DS"), cube = box("cuball.3DS");
        EXPECT_NEAR(torus.lo.x + torus.hi.x, 0, 1);
        EXPECT_NEAR(torus.lo.z + torus.hi.z, 0, 1);
        // The ball lattice shares the ring's centre: its top balls (centres 76 up, radius 7)
        // reach 83 above it. Only the balls the camera can see are kept, which leaves the
        // bottom rows out but the cube's near edge from the top down through the view.
        EXPECT_NEAR(cube.hi.y, (torus.lo.y + torus.hi.y) / 2 + 83, 1);
        EXPECT_GT(cube.Size().y, 100) << "the edge's balls";
        const float inView = std::cos(22 * kPi / 180);
        EXPECT_GT(seen(parsed.at("torus.3DS")), inView);
        EXPECT_GT(seen(parsed.at("toruscrystals.3DS")), inView);
        EXPECT_GT(seen(parsed.at("cuball.3DS")), inView);
    }
    // Figure about 8 tall round the origin; sky sphere radius 60; wide crystal ~20 across.
    Box figure = box("humanplant_mesh.3DS");
    EXPECT_NEAR(figure.Size().y, 8, 0.6f);
    EXPECT_LT(figure.Size().x, 3.5f);
    EXPECT_NEAR(box("sky_sphere.3DS").hi.x, 60, 0.5f);
    EXPECT_NEAR(box("crystal_wide.3DS").Size().x, 20, 5);
    // Greetings: a few copies of the line round the figure, inside the sphere of spinning cubes
    // (cube centres 4200 / 150 = 28 units out, their inner faces about 26.6), and none through
    // the legs (the lower 40 % of the figure's height).
    float legsTop = figure.lo.y + 0.4f * figure.Size().y, legsReach = 0;
    for (const ParsedObject& o : parsed.at("humanplant_mesh.3DS").objects)
        for (Vec3 q : o.positions)
            if (q.y < legsTop) legsReach = std::max(legsReach, std::hypot(q.x, q.z));
    for (const char* p : {"greeting1.3DS", "greeting2.3DS", "greeting3.3DS"}) {
        EXPECT_GE(parsed.at(p).objects.size(), 2u) << p;
        EXPECT_LE(parsed.at(p).objects.size(), 20u) << p;  // as many as the vertex budget holds
        float reachOut = 0, legGap = 1e9f;
        for (const ParsedObject& o : parsed.at(p).objects)
            for (Vec3 q : o.positions) {
                reachOut = std::max(reachOut, Length(q));
                if (q.y < legsTop && q.y > figure.lo.y) legGap = std::min(legGap, std::hypot(q.x, q.z) - legsReach);
            }
        EXPECT_LT(reachOut, 25.5f) << p;
        EXPECT_GT(legGap, 0.1f) << p;
    }
    // Ray: a wedge out along +x in the x-y plane.
    Box ray = box("ray.3DS");
    EXPECT_GT(ray.Size().x, 900);
    EXPECT_NEAR(ray.lo.x, 0, 1e-3f);
    EXPECT_EQ(ray.Size().z, 0);
    // Credits stand on the canyon floor beside the camera's target, tall enough to read.
    Box creds = box("creds.3DS");
    Vec3 mid = (creds.lo + creds.hi) * 0.5f;
    EXPECT_LT(Length(Vec3{mid.x - 225, 0, mid.z + 342}), 80);
    EXPECT_LT(creds.lo.y, 10);
    EXPECT_GT(creds.Size().y, 150);
}

// Does the segment from `from` to `to` pass through any triangle of the model?
bool Blocked(const ParsedModel& m, Vec3 from, Vec3 to) {
    for (const ParsedObject& o : m.objects)
        for (size_t t = 0; t + 2 < o.faces.size(); t += 3) {
            float h = RayHitsTriangle(from, to - from, o.positions[o.faces[t]], o.positions[o.faces[t + 1]],
                                      o.positions[o.faces[t + 2]]);
            if (h > 0 && h < 1) return true;
        }
    return false;
}

TEST_F(ModelsGenTest, CanyonIsClosedWithTheSkyLightInView) {
    const ParsedModel& wall = parsed.at("Ter/ter_wall.3DS");
    const ParsedObject& sky = parsed.at("Ter/ter_sky.3DS").objects.at(0);
    ASSERT_FALSE(sky.positions.empty());
    Vec3 skyMiddle = sky.positions[sky.positions.size() / 2];
    const Vec3 eyeStart{-307, 130, 430}, eyeEnd{23, 130, 100}, target{225, 60, -342};
    for (Vec3 eye : {eyeStart, eyeEnd}) {
        EXPECT_FALSE(Blocked(wall, eye, skyMiddle));                   // the sky crack is in sight
        EXPECT_TRUE(Blocked(wall, eye, eye + Vec3{0, 2000, 0}));       // straight up is rock
        EXPECT_FALSE(Blocked(wall, eye, target));                      // the credits are in view
    }
    EXPECT_FALSE(Blocked(parsed.at("Ter/ter_crys.3DS"), eyeEnd, target));
}

TEST_F(ModelsGenTest, OutlineTextureRunsDownTheLogo) {
    std::vector<unsigned char> bytes = VantorGLTest::ReadBytes(root + "/mvoutline.3DS");
    const ParsedModel& m = parsed.at("mvoutline.3DS");
    ASSERT_FALSE(m.objects.empty());
    // Re-read the uvs: find the 0x4140 chunk and compare v with height.
    size_t at = 0;
    while (at + 2 <= bytes.size() && !(bytes[at] == 0x40 && bytes[at + 1] == 0x41)) ++at;
    ASSERT_LT(at + 8, bytes.size());
    uint16_t count;
    std::memcpy(&count, &bytes[at + 6], 2);
    ASSERT_EQ(count, m.objects[0].positions.size());
    Box b = BoundsOf(m);
    for (uint16_t i = 0; i < count; ++i) {
        float v;
        std::memcpy(&v, &bytes[at + 8 + i * 8 + 4], 4);
        float expected = (b.hi.y - m.objects[0].positions[i].y) / b.Size().y;
        ASSERT_NEAR(v, expected, 1e-3f);
    }
}

TEST_F(ModelsGenTest, SecondRunGivesIdenticalBytes) {
    ASSERT_TRUE(generated);
    for (const ModelFile& f : ModelFiles()) {
        Model model;
        ASSERT_TRUE(f.build(model));
        EXPECT_TRUE(EncodeThreeDs(model, f.mapping == eMapping::Mapped) == VantorGLTest::ReadBytes(root + "/" + f.path))
            << f.path;
    }
}

TEST(ThreeDsWriterTest, ConvertsAxesAndSplitsLargeObjects) {
    Model model;
    int mat = model.AddMaterial("M", 0x102030);
    Mesh& mesh = model.AddObject("big");
    for (int i = 0; i < 70000; ++i) mesh.AddVertex({float(i), 1, 2}, {0, 0});
    for (uint32_t i = 0; i + 2 < 70000; i += 3) mesh.AddTriangle(i, i + 1, i + 2, mat);
    ParsedModel parsedModel = Walker(EncodeThreeDs(model)).Parse();
    ASSERT_EQ(parsedModel.error, "");
    ASSERT_EQ(parsedModel.objects.size(), 2u);
    size_t faces = 0;
    for (const ParsedObject& o : parsedModel.objects) {
        EXPECT_LE(o.positions.size(), 65535u);
        faces += o.faces.size() / 3;
        ASSERT_EQ(o.groups.size(), 1u);
        EXPECT_EQ(o.groups[0].first, "M");
    }
    EXPECT_EQ(faces, 23333u);
    EXPECT_EQ(parsedModel.objects[1].name, "big.1");
    // The loader's (x, z, -y) turn gives back the demo position.
    Vec3 p = parsedModel.objects[0].positions[5];
    EXPECT_FLOAT_EQ(p.x, 5);
    EXPECT_FLOAT_EQ(p.y, 1);
    EXPECT_FLOAT_EQ(p.z, 2);
}

TEST(MeshBuilderTest, ClosedShapesFaceOutwardsAndSkiesInwards) {
    Mesh sphere, sky, box, crystal, sweep, logo;
    AddSphere(sphere, Frame{}, 2, 16, 8, 0, false);
    AddSphere(sky, Frame{}, 2, 16, 8, 0, true);
    AddBox(box, FrameAlong({1, 2, 3}, {1, 1, 0}, 0.3f), {1, 2, 3}, 0);
    CrystalShape shape;
    AddCrystal(crystal, FrameAlong({0, 0, 0}, {0, 0, 1}, 0), shape, 0, nullptr);
    AddSweep(sweep, {{0, 0, 0}, {0, 1, 0}, {1, 2, 0}}, {0.3f, 0.3f, 0.3f}, 8, 0);
    EXPECT_GT(SignedVolume(sphere), 0);
    EXPECT_LT(SignedVolume(sky), 0);
    EXPECT_NEAR(SignedVolume(box), 48, 0.01f);
    EXPECT_GT(SignedVolume(crystal), 0);
    EXPECT_GT(SignedVolume(sweep), 0);
    // Extruded outlines, a ring with a hole included, close with outward faces.
    std::vector<Contour> ring = {{{0, 0}, {4, 0}, {4, 4}, {0, 4}}, {{1, 1}, {1, 3}, {3, 3}, {3, 1}}};
    ExtrudeContours(logo, ring, 1, 0.1f, Frame{}, {0, 0, 0});
    EXPECT_NEAR(SignedVolume(logo), 12 - 0.1f * 16 * 0.1f * 2, 0.2f);
}

TEST(MeshTextTest, TextBecomesClosedSolidReadingAlongX) {
    std::vector<Contour> contours;
    float width = 0;
    ASSERT_TRUE(TextContours("Hello", 1, 0.002f, contours, width));
    EXPECT_GT(width, 2);
    Mesh mesh;
    ExtrudeContours(mesh, contours, 0.2f, 0, Frame{}, {0, 0, 0});
    EXPECT_GT(SignedVolume(mesh), 0);
    Vec3 lo, hi;
    mesh.Bounds(lo, hi);
    EXPECT_NEAR(hi.y, 1, 0.05f);  // "H" and "l" stand one cap height tall
}

}  // namespace
