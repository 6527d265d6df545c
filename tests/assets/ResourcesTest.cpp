// Tests for the registry over the real generated data, loaded by the sequencer exactly as the
// program does it: every manifest row is loaded, a clean start-up says nothing, shared pictures get their
// own names, the parameter table's order holds, and the shared particle configuration survives
// the scenes' set-up.
#include "assets/Resources.h"

#include "assets/DataManifest.h"

#include "scenes/WorkshopScene.h"
#include "support/DemoHarness.h"
#include "support/FixedClock.h"
#include "support/GeneratedData.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using VantorGLTest::DemoHarness;

#define REQUIRE_DEMO(harness) \
    if (!(harness).Ok()) GTEST_SKIP() << "no GL or no data folder"

// The whole start-up of a program that plays the demo, on this machine's GL: every shader
// program compiles and links and every file loads, so nothing at all is said on stderr.
TEST(Resources, ACleanStartUpSaysNothing) {
    REQUIRE_GENERATED_DATA();
    const VantorGLTest::DataHome home("clean-start");
    VantorGLTest::ProgramResult run = VantorGLTest::RunProgram(
        VantorGLTest::BuiltProgram("quenlite-capture"),
        {"--out", (home.Path() / "frames").string(), "--at", "0.1", "--size", "64x48", "--quiet"}, home.Path(),
        {{"SDL_VIDEODRIVER", "offscreen"}}, 120);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(VantorGLTest::DiagnosticLines(run.err), std::vector<std::string>{}) << run.err;
}

TEST(Resources, LoadedStateFollowsTheTable) {
    DemoHarness& harness = DemoHarness::Get();
    REQUIRE_DEMO(harness);
    VantorGL::cResources& res = harness.Demo().registry;

    // The same picture in two members: two loads, two texture names.
    EXPECT_NE(res.texArt1.texture, 0u);
    EXPECT_NE(res.texArt1B.texture, 0u);
    EXPECT_NE(res.texArt1.texture, res.texArt1B.texture);
    EXPECT_NE(res.texPillarroomNorm.texture, res.texPillarroomNormB.texture);

    // The pillar program's second light is never set: the class default stays.
    const VantorGL::cNPMultiLight fresh;
    EXPECT_EQ(res.npLightPillar.LightPosition2.x, fresh.LightPosition2.x);
    EXPECT_EQ(res.npLightPillar.LightPosition2.y, fresh.LightPosition2.y);
    EXPECT_EQ(res.npLightPillar.LightPosition2.z, fresh.LightPosition2.z);
    EXPECT_EQ(res.npLightTerFloor.LightPosition2.x, -1000.0f);  // ...where the others' is set

    // The refraction programs were configured after the cube target existed: binding one puts
    // cubeMap's cube on its unit 1, never 0.
    ASSERT_NE(res.cubeMap.texture, 0u);
    VantorGL::cCamera camera;
    while (glGetError() != GL_NO_ERROR) {
    }
    for (VantorGL::cRefractSurfaceShader* shader :
         {static_cast<VantorGL::cRefractSurfaceShader*>(&res.crystalRefractShader),
          static_cast<VantorGL::cRefractSurfaceShader*>(&res.crystalCaveRefractShader)}) {
        shader->Bind(camera);
        GLint bound = 0;
        glActiveTexture(GL_TEXTURE1);
        glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
        shader->Unbind();
        EXPECT_EQ(GLuint(bound), res.cubeMap.texture) << shader->ClassName() << " samples cube " << bound;
        EXPECT_NE(bound, 0) << shader->ClassName();
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// LoadAll walks the asset manifest: each row's member holds what its file gave.
TEST(Resources, EveryManifestRowIsLoaded) {
    DemoHarness& harness = DemoHarness::Get();
    REQUIRE_DEMO(harness);
    VantorGL::cResources& res = harness.Demo().registry;
    for (const VantorGL::cDataFile& row : VantorGL::AssetManifest()) {
        SCOPED_TRACE(row.user);
        if (auto* texture = VantorGL::RegistryMember<VantorGL::cTextureSystem>(res, row))
            EXPECT_NE(texture->texture, 0u);
        else if (auto* model = VantorGL::RegistryMember<c3DsModelSystem>(res, row))
            EXPECT_GT(model->Info().faces, 0);
        else if (auto* font = VantorGL::RegistryMember<VantorGL::cFontSystem>(res, row))
            EXPECT_NE(font->outlineBase, 0u);
        else if (auto* music = VantorGL::RegistryMember<VantorGL::cMusicSystem>(res, row))
            EXPECT_GT(music->Stream().Frames(), 0);
        else
            ADD_FAILURE() << "a registry row without a member";
    }
}

// The workshop's set-up (second in the sequencer's order) configures the shared particles; later
// set-ups make the pool again and steer it, but none changes the colour or the life divisor:
// right after the sequencer's Init they are what the workshop's set-up alone gives a pool.
TEST(Resources, WorkshopParticleConfigurationOutlivesTheSceneSetUp) {
    DemoHarness& harness = DemoHarness::Get();
    REQUIRE_DEMO(harness);
    harness.Restart();  // the state of the set-up, before any frame recolours the stream
    static VantorGL::cResources alone;
    static VantorGL::cWorkshopScene workshop;
    workshop.SetResources(&alone);
    {
        VantorGLTest::FixedClock clock(30);  // the set-up restarts the process clock
        workshop.ConfigureShared();
    }
    const VantorGL::cParticleSystem& shared = harness.Demo().registry.particles;
    const VantorGL::cParticleSystem& expected = alone.particles;
    EXPECT_TRUE(shared.Ready());
    for (int c = 0; c < 3; ++c) EXPECT_EQ(shared.colour[c], expected.colour[c]) << "colour channel " << c;
    EXPECT_EQ(shared.lifeDivisor, expected.lifeDivisor);
}
