// Lit-surface family: every member links with Tangent on attribute 6, the default lights light a
// surface as designed, Bind pushes stored values onto units 0-4, Unbind clears them, and the
// tangent basis never goes NaN.
#include "render/shaders/LitShaders.h"

#include "render/shaders/ShaderTestSupport.h"

using namespace VantorGL;
using namespace VantorGLTest;

namespace {

cCamera EyeAt(double x, double y, double z) {
    cCamera camera;
    camera.SetView(cVector3(x, y, z), cVector3(0.0, 0.0, 0.0), cVector3(0.0, 1.0, 0.0));
    return camera;
}

template <class Shader>
void ExpectLinksWithTangentOnAttribute6(Shader& shader) {
    std::string log = BuildCaptured(shader);
    ASSERT_TRUE(shader.IsLinked()) << shader.ClassName() << "\n" << log;
    EXPECT_EQ(glGetAttribLocationARB(shader.Program(), "Tangent"), GLint(kTangentAttribute))
        << shader.ClassName();
}

// The multi-light program on a white colour map, a flat normal map and no specular map: what it
// draws then depends only on the lights and the surface normal. False when it did not link.
bool BuildWhiteFlatMatte(cNPMultiLight& np) {
    BuildCaptured(np);
    if (!np.IsLinked()) return false;
    np.SetColorMap(MakeSolidTexture(2, 2, {255, 255, 255, 255}));
    np.SetNormalMap(MakeSolidTexture(2, 2, {128, 128, 255, 255}));
    np.SetSpecularMap(MakeSolidTexture(2, 2, {0, 0, 0, 255}));
    return true;
}

}  // namespace

TEST(LitShaders, EveryMemberLinksWithTangentOnAttribute6) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cNPMultiLight np;
    ExpectLinksWithTangentOnAttribute6(np);
    cTorbObjectShader torb;
    ExpectLinksWithTangentOnAttribute6(torb);
    cTavikIsleObjectShader tavik;
    ExpectLinksWithTangentOnAttribute6(tavik);
    cMVLogoShader logo;
    ExpectLinksWithTangentOnAttribute6(logo);
    cCrystalRingShader ring;
    ExpectLinksWithTangentOnAttribute6(ring);
}

