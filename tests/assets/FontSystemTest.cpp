// Tests for cFontSystem: bitmap and outline glyph lists, printing, the debug overlay, the shared
// outline cache and font lookup failures. Fonts come from the system's Debian font packages.
#include "assets/FontSystem.h"

#include "support/GlTestContext.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <GL/glu.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

using VantorGL::cFontSystem;
using VantorGL::cGlyphCache;
using VantorGLTest::GlTestContext;

namespace {

// The two system faces the tests measure against (scripts/setup installs both), found through
// fontconfig as the engine finds faces; a missing one fails the tests that use it, by name.
std::string SystemFace(const char* family) {
    VantorGL::sFontSource source;
    if (!VantorGL::ResolveFontSource("", family, source) || source.path.empty()) {
        ADD_FAILURE() << "no font for the family \"" << family << "\"";
        return "";
    }
    return source.path;
}
const std::string& Spartan() {
    static const std::string path = SystemFace("League Spartan");
    return path;
}
const std::string& Liberation() {
    static const std::string path = SystemFace("Liberation Sans");
    return path;
}
// Whatever face the machine gives for the design's "Arial".
const std::string& ArialFace() {
    static const std::string path = SystemFace("Arial");
    return path;
}

// Pixel-exact drawing coordinates: one unit per pixel, origin at the bottom left.
void PixelProjection(const GlTestContext& ctx) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, ctx.Width(), 0, ctx.Height(), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor3f(1, 1, 1);
}

float RasterX() {
    float pos[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, pos);
    return pos[0];
}

struct LitBox {
    int count = 0, minX = 1 << 20, maxX = -1, minY = 1 << 20, maxY = -1;
};
LitBox Lit(const GlTestContext& ctx) {
    LitBox box;
    auto px = ctx.ReadPixels();
    for (int y = 0; y < ctx.Height(); ++y)
        for (int x = 0; x < ctx.Width(); ++x)
            if (px[(std::size_t(y) * ctx.Width() + x) * 4] > 128) {
                ++box.count;
                box.minX = std::min(box.minX, x), box.maxX = std::max(box.maxX, x);
                box.minY = std::min(box.minY, y), box.maxY = std::max(box.maxY, y);
            }
    return box;
}

bool IsLit(const GlTestContext& ctx, const std::vector<std::uint8_t>& px, int x, int y) {
    return px[(std::size_t(y) * ctx.Width() + x) * 4] > 128;
}

// One glyph loaded by FreeType itself, every call checked; `measure` reads the loaded face.
// Returns -1 (which no check accepts) when the file or the glyph cannot be loaded.
template <class Measure>
float FreeTypeGlyph(const std::string& file, unsigned long code, int pixels, FT_Int32 flags, Measure measure) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) return -1;
    FT_Face face = nullptr;
    float value = -1;
    if (FT_New_Face(lib, file.c_str(), 0, &face) == 0) {
        if ((pixels == 0 || FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixels)) == 0) && FT_Load_Char(face, code, flags) == 0)
            value = measure(face);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(lib);
    return value;
}

// FreeType's own answer for a character: hinted 1-bit advance in pixels at `pixels` em height.
int MonoAdvance(const std::string& file, unsigned long code, int pixels) {
    return int(FreeTypeGlyph(file, code, pixels, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO,
                             [](FT_Face face) { return float((face->glyph->advance.x + 32) >> 6); }));
}

// Unscaled advance of a character in em units.
float EmAdvance(const std::string& file, unsigned long code) {
    return FreeTypeGlyph(file, code, 0, FT_LOAD_NO_SCALE, [](FT_Face face) {
        return float(face->glyph->metrics.horiAdvance) / float(face->units_per_EM);
    });
}

}  // namespace

