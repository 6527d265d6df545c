// Post-processing programs: every one links on llvmpipe, Bind pushes the stored values onto the
// right units, Unbind leaves the units as promised, and the filters (with their defaults and with
// values set) do what they say on pixels.
#include "render/shaders/PostShaders.h"

#include "render/shaders/ShaderTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace VantorGL;
using namespace VantorGLTest;

namespace {

constexpr int kSide = 16;  // viewport and test textures: one texel per pixel

GLint CurrentProgram() {
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

// A black kSide x kSide picture with one white texel at (x, y).
GLuint DotTexture(int x, int y) {
    std::vector<std::uint8_t> pixels(kSide * kSide * 4, 0);
    for (int i = 0; i < kSide * kSide; ++i) pixels[i * 4 + 3] = 255;
    std::uint8_t* dot = &pixels[(y * kSide + x) * 4];
    dot[0] = dot[1] = dot[2] = 255;
    return MakeTexture(kSide, kSide, pixels);
}

// A picture where every texel differs from its neighbours.
std::vector<std::uint8_t> PatternPixels() {
    std::vector<std::uint8_t> pixels(kSide * kSide * 4);
    for (int i = 0; i < kSide * kSide; ++i) {
        pixels[i * 4 + 0] = std::uint8_t((i * 37) & 255);
        pixels[i * 4 + 1] = std::uint8_t((i * 91 + 11) & 255);
        pixels[i * 4 + 2] = std::uint8_t((i * 13 + 200) & 255);
        pixels[i * 4 + 3] = 255;
    }
    return pixels;
}

}  // namespace

TEST(PostShaders, EveryProgramCompilesAndLinks) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cGaussianMapShader map;
    std::string log = BuildCaptured(map, [](cGaussianMapShader& s) { s.InitMap(1024, 768); });
    EXPECT_TRUE(map.IsLinked()) << map.ClassName() << "\n" << log;
    cGaussianBlurShader blur;
    log = BuildCaptured(blur);
    EXPECT_TRUE(blur.IsLinked()) << blur.ClassName() << "\n" << log;
    cRadialBlurShader radial;
    log = BuildCaptured(radial);
    EXPECT_TRUE(radial.IsLinked()) << radial.ClassName() << "\n" << log;
    cShadowCageShader cage;
    log = BuildCaptured(cage);
    EXPECT_TRUE(cage.IsLinked()) << cage.ClassName() << "\n" << log;
    cDistortShader distort;
    log = BuildCaptured(distort);
    EXPECT_TRUE(distort.IsLinked()) << distort.ClassName() << "\n" << log;
}

// The blur that only has a vertex stage of its own draws with the base's fallback fragment
// stage: vertex colour, red removed.
TEST(PostShaders, GaussianBlurDrawsVertexColourWithoutRed) {
    GlTestContext ctx(kSide, kSide);
    REQUIRE_GL(ctx);
    cGaussianBlurShader blur;
    std::string log = BuildCaptured(blur);
    ASSERT_TRUE(blur.IsLinked()) << log;
    glUseProgramObjectARB(blur.Program());
    glColor4f(1.0f, 0.5f, 0.25f, 1.0f);
    DrawViewportQuad();
    blur.DisableProgram();
    std::array<int, 4> p = PixelAt(ctx, 8, 8);
    EXPECT_EQ(p[0], 0);
    EXPECT_NEAR(p[1], 128, 1);
    EXPECT_NEAR(p[2], 64, 1);
}