// The defaults light a white, flat-normal-mapped, specular-free quad: a warm light on the right,
// a cool one on the left, both above ambient; turned away from both only the ambient is left, the
// same in every channel.
TEST(LitShaders, DefaultLightsAreWarmOnTheRightAndCoolOnTheLeft) {
    GlTestContext ctx(16, 16);
    REQUIRE_GL(ctx);
    cNPMultiLight np;
    ASSERT_TRUE(BuildWhiteFlatMatte(np));
    const cCamera camera = EyeAt(0.0, 0.0, 5.0);
    auto lit = [&](float nx, float nz) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glVertexAttrib3fARB(kTangentAttribute, 0.0f, 0.0f, 0.0f);
        glNormal3f(nx, 0.0f, nz);
        np.Bind(camera);
        DrawViewportQuad();
        np.Unbind();
        return PixelAt(ctx, 8, 8);
    };

    const std::array<int, 4> right = lit(0.8f, 0.6f), left = lit(-0.8f, 0.6f), away = lit(0.0f, -1.0f);
    EXPECT_GT(right[0], right[2] + 20) << "facing the right-hand light: warm";
    EXPECT_GT(left[2], left[0] + 20) << "facing the left-hand light: cool";
    EXPECT_EQ(away[0], away[1]);
    EXPECT_EQ(away[1], away[2]);
    EXPECT_GT(away[0], 10) << "the ambient keeps the unlit side visible";
    for (int c = 0; c < 3; ++c) {
        EXPECT_GT(right[c], away[c]) << "channel " << c;
        EXPECT_GT(left[c], away[c]) << "channel " << c;
        EXPECT_LT(right[c], 250) << "channel " << c << " saturates";
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Values set on the program reach the GPU at the next Bind, with the camera's eye.
TEST(LitShaders, BindPushesTheStoredValues) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cNPMultiLight np;
    BuildCaptured(np);
    ASSERT_TRUE(np.IsLinked());
    const GLhandleARB p = np.Program();

    np.LightPosition = cVector3f(1000.0f, 500.0f, 5.0f);
    np.LightColor = cVector3f(1.0f, 1.0f, 1.0f);
    np.SetSpecOverdrive(10.0f);
    np.SetAmbient(0.3f);
    np.SetFogDensity(0.0005f);
    np.SetFogColor(cVector3f(0.2f, 0.2f, 0.5f));
    np.SetR(0.9f);  // the two-light programs ignore it
    np.Bind(EyeAt(1.0, 2.0, 3.0));
    EXPECT_EQ(UniformFloats(p, "vEye", 3), (std::vector<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(UniformFloats(p, "LightPosition", 3), (std::vector<float>{1000.0f, 500.0f, 5.0f}));
    EXPECT_EQ(UniformFloats(p, "LightColor", 3), (std::vector<float>{1.0f, 1.0f, 1.0f}));
    EXPECT_FLOAT_EQ(UniformFloats(p, "SpecOverdrive", 1)[0], 10.0f);
    EXPECT_FLOAT_EQ(UniformFloats(p, "Ai", 1)[0], 0.3f);
    EXPECT_FLOAT_EQ(UniformFloats(p, "FogDensity", 1)[0], 0.0005f);
    EXPECT_EQ(UniformFloats(p, "FogColor", 3), (std::vector<float>{0.2f, 0.2f, 0.5f}));
    np.Unbind();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(LitShaders, ExtraUniformsOfTheMembers) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cTavikIsleObjectShader tavik;
    BuildCaptured(tavik);
    ASSERT_TRUE(tavik.IsLinked());
    tavik.SetColor(cVector3f(0.1f, 0.2f, 0.3f));
    tavik.Bind(EyeAt(0.0, 0.0, 5.0));
    EXPECT_EQ(UniformFloats(tavik.Program(), "Color", 3), (std::vector<float>{0.1f, 0.2f, 0.3f}));
    tavik.Unbind();

    cMVLogoShader logo;
    BuildCaptured(logo);
    ASSERT_TRUE(logo.IsLinked());
    logo.SetAlpha(-0.5f);
    EXPECT_EQ(logo.Alpha(), 0.0f);
    logo.SetAlpha(1.7f);
    EXPECT_EQ(logo.Alpha(), 1.0f);
    logo.SetAlpha(0.25f);
    logo.Bind(EyeAt(0.0, 0.0, 5.0));
    EXPECT_FLOAT_EQ(UniformFloats(logo.Program(), "alpha", 1)[0], 0.25f);
    logo.Unbind();

    cCrystalRingShader ring;
    ring.SetAlpha(1.7f);  // no clamp
    EXPECT_EQ(ring.Alpha(), 1.7f);
}

TEST(LitShaders, BindFillsUnitsZeroToFourAndUnbindClearsThem) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cNPMultiLight np;
    BuildCaptured(np);
    ASSERT_TRUE(np.IsLinked());
    GLuint maps[4];
    for (int i = 0; i < 4; ++i) maps[i] = MakeSolidTexture(2, 2, {std::uint8_t(i * 60), 0, 0, 255});
    GLuint cube = MakeSolidCubeMap({0, 0, 255, 255});
    np.SetColorMap(maps[0]);
    np.SetNormalMap(maps[1]);
    np.SetHeightMap(maps[2]);
    np.SetSpecularMap(maps[3]);
    np.SetCubeMap(cube);

    np.Bind(EyeAt(0.0, 0.0, 5.0));
    EXPECT_EQ(ActiveUnit(), int(kLitCubeMapUnit));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(BoundTexture(4, GL_TEXTURE_BINDING_CUBE_MAP), GLint(cube));
    for (int unit = 0; unit < 4; ++unit) {
        EXPECT_EQ(BoundTexture(unit), GLint(maps[unit])) << "unit " << unit;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE4);

    np.Unbind();
    EXPECT_EQ(ActiveUnit(), 0);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_EQ(BoundTexture(4, GL_TEXTURE_BINDING_CUBE_MAP), 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    for (int unit = 0; unit < 4; ++unit) {
        EXPECT_EQ(BoundTexture(unit), 0) << "unit " << unit;
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)) << "unit " << unit;  // stays on
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// With a flat normal map the lighting depends only on the surface normal, so a missing (zero)
// tangent, one parallel to the normal and a proper one must all light the quad alike; a NaN
// basis would show as black or garbage. Heavy fog replaces the colour by the fog colour, and the
// logo's output alpha is its stored alpha.
TEST(LitShaders, TangentBasisSurvivesMissingOrDegenerateTangents) {
    GlTestContext ctx(16, 16);
    REQUIRE_GL(ctx);
    cNPMultiLight np;
    ASSERT_TRUE(BuildWhiteFlatMatte(np));
    const cCamera camera = EyeAt(0.0, 0.0, 5.0);

    // A proper tangent first: the others must light the quad as it does. Facing the viewer
    // between the warm and the cool light, the surface takes both alike: red equals blue.
    const float tangents[][3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 1.0f},
                                 {0.0f, 3.0f, 0.5f}};
    std::array<int, 4> reference{};
    for (const auto& t : tangents) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glVertexAttrib3fARB(kTangentAttribute, t[0], t[1], t[2]);
        glNormal3f(0.0f, 0.0f, 1.0f);
        np.Bind(camera);
        DrawViewportQuad();
        np.Unbind();
        if (&t == &tangents[0]) {
            reference = PixelAt(ctx, 8, 8);
            EXPECT_NEAR(reference[0], reference[2], 2);
            EXPECT_LT(reference[1], reference[0]);
            EXPECT_GT(reference[1], 20) << "lit, not black";
        }
        for (auto [x, y] : {std::pair{2, 2}, {8, 8}, {13, 11}}) {
            std::array<int, 4> p = PixelAt(ctx, x, y);
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(p[c], reference[c], 2) << t[0] << " " << t[1] << " " << t[2] << " channel " << c;
            EXPECT_EQ(p[3], 255);
        }
    }

    np.SetFogDensity(10.0f);
    np.SetFogColor(cVector3f(0.2f, 0.4f, 0.6f));
    np.Bind(camera);
    DrawViewportQuad();
    np.Unbind();
    std::array<int, 4> fogged = PixelAt(ctx, 8, 8);
    EXPECT_NEAR(fogged[0], 51, 1);
    EXPECT_NEAR(fogged[1], 102, 1);
    EXPECT_NEAR(fogged[2], 153, 1);

    cMVLogoShader logo;
    BuildCaptured(logo);
    ASSERT_TRUE(logo.IsLinked());
    logo.SetColorMap(MakeSolidTexture(2, 2, {255, 255, 255, 255}));
    logo.SetNormalMap(MakeSolidTexture(2, 2, {128, 128, 255, 255}));
    logo.SetAlpha(0.5f);
    glVertexAttrib3fARB(kTangentAttribute, 0.0f, 0.0f, 0.0f);
    logo.Bind(camera);
    DrawViewportQuad();
    logo.Unbind();
    EXPECT_NEAR(PixelAt(ctx, 8, 8)[3], 128, 1);
}