// The design names Arial, which Linux lacks: fontconfig's substitute must be a face FreeType
// opens with real glyphs, whichever family the machine maps it to.
TEST(FontSystemTest, ArialWithoutFileIsFoundThroughFontconfig) {
    VantorGL::sFontSource source;
    ASSERT_TRUE(VantorGL::ResolveFontSource("", "Arial", source));
    EXPECT_GT(MonoAdvance(source.path, 'A', 16), 0) << source.path;
}

TEST(FontSystemTest, BitmapGlyphsDrawAtTheRasterPositionAndScaleWithHeight) {
    GlTestContext ctx(128, 64);
    REQUIRE_GL(ctx);
    cFontSystem font, cellFont;
    font.CreateBitmapGlyphs(Liberation(), "Liberation Sans", -32);
    cellFont.CreateBitmapGlyphs(Liberation(), "Liberation Sans", 32);
    ASSERT_NE(font.bitmapBase, 0u);

    PixelProjection(ctx);
    glRasterPos2i(20, 10);
    font.Print("H");
    LitBox em = Lit(ctx);
    ASSERT_GT(em.count, 50);
    // 'H' stands on the baseline right of the pen: no pixel left of or below the raster position.
    EXPECT_GE(em.minX, 20);
    EXPECT_LE(em.minX, 24);
    EXPECT_EQ(em.minY, 10);
    EXPECT_NEAR(em.maxY - em.minY + 1, 23, 2);  // cap height of Liberation Sans is 0.729 em
    EXPECT_FLOAT_EQ(RasterX(), 20.0f + MonoAdvance(Liberation(), 'H', 32));

    // A positive height is the whole cell (ascender plus descender), so the letter is smaller.
    PixelProjection(ctx);
    glRasterPos2i(20, 10);
    cellFont.Print("H");
    LitBox cell = Lit(ctx);
    EXPECT_NEAR(cell.maxY - cell.minY + 1, 23 * 32 / 36.8, 2);  // win ascent + descent = 1.149 em
}

TEST(FontSystemTest, PrintCallsTheListOfEachCharacter) {
    GlTestContext ctx(128, 48);
    REQUIRE_GL(ctx);
    cFontSystem font;
    font.CreateBitmapGlyphs("", "Arial", -16);
    ASSERT_NE(font.bitmapBase, 0u);
    EXPECT_TRUE(glIsList(font.bitmapBase + 33));

    // "ABC" draws exactly what lists base + 33, 34 and 35 draw one after another.
    PixelProjection(ctx);
    glRasterPos2i(4, 20);
    for (GLuint list : {33u, 34u, 35u}) glCallList(font.bitmapBase + list);
    float listsEnd = RasterX();
    auto byLists = ctx.ReadPixels();

    PixelProjection(ctx);
    glRasterPos2i(4, 20);
    font.Print("%s", "ABC");
    EXPECT_FLOAT_EQ(RasterX(), listsEnd);
    EXPECT_EQ(ctx.ReadPixels(), byLists);
    int expected = MonoAdvance(ArialFace(), 'A', 16) + MonoAdvance(ArialFace(), 'B', 16) + MonoAdvance(ArialFace(), 'C', 16);
    EXPECT_FLOAT_EQ(listsEnd, 4.0f + expected);
}

TEST(FontSystemTest, PrintCutsLongTextsAndSkipsCodesWithoutGlyphs) {
    GlTestContext ctx(64, 48);
    REQUIRE_GL(ctx);
    cFontSystem font;
    font.CreateBitmapGlyphs("", "Arial", -16);
    PixelProjection(ctx);
    const float advanceI = float(MonoAdvance(ArialFace(), 'i', 16));

    glRasterPos2i(0, 0);
    font.Print("%s", std::string(300, 'i').c_str());
    EXPECT_FLOAT_EQ(RasterX(), 255 * advanceI);

    glRasterPos2i(0, 0);
    font.Print("i\x01\x1f\x80\xffi");  // bytes below 32 or above 127 would reach other lists
    EXPECT_FLOAT_EQ(RasterX(), 2 * advanceI);

    const char* none = nullptr;
    glRasterPos2i(0, 0);
    font.Print(none, 1);
    EXPECT_FLOAT_EQ(RasterX(), 0.0f);

    cFontSystem outlineOnly;  // no bitmap glyphs: prints nothing instead of calling lists 0..95
    glRasterPos2i(0, 0);
    outlineOnly.Print("ABC");
    EXPECT_FLOAT_EQ(RasterX(), 0.0f);
}