TEST(PostShaders, GaussianMapBindPushesValuesAndUnbindClearsUnits) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cGaussianMapShader map;
    BuildCaptured(map, [](cGaussianMapShader& s) { s.InitMap(1024, 768); });
    ASSERT_TRUE(map.IsLinked());
    GLuint source = MakeSolidTexture(4, 4, {10, 20, 30, 255});
    GLuint mask = MakeSolidTexture(4, 4, {255, 255, 255, 255});

    map.SetSourceTexture(source);
    map.SetBlurMapTexture(mask);
    map.SetBlurFactor(2.5f);
    map.Bind();
    EXPECT_EQ(CurrentProgram(), GLint(map.Program()));
    EXPECT_EQ(ActiveUnit(), 1);
    EXPECT_EQ(UniformInt(map.Program(), "sampler0"), 0);
    EXPECT_EQ(UniformInt(map.Program(), "sampler1"), 1);
    EXPECT_FLOAT_EQ(UniformFloats(map.Program(), "BlurFactor", 1)[0], 2.5f);
    EXPECT_FLOAT_EQ(UniformFloats(map.Program(), "width", 1)[0], 1024.0f);  // the size InitMap was given
    EXPECT_FLOAT_EQ(UniformFloats(map.Program(), "height", 1)[0], 768.0f);
    EXPECT_EQ(BoundTexture(0), GLint(source));
    EXPECT_EQ(BoundTexture(1), GLint(mask));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glActiveTexture(GL_TEXTURE1);

    map.Unbind();
    EXPECT_EQ(CurrentProgram(), 0);
    EXPECT_EQ(ActiveUnit(), 0);
    EXPECT_EQ(BoundTexture(1), 0);
    EXPECT_EQ(BoundTexture(0), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// What each post program does when its owner sets nothing but the picture: the masked blur and
// the disc blur keep a dot where it is (their default reach is a fraction of a pixel) and the
// picture opaque, the zoom blur streaks a dot outwards from the middle of the view, the cage
// cuts away all but the picture's bottom edge.
TEST(PostShaders, DefaultsGiveEachProgramItsPlainLook) {
    GlTestContext ctx(kSide, kSide);
    REQUIRE_GL(ctx);
    GLuint dot = DotTexture(12, 8);
    GLuint white = MakeSolidTexture(kSide, kSide, {255, 255, 255, 255});
    auto clear = [] {
        glDisable(GL_BLEND);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    };
    auto litPixels = [&] {
        int lit = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) lit += PixelAt(ctx, x, y)[0] > 8;
        return lit;
    };

    cGaussianMapShader map;
    BuildCaptured(map, [](cGaussianMapShader& s) { s.InitMap(kSide, kSide); });
    ASSERT_TRUE(map.IsLinked());
    map.SetSourceTexture(dot);
    map.SetBlurMapTexture(white);
    clear();
    map.Bind();
    DrawViewportQuad();
    map.Unbind();
    EXPECT_EQ(PixelAt(ctx, 12, 8), (std::array<int, 4>{255, 255, 255, 255})) << "masked blur";
    EXPECT_EQ(litPixels(), 1) << "masked blur";
    EXPECT_EQ(PixelAt(ctx, 3, 3)[3], 255) << "masked blur keeps the picture opaque";

    cPoissonBlurShader poisson;
    BuildCaptured(poisson);
    ASSERT_TRUE(poisson.IsLinked());
    poisson.SetSourceTexture(dot);
    clear();
    poisson.Bind();
    DrawViewportQuad();
    poisson.Unbind();
    EXPECT_EQ(PixelAt(ctx, 12, 8)[0], 255) << "disc blur";
    EXPECT_EQ(litPixels(), 1) << "disc blur";

    // The zoom samples each pixel from itself towards the middle, so the dot is seen by the
    // pixels just beyond it, never by those between it and the middle.
    cRadialBlurShader radial;
    BuildCaptured(radial);
    ASSERT_TRUE(radial.IsLinked());
    radial.SetSourceTexture(dot);
    clear();
    radial.Bind();
    DrawViewportQuad();
    radial.Unbind();
    const int atDot = PixelAt(ctx, 12, 8)[0], beyond = PixelAt(ctx, 13, 8)[0];
    EXPECT_GT(atDot, 0);
    EXPECT_LT(atDot, 255) << "the dot is spread, not copied";
    EXPECT_GT(beyond, 0) << "the streak runs outwards";
    EXPECT_EQ(PixelAt(ctx, 11, 8)[0], 0) << "nothing streaks inwards";
    EXPECT_EQ(PixelAt(ctx, 12, 11)[0], 0) << "nothing streaks sideways";
    EXPECT_EQ(PixelAt(ctx, 12, 8)[3], 255);

    cShadowCageShader cage;
    BuildCaptured(cage);
    ASSERT_TRUE(cage.IsLinked());
    cage.SetSourceTexture(white);
    clear();
    cage.Bind();
    DrawViewportQuad();
    cage.Unbind();
    // The default cut lies within the bottom fiftieth, below the centre of the first row here.
    for (int y = 0; y < kSide; ++y) EXPECT_EQ(PixelAt(ctx, 4, y)[3], 0) << "row " << y;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Where the mask is white, one white texel spreads over its eight neighbours symmetrically, the
// nearer ones brighter, keeping its light; where it is black the source comes through untouched.
TEST(PostShaders, GaussianMapBlursUnderWhiteMaskOnlyAndSymmetrically) {
    GlTestContext ctx(kSide, kSide);
    REQUIRE_GL(ctx);
    cGaussianMapShader map;
    BuildCaptured(map, [](cGaussianMapShader& s) { s.InitMap(kSide, kSide); });
    ASSERT_TRUE(map.IsLinked());
    GLuint dot = DotTexture(8, 8);
    GLuint white = MakeSolidTexture(kSide, kSide, {255, 255, 255, 255});
    GLuint black = MakeSolidTexture(kSide, kSide, {0, 0, 0, 255});
    map.SetSourceTexture(dot);
    map.SetBlurFactor(1.0f);  // one pixel between taps

    map.SetBlurMapTexture(white);
    map.Bind();
    DrawViewportQuad();
    map.Unbind();
    const int centre = PixelAt(ctx, 8, 8)[0], side = PixelAt(ctx, 9, 8)[0], corner = PixelAt(ctx, 9, 9)[0];
    EXPECT_LT(centre, 255) << "the dot is not spread";
    EXPECT_GT(centre, side);
    EXPECT_GT(side, corner);
    EXPECT_GT(corner, 0);
    int light = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int v = PixelAt(ctx, 8 + dx, 8 + dy)[0];
            light += v;
            const bool isCorner = dx != 0 && dy != 0, isCentre = dx == 0 && dy == 0;
            EXPECT_NEAR(v, isCentre ? centre : isCorner ? corner : side, 1) << dx << "," << dy;
        }
    EXPECT_NEAR(light, 255, 6) << "the blur loses or adds light";
    EXPECT_EQ(PixelAt(ctx, 10, 8)[0], 0);
    EXPECT_EQ(PixelAt(ctx, 8, 6)[0], 0);

    map.SetBlurMapTexture(black);
    map.Bind();
    DrawViewportQuad();
    map.Unbind();
    EXPECT_EQ(PixelAt(ctx, 8, 8)[0], 255);
    EXPECT_EQ(PixelAt(ctx, 9, 8)[0], 0);
    EXPECT_EQ(PixelAt(ctx, 7, 7)[0], 0);
}

