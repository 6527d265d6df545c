// Crystal glass programs: both link, Bind puts the normal map on unit 0 and the cube map on
// unit 1, Unbind clears them, and the colours stay finite past the critical angle.
#include "render/shaders/RefractShaders.h"

#include "render/shaders/ShaderTestSupport.h"

using namespace VantorGL;
using namespace VantorGLTest;

TEST(RefractShaders, BothProgramsCompileAndLink) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cCrystalRefractShader glass;
    std::string log = BuildCaptured(glass);
    EXPECT_TRUE(glass.IsLinked()) << glass.ClassName() << "\n" << log;
    cCrystalCaveRefractShader cave;
    log = BuildCaptured(cave);
    EXPECT_TRUE(cave.IsLinked()) << cave.ClassName() << "\n" << log;
}

TEST(RefractShaders, BindPushesValuesOnUnitsZeroAndOneAndUnbindClearsThem) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cCrystalRefractShader glass;
    BuildCaptured(glass);
    ASSERT_TRUE(glass.IsLinked());
    const GLhandleARB p = glass.Program();
    cCamera camera;

    GLuint normals = MakeSolidTexture(2, 2, {128, 128, 255, 255});
    GLuint cube = MakeSolidCubeMap({0, 0, 0, 255});
    glass.SetColorMap(normals);
    glass.SetCubeMap(cube);
    glass.SetRefractionIndex(1.2f);
    glass.SetCrystalColor(cVector3f(0.2f, 0.2f, 0.3f));
    glass.Bind(camera);
    EXPECT_EQ(ActiveUnit(), 1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    EXPECT_EQ(UniformInt(p, "CubeMap"), 1);
    EXPECT_EQ(UniformInt(p, "ColorMap"), 0);
    EXPECT_FLOAT_EQ(UniformFloats(p, "refraction_index", 1)[0], 1.2f);
    EXPECT_EQ(UniformFloats(p, "CrystalColor", 3), (std::vector<float>{0.2f, 0.2f, 0.3f}));
    EXPECT_EQ(BoundTexture(1, GL_TEXTURE_BINDING_CUBE_MAP), GLint(cube));
    EXPECT_EQ(BoundTexture(0), GLint(normals));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glActiveTexture(GL_TEXTURE1);

    glass.Unbind();
    EXPECT_EQ(ActiveUnit(), 0);
    EXPECT_EQ(BoundTexture(0), 0);
    EXPECT_EQ(BoundTexture(1, GL_TEXTURE_BINDING_CUBE_MAP), 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_CUBE_MAP));
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

namespace {

// A quad filling the viewport far down the view axis (orthographic, eye-space z = -50), so the
// view ray is (0, 0, 1) everywhere to within 0.03 percent, with one normal for all vertices.
void DrawFarQuad(float nx, float ny, float nz) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.0, 1.0, -1.0, 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glNormal3f(nx, ny, nz);
    glBegin(GL_QUADS);
    glVertex3f(-1.0f, -1.0f, -50.0f);
    glVertex3f(1.0f, -1.0f, -50.0f);
    glVertex3f(1.0f, 1.0f, -50.0f);
    glVertex3f(-1.0f, 1.0f, -50.0f);
    glEnd();
}

}  // namespace

// In a cube map of one colour c every ray sees c, so the cave program gives 2c + tint and the
// glass program c x (R + T) / 2 + tint. Seen straight on at index 1, R + T = 1.005; with the
// normal at right angles to the view and index 0.5 every channel is past the critical angle,
// where the glass holds the grazing ray (R = 1, T = 0): both c / 2 + tint, and never NaN.
TEST(RefractShaders, ColoursStayFiniteIncludingTotalInternalReflection) {
    GlTestContext ctx(16, 16);
    REQUIRE_GL(ctx);
    cCrystalRefractShader glass;
    cCrystalCaveRefractShader cave;
    BuildCaptured(glass);
    BuildCaptured(cave);
    ASSERT_TRUE(glass.IsLinked());
    ASSERT_TRUE(cave.IsLinked());
    GLuint normals = MakeSolidTexture(2, 2, {128, 128, 255, 255});
    GLuint cube = MakeSolidCubeMap({50, 25, 0, 255});
    cCamera camera;

    // Left at its defaults the glass shows its surroundings untinted: their hue, dimmed, no blue.
    glass.SetColorMap(normals);
    glass.SetCubeMap(cube);
    glass.Bind(camera);
    DrawFarQuad(0.0f, 0.0f, 1.0f);
    glass.Unbind();
    const std::array<int, 4> plain = PixelAt(ctx, 8, 8);
    EXPECT_GT(plain[0], 10) << "default glass";
    EXPECT_LE(plain[0], 50) << "default glass";
    EXPECT_NEAR(plain[0], 2 * plain[1], 2) << "default glass";
    EXPECT_EQ(plain[2], 0) << "default glass";

    for (cRefractSurfaceShader* shader : {static_cast<cRefractSurfaceShader*>(&glass),
                                          static_cast<cRefractSurfaceShader*>(&cave)}) {
        shader->SetColorMap(normals);
        shader->SetCubeMap(cube);
        shader->SetCrystalColor(cVector3f(0.0f, 0.0f, 0.1f));
    }

    struct Case {
        float index, nx, nz;
        const char* what;
    };
    for (const Case& c : {Case{1.0f, 0.0f, 1.0f, "straight on, index 1"},
                          Case{0.5f, 1.0f, 0.0f, "grazing, index 0.5"}}) {
        glass.SetRefractionIndex(c.index);
        cave.SetRefractionIndex(c.index);
        glass.Bind(camera);
        DrawFarQuad(c.nx, 0.0f, c.nz);
        glass.Unbind();
        for (auto [x, y] : {std::pair{8, 8}, {0, 0}, {15, 15}}) {
            std::array<int, 4> px = PixelAt(ctx, x, y);
            EXPECT_NEAR(px[0], 25, 1) << "glass, " << c.what << " at " << x << "," << y;
            EXPECT_NEAR(px[1], 13, 1) << "glass, " << c.what << " at " << x << "," << y;
            EXPECT_NEAR(px[2], 26, 1) << "glass, " << c.what << " at " << x << "," << y;
            EXPECT_EQ(px[3], 255);
        }
        cave.Bind(camera);
        DrawFarQuad(c.nx, 0.0f, c.nz);
        cave.Unbind();
        for (auto [x, y] : {std::pair{8, 8}, {0, 0}, {15, 15}}) {
            std::array<int, 4> px = PixelAt(ctx, x, y);
            EXPECT_NEAR(px[0], 100, 1) << "cave, " << c.what << " at " << x << "," << y;
            EXPECT_NEAR(px[1], 50, 1) << "cave, " << c.what << " at " << x << "," << y;
            EXPECT_NEAR(px[2], 26, 1) << "cave, " << c.what << " at " << x << "," << y;
        }
    }
}