TEST(FontSystemTest, DebugOverlayPrintsFpsAndHundredthsTopLeft) {
    GlTestContext ctx(320, 240);
    REQUIRE_GL(ctx);
    cFontSystem font;
    font.CreateBitmapGlyphs("", "Arial", -16);
    glClearColor(0, 0, 0, 1);
    glColor3f(1, 1, 1);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5, 6, 7);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    glClear(GL_COLOR_BUFFER_BIT);
    font.DrawDebugOverlay(12349, 59.944f, 0.0f);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(before[i], after[i]);
    auto overlay = ctx.ReadPixels();
    LitBox box = Lit(ctx);
    ASSERT_GT(box.count, 100);
    EXPECT_LT(box.minX, ctx.Width() / 4);       // starts left of centre
    EXPECT_GT(box.minY, ctx.Height() * 3 / 4);  // near the top

    // What it shows follows its numbers: the time in whole hundredths, the rate in hundredths.
    const auto drawn = [&](int ms, float fps) {
        glClear(GL_COLOR_BUFFER_BIT);
        font.DrawDebugOverlay(ms, fps, 0.0f);
        return ctx.ReadPixels();
    };
    EXPECT_EQ(drawn(12341, 59.941f), overlay) << "the same hundredths read the same";
    EXPECT_NE(drawn(12359, 59.944f), overlay) << "the next hundredth of a second";
    EXPECT_NE(drawn(12349, 30.0f), overlay) << "another frame rate";

    glClear(GL_COLOR_BUFFER_BIT);
    font.DrawDebugOverlay(12349, 59.944f, -0.1f);
    EXPECT_LT(Lit(ctx).maxY, box.maxY - 10);  // the y offset moves both lines down
}

TEST(FontSystemTest, OutlineMetricsAndCenteredPrintTranslation) {
    GlTestContext ctx;
    REQUIRE_GL(ctx);
    cFontSystem font;
    font.CreateOutlineGlyphs(Spartan(), "League Spartan", -48);
    ASSERT_NE(font.outlineBase, 0u);
    const auto& a = font.glyphMetrics[int('A')];
    const auto& b = font.glyphMetrics[int('B')];
    EXPECT_NEAR(a.gmfCellIncX, EmAdvance(Spartan(), 'A'), 1e-6);
    EXPECT_NEAR(b.gmfCellIncX, EmAdvance(Spartan(), 'B'), 1e-6);
    EXPECT_EQ(a.gmfCellIncY, 0.0f);
    EXPECT_GT(a.gmfBlackBoxX, 0.3f);
    EXPECT_GT(a.gmfBlackBoxY, 0.5f);
    EXPECT_LT(a.gmfBlackBoxY, 1.0f);
    EXPECT_NEAR(a.gmfptGlyphOrigin.y, a.gmfBlackBoxY, 0.02f);  // capitals stand on the baseline
    EXPECT_EQ(font.glyphMetrics[255].gmfCellIncX, 0.0f);      // the last list stays empty

    // -sum/2 from PrintCentered, then +A and +B from the glyph lists themselves.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    font.PrintCentered("AB");
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], (a.gmfCellIncX + b.gmfCellIncX) / 2.0f, 1e-5);
    EXPECT_EQ(m[13], 0.0f);

    // The list of one character moves the origin by exactly its advance.
    glLoadIdentity();
    glCallList(font.outlineBase + 'A');
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], a.gmfCellIncX, 1e-6);
}

