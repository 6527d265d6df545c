// FontSystem: text from one TrueType/OpenType font as OpenGL display lists, either flat 1-bit
// bitmap characters drawn at the raster position or extruded, filled 3D outline characters in
// em units, and the printf-style printing (plus the two-line debug overlay) that uses them.
#pragma once

#include "assets/GlyphCache.h"

#include <epoxy/gl.h>

#include <string>

namespace VantorGL {

class cFontSystem {
public:
    // Bitmap glyphs cover the 96 codes 32..127; outline glyphs codes 0..254 in 256 lists.
    static constexpr int kBitmapFirst = 32;
    static constexpr int kBitmapCount = 96;
    static constexpr int kOutlineLists = 256;
    static constexpr float kExtrusionDepth = 0.2f;  // along -z, in em units
    static constexpr float kChordalDeviation = 0.0f;  // 0: one design unit of the font

    cFontSystem();
    // Deletes the lists that were created, while a GL context is current; without one (static
    // destruction after the window is gone) it makes no GL call.
    ~cFontSystem();
    cFontSystem(const cFontSystem&) = delete;
    cFontSystem& operator=(const cFontSystem&) = delete;

    // Font lookup, shared by both glyph kinds: a non-empty `fontFile` ("Data/General/c_font.ttf")
    // is resolved through the data path and used when FreeType can read it; otherwise the face
    // name ("Arial") is matched through fontconfig, which substitutes its nearest font. When both
    // fail, one FONT line goes to stderr and the lists stay empty: printing then draws nothing.
    // `height` is in pixels: negative, the em height; positive, the cell height (ascender plus
    // descender). A GL context must be current.

    // Builds bitmapBase = glGenLists(96): list bitmapBase + k - 32 draws character k (32..127)
    // with glBitmap at the raster position and advances it by the character's width.
    void CreateBitmapGlyphs(const std::string& fontFile, const std::string& face, int height);

    // Builds outlineBase = glGenLists(256): list outlineBase + k draws character k (0..254) as a
    // filled front face at z = 0, a back face at z = -0.2 and side walls, one unit per em, then
    // translates by the character's advance. Fills glyphMetrics. The height does not change the
    // em-unit geometry; a font file already tessellated in this process is reused from the cache.
    void CreateOutlineGlyphs(const std::string& fontFile, const std::string& face, int height);
    // Draws with `owner`'s outline glyphs from now on (its lists and metrics) instead of building
    // the same set again: outline lists depend on the font source only, not on the height. The
    // owner keeps the lists and must outlive this font's printing; this font never deletes them.
    void ShareOutlineGlyphs(const cFontSystem& owner);

    // Formats printf-style (texts longer than 255 characters are cut) and draws the bitmap glyphs
    // from the current raster position. A null format, or a font without bitmap glyphs, draws
    // nothing; characters outside 32..127 are skipped.
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Formats like Print, translates the current matrix by minus half the summed advances (the
    // translation is left in place for the caller to pop) and draws the outline glyphs, so the
    // line's middle sits on the origin and its baseline on the x axis.
    void PrintCentered(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Two bitmap lines near the top left of the 45 degree view: "[DEBUG] FPS %3.2f" and
    // "[DEBUG] T: %ld 1/100sec" (time in whole hundredths of a second), y shifted by `yOffset`.
    // Leaves the modelview matrix as it found it.
    void DrawDebugOverlay(int timeMs, float fps, float yOffset);

    float origin[3];                     // kept at zero; printing does not use it
    GLYPHMETRICSFLOAT glyphMetrics[256]; // per-character metrics of the outline glyphs
    GLuint bitmapBase = 0;               // first of the 96 bitmap lists; 0 until created
    GLuint outlineBase = 0;              // first of the 256 outline lists; 0 until created
    bool outlineShared = false;          // the outline lists are another font's (ShareOutlineGlyphs)
};

// The font file and face `fontFile`/`face` stand for, as described at CreateBitmapGlyphs.
// False (after one FONT line on stderr) when nothing usable was found.
bool ResolveFontSource(const std::string& fontFile, const std::string& face, sFontSource& source);

}  // namespace VantorGL
