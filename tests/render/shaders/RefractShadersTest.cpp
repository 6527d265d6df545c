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

// In a cube map of one colour every ray sees that colour, so however the light bends (straight
// on at index 1, or grazing at index 0.5 where every channel is past the critical angle and the
// glass holds the ray) each program must give one steady colour: the surroundings' hue plus the
// tint, never NaN, the cave brighter than the glass.
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
    // One program's colour over the quad, checked to be one steady, finite colour.
    auto draw = [&](bool isCave, const Case& c) {
        const char* name = isCave ? "cave" : "glass";
        if (isCave) {
            cave.Bind(camera);
            DrawFarQuad(c.nx, 0.0f, c.nz);
            cave.Unbind();
        } else {
            glass.Bind(camera);
            DrawFarQuad(c.nx, 0.0f, c.nz);
            glass.Unbind();
        }
        const std::array<int, 4> centre = PixelAt(ctx, 8, 8);
        for (auto [x, y] : {std::pair{0, 0}, {15, 15}}) {
            const std::array<int, 4> px = PixelAt(ctx, x, y);
            for (int ch = 0; ch < 4; ++ch) EXPECT_NEAR(px[ch], centre[ch], 1) << name << ", " << c.what << " at " << x << "," << y;
        }
        EXPECT_EQ(centre[3], 255) << name << ", " << c.what;
        EXPECT_GT(centre[0], 0) << name << ", " << c.what << ": black";
        EXPECT_NEAR(centre[0], 2 * centre[1], 2) << name << ", " << c.what << ": the surroundings' hue is lost";
        EXPECT_NEAR(centre[2], 26, 2) << name << ", " << c.what << ": the tint is lost or blue comes from nowhere";
        return centre;
    };
    const Case straight{1.0f, 0.0f, 1.0f, "straight on, index 1"}, grazing{0.5f, 1.0f, 0.0f, "grazing, index 0.5"};
    std::array<int, 4> seen[2][2];
    for (int i = 0; i < 2; ++i) {
        const Case& c = i == 0 ? straight : grazing;
        glass.SetRefractionIndex(c.index);
        cave.SetRefractionIndex(c.index);
        seen[i][0] = draw(false, c);
        seen[i][1] = draw(true, c);
        EXPECT_GT(seen[i][1][0], seen[i][0][0]) << c.what << ": the cave is not brighter than the glass";
    }
    for (int k = 0; k < 2; ++k)
        for (int ch = 0; ch < 3; ++ch)
            EXPECT_NEAR(seen[1][k][ch], seen[0][k][ch], 1) << (k ? "cave" : "glass") << ": grazing differs from straight on";
}