TEST(FontSystemTest, OutlineGlyphsAreFilledCentredAndClosedOnBothFaces) {
    GlTestContext ctx(160, 120);
    REQUIRE_GL(ctx);
    cFontSystem font;
    font.CreateOutlineGlyphs(Spartan(), "League Spartan", -48);
    const auto& o = font.glyphMetrics[int('O')];

    auto draw = [&](float turnDegrees, bool cull) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        if (cull) glEnable(GL_CULL_FACE);
        glColor3f(1, 1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0, 0, -2.0f);
        glRotatef(turnDegrees, 0, 1, 0);
        glTranslatef(0, -(o.gmfptGlyphOrigin.y - o.gmfBlackBoxY / 2), 0.1f);  // centre the letter
        font.PrintCentered("O");
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
    };

    draw(0.0f, true);
    LitBox front = Lit(ctx);
    auto px = ctx.ReadPixels();
    ASSERT_GT(front.count, 200);
    // Centred: the ring's left and right edges lie symmetric about the middle column.
    EXPECT_NEAR((front.minX + front.maxX) / 2.0, ctx.Width() / 2.0, 1.5);
    // Non-zero winding keeps the counter open; the ring itself is filled.
    EXPECT_FALSE(IsLit(ctx, px, ctx.Width() / 2, ctx.Height() / 2));
    EXPECT_TRUE(IsLit(ctx, px, front.minX + 2, (front.minY + front.maxY) / 2));

    draw(180.0f, true);  // seen from behind with culling: the back cap faces the viewer
    EXPECT_GT(Lit(ctx).count, front.count / 2);

    draw(90.0f, true);  // edge on: only the side walls remain, 0.2 em deep
    LitBox side = Lit(ctx);
    EXPECT_GT(side.count, 20);
    EXPECT_LT(side.maxX - side.minX, (front.maxX - front.minX) / 2);  // 0.2 deep vs 0.7 wide, in perspective
}

TEST(FontSystemTest, SameOutlineFontTwiceSharesTessellationNotLists) {
    GlTestContext ctx(64, 48);
    REQUIRE_GL(ctx);
    cGlyphCache::Clear();
    std::size_t hits = cGlyphCache::Hits(), misses = cGlyphCache::Misses();
    cFontSystem first, second, other;
    first.CreateOutlineGlyphs(Spartan(), "League Spartan", -48);
    EXPECT_EQ(cGlyphCache::Misses(), misses + 1);
    second.CreateOutlineGlyphs(Spartan(), "League Spartan", -48);
    other.CreateOutlineGlyphs(Spartan(), "League Spartan", -26);  // em-unit geometry ignores height
    EXPECT_EQ(cGlyphCache::Misses(), misses + 1);
    EXPECT_EQ(cGlyphCache::Hits(), hits + 2);

    ASSERT_NE(first.outlineBase, 0u);
    ASSERT_NE(second.outlineBase, 0u);
    EXPECT_GE(std::max(first.outlineBase, second.outlineBase) - std::min(first.outlineBase, second.outlineBase), 256u);
    EXPECT_EQ(first.glyphMetrics[int('Q')].gmfCellIncX, second.glyphMetrics[int('Q')].gmfCellIncX);

    auto render = [&](cFontSystem& font) {
        glClear(GL_COLOR_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0, -0.3f, -2.0f);
        font.PrintCentered("Qu");
        return ctx.ReadPixels();
    };
    glColor3f(1, 1, 1);
    auto a = render(first);
    EXPECT_EQ(render(second), a);
}