TEST(PostShaders, RadialBlurBindPushesValuesAndUnbindKeepsSource) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cRadialBlurShader radial;
    BuildCaptured(radial);
    ASSERT_TRUE(radial.IsLinked());
    GLuint source = MakeSolidTexture(4, 4, {1, 2, 3, 255});

    radial.SetSourceTexture(source);
    radial.SetScale(-0.1f);
    radial.SetStart(0.75f);
    radial.SetIterations(100);
    radial.SetCenter(0.1f, 1.0f);
    radial.Bind();
    EXPECT_EQ(UniformInt(radial.Program(), "sampler0"), 0);
    EXPECT_FLOAT_EQ(UniformFloats(radial.Program(), "scale", 1)[0], -0.1f);
    EXPECT_FLOAT_EQ(UniformFloats(radial.Program(), "start", 1)[0], 0.75f);
    EXPECT_EQ(UniformInt(radial.Program(), "iterations"), 100);
    EXPECT_EQ(UniformFloats(radial.Program(), "center", 2), (std::vector<float>{0.1f, 1.0f}));
    EXPECT_EQ(ActiveUnit(), 0);
    EXPECT_EQ(BoundTexture(0), GLint(source));

    glActiveTexture(GL_TEXTURE2);
    radial.Unbind();
    EXPECT_EQ(CurrentProgram(), 0);
    EXPECT_EQ(ActiveUnit(), 0);
    EXPECT_EQ(BoundTexture(0), GLint(source));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Scale 0 samples every tap at the pixel itself; a single tap samples at `start` (no division
// by zero); a zoom blur leaves its centre pixel alone and smears the rest.
TEST(PostShaders, RadialBlurIdentityCasesAndFixedCentre) {
    GlTestContext ctx(kSide, kSide);
    REQUIRE_GL(ctx);
    cRadialBlurShader radial;
    BuildCaptured(radial);
    ASSERT_TRUE(radial.IsLinked());
    std::vector<std::uint8_t> pattern = PatternPixels();
    GLuint source = MakeTexture(kSide, kSide, pattern);
    radial.SetSourceTexture(source);

    auto expectIdentity = [&](const char* what) {
        std::vector<std::uint8_t> out = ctx.ReadPixels();
        int differing = 0;
        for (std::size_t i = 0; i < out.size(); ++i) differing += std::abs(out[i] - pattern[i]) > 1;
        EXPECT_EQ(differing, 0) << what;
    };

    radial.SetScale(0.0f);
    radial.SetStart(1.0f);
    radial.SetIterations(8);
    radial.Bind();
    DrawViewportQuad();
    radial.Unbind();
    expectIdentity("scale 0");

    radial.SetScale(-0.5f);
    radial.SetIterations(1);
    radial.Bind();
    DrawViewportQuad();
    radial.Unbind();
    expectIdentity("one tap");

    const float centre = 8.5f / kSide;  // the middle of texel (8, 8)
    radial.SetCenter(centre, centre);
    radial.SetIterations(100);
    radial.Bind();
    DrawViewportQuad();
    radial.Unbind();
    std::vector<std::uint8_t> out = ctx.ReadPixels();
    const std::size_t mid = (8 * kSide + 8) * 4;
    EXPECT_NEAR(out[mid], pattern[mid], 1);
    EXPECT_NEAR(out[mid + 1], pattern[mid + 1], 1);
    const std::size_t corner = (1 * kSide + 1) * 4;
    EXPECT_GT(std::abs(out[corner] - pattern[corner]) + std::abs(out[corner + 1] - pattern[corner + 1]), 4);
}

TEST(PostShaders, ShadowCageCutsAlphaAtBlurFactor) {
    GlTestContext ctx(kSide, 64);
    REQUIRE_GL(ctx);
    cShadowCageShader cage;
    BuildCaptured(cage);
    ASSERT_TRUE(cage.IsLinked());
    GLuint source = MakeSolidTexture(4, 4, {255, 255, 255, 255});

    cage.SetSourceTexture(source);
    cage.SetBlurFactor(0.5f);
    // The stored cut reaches the GPU at the next Bind.
    cage.Bind();
    EXPECT_FLOAT_EQ(UniformFloats(cage.Program(), "BlurFactor", 1)[0], 0.5f);
    EXPECT_EQ(BoundTexture(0), GLint(source));
    glDisable(GL_BLEND);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawViewportQuad();
    cage.Unbind();
    EXPECT_EQ(ActiveUnit(), 0);
    // Row y covers v = (y + 0.5) / 64: rows up to 30 lie below 0.49, rows from 33 above 0.51.
    EXPECT_EQ(PixelAt(ctx, 4, 0), (std::array<int, 4>{0, 0, 0, 255}));
    EXPECT_EQ(PixelAt(ctx, 4, 30)[3], 255);
    EXPECT_EQ(PixelAt(ctx, 4, 33)[3], 0);
    EXPECT_EQ(PixelAt(ctx, 4, 63)[3], 0);
    const int band = PixelAt(ctx, 4, 31)[3];  // v = 0.4922: inside the band, near its top
    EXPECT_GT(band, 200);
    EXPECT_LT(band, 255);
    EXPECT_GT(PixelAt(ctx, 4, 31)[3], PixelAt(ctx, 4, 32)[3]);
}

// --- The library's spare programs: depth of field, Poisson-disc blur, normal wobble ---

TEST(PostShaders, SpareProgramsCompileLinkAndBindTheirUnits) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cDepthOfFieldShader dof;
    std::string log = BuildCaptured(dof);
    ASSERT_TRUE(dof.IsLinked()) << log;
    cPoissonBlurShader poisson;
    log = BuildCaptured(poisson);
    ASSERT_TRUE(poisson.IsLinked()) << log;
    cNormalWobbleShader wobble;
    log = BuildCaptured(wobble);
    ASSERT_TRUE(wobble.IsLinked()) << log;

    GLuint a = MakeSolidTexture(4, 4, {1, 1, 1, 255});
    GLuint b = MakeSolidTexture(4, 4, {2, 2, 2, 255});
    GLuint c = MakeSolidTexture(4, 4, {3, 3, 3, 255});
    dof.SetSourceTexture(a);
    dof.SetBlurTexture(b);
    dof.SetDepthTexture(c);
    dof.Bind();
    EXPECT_EQ(UniformInt(dof.Program(), "sampler0"), 0);
    EXPECT_EQ(UniformInt(dof.Program(), "blur"), 1);
    EXPECT_EQ(UniformInt(dof.Program(), "depth"), 2);
    EXPECT_EQ(ActiveUnit(), 0);
    EXPECT_EQ(BoundTexture(2), GLint(c));
    EXPECT_EQ(BoundTexture(1), GLint(b));
    EXPECT_EQ(BoundTexture(0), GLint(a));
    dof.Unbind();
    EXPECT_EQ(CurrentProgram(), 0);
    EXPECT_EQ(BoundTexture(2), 0);
    EXPECT_EQ(BoundTexture(1), 0);
    EXPECT_EQ(BoundTexture(0), 0);
    EXPECT_EQ(ActiveUnit(), 0);

    poisson.SetSourceTexture(a);
    poisson.Bind();
    EXPECT_EQ(UniformInt(poisson.Program(), "sampler0"), 0);
    EXPECT_EQ(BoundTexture(0), GLint(a));
    poisson.Unbind();
    EXPECT_EQ(CurrentProgram(), 0);

    wobble.SetTime(2.5f);
    wobble.Bind();
    EXPECT_EQ(CurrentProgram(), GLint(wobble.Program()));
    EXPECT_FLOAT_EQ(UniformFloats(wobble.Program(), "time", 1)[0], 2.5f);
    wobble.Unbind();
    EXPECT_EQ(CurrentProgram(), 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Thirteen taps over ten: a flat picture comes out 13/10 as bright, wherever the disc reaches
// (the edges clamp), and a dot scatters over the disc.
TEST(PostShaders, PoissonBlurOfFlatPictureIsThirteenTenths) {
    GlTestContext ctx(kSide, kSide);
    REQUIRE_GL(ctx);
    cPoissonBlurShader poisson;
    BuildCaptured(poisson);
    ASSERT_TRUE(poisson.IsLinked());
    GLuint flat = MakeSolidTexture(kSide, kSide, {60, 100, 150, 100});
    poisson.SetSourceTexture(flat);
    poisson.SetBlurFactor(3.0f / kSide);
    poisson.Bind();
    DrawViewportQuad();
    poisson.Unbind();
    for (auto [x, y] : {std::pair{8, 8}, {0, 0}, {15, 15}, {3, 12}}) {
        std::array<int, 4> p = PixelAt(ctx, x, y);
        EXPECT_NEAR(p[0], 78, 1) << x << "," << y;
        EXPECT_NEAR(p[1], 130, 1) << x << "," << y;
        EXPECT_NEAR(p[2], 195, 1) << x << "," << y;
        EXPECT_NEAR(p[3], 130, 1) << x << "," << y;
    }

    // A white dot spreads into scattered taps' worth of light, all within the disc's reach of
    // three pixels, and nowhere as bright as the dot.
    poisson.SetSourceTexture(DotTexture(8, 8));
    poisson.Bind();
    DrawViewportQuad();
    poisson.Unbind();
    int lit = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int v = PixelAt(ctx, x, y)[0];
            if (v == 0) continue;
            ++lit;
            EXPECT_LE(std::hypot(x - 8, y - 8), 3.6) << x << "," << y << " beyond the disc";
            EXPECT_LT(v, 128) << x << "," << y;
        }
    EXPECT_GE(lit, 5) << "the dot is not scattered";
}

// vSParams = (focus 1, range 1, near 1, far 2): depth 0 lies at distance 1, on the focus, and
// depth 1 at distance 2, a whole range off; depths between blur part of the way. The amount
// takes blur away.
TEST(PostShaders, DepthOfFieldIsSharpAtFocusAndBlurredARangeAway) {
    GlTestContext ctx(kSide, kSide);
    REQUIRE_GL(ctx);
    cDepthOfFieldShader dof;
    BuildCaptured(dof);
    ASSERT_TRUE(dof.IsLinked());
    std::vector<std::uint8_t> pattern = PatternPixels();
    GLuint sharp = MakeTexture(kSide, kSide, pattern);
    GLuint blurred = MakeSolidTexture(kSide, kSide, {200, 40, 120, 0});
    GLuint atFocus = MakeSolidTexture(kSide, kSide, {0, 0, 0, 255});
    GLuint far = MakeSolidTexture(kSide, kSide, {255, 0, 0, 255});
    GLuint between = MakeSolidTexture(kSide, kSide, {128, 0, 0, 255});
    dof.SetSourceTexture(sharp);
    dof.SetBlurTexture(blurred);

    auto draw = [&](GLuint depth, float amount) {
        dof.SetDepthTexture(depth);
        dof.SetAmount(amount);
        dof.Bind();
        DrawViewportQuad();
        dof.Unbind();
        return ctx.ReadPixels();
    };
    auto differingFromSource = [&](const std::vector<std::uint8_t>& out) {
        int differing = 0;
        for (std::size_t i = 0; i < out.size(); i += 4)
            for (int k = 0; k < 3; ++k) differing += std::abs(out[i + k] - pattern[i + k]) > 1;
        return differing;
    };

    // Without parameters the nearest depth is in focus.
    EXPECT_EQ(differingFromSource(draw(atFocus, 0.0f)), 0) << "default parameters";

    dof.SetParameters(1.0f, 1.0f, 1.0f, 2.0f);
    std::vector<std::uint8_t> out = draw(atFocus, 0.0f);
    EXPECT_EQ(differingFromSource(out), 0) << "at the focus";
    EXPECT_EQ(out[3], 255);  // alpha is always 1

    out = draw(far, 0.0f);
    EXPECT_EQ(PixelAt(ctx, 5, 5), (std::array<int, 4>{200, 40, 120, 255})) << "a range away";

    out = draw(far, 1.0f);
    EXPECT_EQ(differingFromSource(out), 0) << "amount 1 keeps everything sharp";

    // A depth between the focus and a range away: part of the way to the blurred copy, in every
    // channel, and no further than the far depth goes.
    out = draw(between, 0.0f);
    int partial = 0;
    for (std::size_t i = 0; i < out.size(); i += 4) {
        const int blurredValue[3] = {200, 40, 120};
        for (int k = 0; k < 3; ++k) {
            const int lo = std::min<int>(pattern[i + k], blurredValue[k]), hi = std::max<int>(pattern[i + k], blurredValue[k]);
            EXPECT_GE(out[i + k], lo - 1) << "pixel " << i / 4;
            EXPECT_LE(out[i + k], hi + 1) << "pixel " << i / 4;
            partial += hi - lo > 20 && out[i + k] > lo + 2 && out[i + k] < hi - 2;
        }
    }
    EXPECT_GT(partial, kSide * kSide) << "the in-between depth is not partly blurred";
}

// A quad whose normals all point along +x stays in place at time 0; later it moves along its
// normals only, by a bounded amount that changes smoothly with time and is the same whenever the
// same time comes back.
TEST(PostShaders, NormalWobbleMovesVerticesAlongTheirNormalsWithTime) {
    constexpr int kWide = 64;
    GlTestContext ctx(kWide, 8);
    REQUIRE_GL(ctx);
    cNormalWobbleShader wobble;
    BuildCaptured(wobble);
    ASSERT_TRUE(wobble.IsLinked());

    // The first lit column of the middle row after drawing x = -0.5 .. 0.5 through the program,
    // and whether the top and bottom rows are still covered (the quad spans all of y).
    auto firstLitColumn = [&](float time) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        wobble.SetTime(time);
        wobble.Bind();
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glNormal3f(1.0f, 0.0f, 0.0f);
        glBegin(GL_QUADS);
        glVertex3f(-0.5f, -1.0f, 0.0f);
        glVertex3f(0.5f, -1.0f, 0.0f);
        glVertex3f(0.5f, 1.0f, 0.0f);
        glVertex3f(-0.5f, 1.0f, 0.0f);
        glEnd();
        wobble.Unbind();
        for (int x = 0; x < kWide; ++x)
            if (PixelAt(ctx, x, 4)[0] > 128) return x;
        return -1;
    };

    const int rest = firstLitColumn(0.0f);
    EXPECT_EQ(rest, kWide / 4) << "time 0 leaves the quad in place";
    EXPECT_EQ(PixelAt(ctx, kWide / 2, 4), (std::array<int, 4>{255, 255, 255, 255}));

    int moved = 0, largest = 0, previous = rest;
    for (int step = 1; step <= 150; ++step) {  // the swing quickens with time: small steps
        const float t = 0.01f * float(step);
        const int column = firstLitColumn(t);
        ASSERT_GE(column, 0) << "the quad left the view at " << t;
        EXPECT_LE(std::abs(column - previous), 3) << "the quad jumps at " << t;
        EXPECT_NE(PixelAt(ctx, column + 2, 0)[0], 0) << "the bottom edge moved apart at " << t;
        EXPECT_NE(PixelAt(ctx, column + 2, 7)[0], 0) << "the top edge moved apart at " << t;
        largest = std::max(largest, std::abs(column - rest));
        moved += column != rest;
        previous = column;
    }
    EXPECT_GT(largest, 3) << "the quad hardly moves";
    EXPECT_LT(largest, kWide / 4) << "the quad swings further than its own width";
    EXPECT_GT(moved, 75);
    const int again = firstLitColumn(1.25f);
    firstLitColumn(0.4f);
    EXPECT_EQ(firstLitColumn(1.25f), again) << "the same time, a different place";
}