TEST(FontSystemTest, UnreadableFontFilesFallBackOrDrawNothing) {
    GlTestContext ctx(64, 48);
    REQUIRE_GL(ctx);
    // A missing file and a file that is no font both fall back to the face name.
    VantorGLTest::ScratchFolder scratch("font");
    const std::string junk = scratch.Path("junk.ttf");
    std::ofstream(junk) << "definitely not a font";
    for (const std::string& file : {std::string("Data/General/no_such_font.ttf"), junk}) {
        cFontSystem font;
        font.CreateOutlineGlyphs(file, "Liberation Sans", -48);
        EXPECT_NEAR(font.glyphMetrics[int('A')].gmfCellIncX, EmAdvance(Liberation(), 'A'), 1e-6) << file;
    }

    // With a font configuration that knows no fonts at all, nothing is found: empty lists.
    FcConfig* previous = FcConfigReference(nullptr);
    FcConfig* empty = FcConfigCreate();
    ASSERT_TRUE(FcConfigSetCurrent(empty));
    FcConfigDestroy(empty);
    {
        cFontSystem bitmap, outline;
        bitmap.CreateBitmapGlyphs("Data/General/no_such_font.ttf", "Arial", -16);
        outline.CreateOutlineGlyphs("", "Action Force Normal", -48);
        EXPECT_NE(bitmap.bitmapBase, 0u);
        EXPECT_NE(outline.outlineBase, 0u);
        EXPECT_EQ(outline.glyphMetrics[int('A')].gmfCellIncX, 0.0f);

        PixelProjection(ctx);
        glRasterPos2i(10, 10);
        bitmap.Print("ABC");
        EXPECT_FLOAT_EQ(RasterX(), 10.0f);
        glLoadIdentity();
        outline.PrintCentered("ABC");
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_EQ(m[12], 0.0f);
        EXPECT_EQ(Lit(ctx).count, 0);
    }
    FcConfigSetCurrent(previous);
    FcConfigDestroy(previous);
}

TEST(FontSystemTest, DestructionDeletesOnlyTheCreatedLists) {
    GlTestContext ctx(64, 48);
    REQUIRE_GL(ctx);
    GLuint bitmapBase, outlineBase;
    GLuint foreign = glGenLists(1);  // a list a font that made no glyphs must leave alone
    glNewList(foreign, GL_COMPILE);
    glEndList();
    {
        cFontSystem bitmapOnly, nothing;
        bitmapOnly.CreateBitmapGlyphs("", "Arial", -16);
        cFontSystem outlineOnly;
        outlineOnly.CreateOutlineGlyphs(Spartan(), "League Spartan", -26);
        bitmapBase = bitmapOnly.bitmapBase;
        outlineBase = outlineOnly.outlineBase;
        EXPECT_TRUE(glIsList(bitmapBase + 'A' - 32));
        EXPECT_TRUE(glIsList(outlineBase + 'A'));
    }
    EXPECT_FALSE(glIsList(bitmapBase + 'A' - 32));
    EXPECT_FALSE(glIsList(outlineBase + 'A'));
    EXPECT_TRUE(glIsList(foreign));
    glDeleteLists(foreign, 1);
}

namespace {
int deleteListsCalls = 0;
void CountDeleteLists(GLuint, GLsizei) { ++deleteListsCalls; }
}  // namespace

// The registry's fonts die in static destruction, after the window and its context: the
// destructor must then make no GL call at all (Mesa shrugs one off; other drivers crash). The
// call is watched through libepoxy's dispatch pointer.
TEST(FontSystemTest, DestructionAfterTheContextIsGoneCallsNoGl) {
    std::optional<cFontSystem> font;
    {
        GlTestContext ctx(64, 48);
        REQUIRE_GL(ctx);
        font.emplace();
        font->CreateBitmapGlyphs("", "Arial", -16);
        font->CreateOutlineGlyphs(Spartan(), "League Spartan", -26);
        ASSERT_NE(font->bitmapBase, 0u);
        ASSERT_NE(font->outlineBase, 0u);
    }
    ASSERT_EQ(SDL_GL_GetCurrentContext(), nullptr);
    auto* const realDeleteLists = epoxy_glDeleteLists;
    epoxy_glDeleteLists = CountDeleteLists;
    deleteListsCalls = 0;
    font.reset();
    epoxy_glDeleteLists = realDeleteLists;
    EXPECT_EQ(deleteListsCalls, 0);
}
