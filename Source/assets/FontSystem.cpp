// FontSystem: FreeType rasterises the bitmap glyphs, the glyph cache supplies tessellated
// outlines, fontconfig finds a face by name when no font file is given or it cannot be read.
#include "assets/FontSystem.h"

#include "assets/DataPath.h"
#include "assets/FontFace.h"
#include "render/GlContext.h"
#include "shell/Console.h"
#include "shell/Platform.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace VantorGL {

namespace {

// Character height used when the caller asks for height 0 ("the mapper's default").
constexpr int kDefaultPixelHeight = 16;

// True when FreeType can open face `index` of `path`.
bool FaceOpens(const std::string& path, long index) { return cFontFace(path, index).Get() != nullptr; }

// The system's best regular, upright, scalable match for a family name, or its substitute for a
// missing face (FindSystemFont), when FreeType can open it.
bool MatchFace(const std::string& family, sFontSource& source) {
    std::string path;
    int index = 0;
    if (!FindSystemFont(family, path, index)) return false;
    source.path = path;
    source.faceIndex = index;
    return FaceOpens(source.path, source.faceIndex);
}

// Formats into a 256-byte text buffer, cutting longer texts at 255 characters; returns the length.
int FormatText(char (&text)[256], const char* format, va_list args) {
    int written = vsnprintf(text, sizeof text, format, args);
    if (written < 0) {
        text[0] = '\0';
        return 0;
    }
    return int(std::strlen(text));
}

}  // namespace

bool ResolveFontSource(const std::string& fontFile, const std::string& face, sFontSource& source) {
    const char* fileProblem = nullptr;
    std::string path;
    if (!fontFile.empty()) {
        path = ResolveDataPath(fontFile);
        // Only regular files are opened: a folder says so, and a pipe would block the load forever.
        const eFileKind kind = path.empty() ? eFileKind::Missing : FileKindOf(path);
        if (path.empty()) {
            fileProblem = "path longer than 260 characters";  // kMaxDataPath
        } else if (kind == eFileKind::Missing) {
            fileProblem = "cannot open font file";
        } else if (kind == eFileKind::Folder) {
            fileProblem = "is a folder, not a font file";
        } else if (kind != eFileKind::Regular) {
            fileProblem = "not a regular file";
        } else if (FILE* f = OpenFile(path, "rb")) {
            std::fclose(f);
            if (FaceOpens(path, 0)) {
                source = {path, 0};
                return true;
            }
            fileProblem = "not a font file";
        } else {
            fileProblem = "cannot open font file";
        }
    }
    if (MatchFace(face, source)) {
        if (fileProblem) ConsolePrint("FONT", "%s: %s, using \"%s\" from %s", fontFile.c_str(), fileProblem, face.c_str(), source.path.c_str());
        return true;
    }
    if (fileProblem)
        ConsolePrint("FONT", "%s: %s and no font matches \"%s\"; its text will not be drawn", fontFile.c_str(), fileProblem, face.c_str());
    else
        ConsolePrint("FONT", "no font matches \"%s\"; its text will not be drawn", face.c_str());
    return false;
}

cFontSystem::cFontSystem() : origin{0.0f, 0.0f, 0.0f}, glyphMetrics{} {}

// The registry's fonts are destroyed at process exit, after the window took its context along;
// the lists then went with the context and there is nothing left to call GL on.
cFontSystem::~cFontSystem() {
    if (!HasCurrentGlContext()) return;
    if (bitmapBase != 0) glDeleteLists(bitmapBase, kBitmapCount);
    if (outlineBase != 0 && !outlineShared) glDeleteLists(outlineBase, kOutlineLists);
}

void cFontSystem::CreateBitmapGlyphs(const std::string& fontFile, const std::string& faceName, int height) {
    if (bitmapBase != 0) glDeleteLists(bitmapBase, kBitmapCount);  // a second call replaces the set
    bitmapBase = glGenLists(kBitmapCount);

    sFontSource source;
    if (!ResolveFontSource(fontFile, faceName, source)) return;
    const cFontFace opened(source.path, source.faceIndex);
    FT_Face face = opened.Get();
    if (!face) return;

    // Negative heights are the em height in pixels; positive ones the cell height, ascender plus
    // descender as Windows measures them (the OS/2 win metrics, else the horizontal header).
    double emPixels = height < 0 ? -double(height) : double(height == 0 ? kDefaultPixelHeight : height);
    if (height > 0 && FT_IS_SCALABLE(face)) {
        double cellUnits = double(face->ascender) - double(face->descender);
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
            cellUnits = double(os2->usWinAscent) + double(os2->usWinDescent);
        if (cellUnits > 0.0) emPixels = height * double(face->units_per_EM) / cellUnits;
    }
    FT_Error sized = FT_IS_SCALABLE(face)
                         ? FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(emPixels * 64.0)), 72, 72)
                         : FT_Set_Pixel_Sizes(face, 0, FT_UInt(std::lround(emPixels)));

    if (sized == 0) {
        // glBitmap rows are packed bytes, bottom row first, most significant bit leftmost.
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
        std::vector<GLubyte> bits;
        for (int code = kBitmapFirst; code < kBitmapFirst + kBitmapCount; ++code) {
            if (FT_Load_Char(face, FT_ULong(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) continue;
            FT_GlyphSlot g = face->glyph;
            const FT_Bitmap& bm = g->bitmap;
            const int width = int(bm.width), rows = int(bm.rows);
            const int rowBytes = (width + 7) / 8;
            bits.assign(std::size_t(rowBytes) * rows + 1, 0);
            const unsigned char* top = bm.pitch >= 0 ? bm.buffer : bm.buffer + std::ptrdiff_t(rows - 1) * -bm.pitch;
            for (int r = 0; r < rows; ++r) {
                const unsigned char* src = top + std::ptrdiff_t(r) * bm.pitch;
                GLubyte* dst = bits.data() + std::size_t(rows - 1 - r) * rowBytes;
                for (int x = 0; x < width; ++x) {
                    bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (src[x >> 3] & (0x80 >> (x & 7))) != 0
                                                                  : bm.pixel_mode == FT_PIXEL_MODE_GRAY && src[x] >= 128;
                    if (on) dst[x >> 3] |= GLubyte(0x80 >> (x & 7));
                }
            }
            const float advance = float((g->advance.x + 32) >> 6);
            glNewList(bitmapBase + GLuint(code - kBitmapFirst), GL_COMPILE);
            glBitmap(width, rows, float(-g->bitmap_left), float(rows - g->bitmap_top), advance, 0.0f, bits.data());
            glEndList();
        }
        glPopClientAttrib();
    } else {
        ConsolePrint("FONT", "%s: cannot set a %d pixel height", source.path.c_str(), height);
    }
}

void cFontSystem::ShareOutlineGlyphs(const cFontSystem& owner) {
    if (outlineBase != 0 && !outlineShared) glDeleteLists(outlineBase, kOutlineLists);
    outlineBase = owner.outlineBase;
    for (int code = 0; code < kOutlineLists; ++code) glyphMetrics[code] = owner.glyphMetrics[code];
    outlineShared = true;
}

void cFontSystem::CreateOutlineGlyphs(const std::string& fontFile, const std::string& faceName, int height) {
    if (outlineBase != 0 && !outlineShared) glDeleteLists(outlineBase, kOutlineLists);  // a second call replaces the set
    outlineShared = false;
    outlineBase = glGenLists(kOutlineLists);
    for (auto& m : glyphMetrics) m = GLYPHMETRICSFLOAT{};

    sFontSource source;
    if (!ResolveFontSource(fontFile, faceName, source)) return;
    std::shared_ptr<const cOutlineGlyphSet> set = cGlyphCache::Outlines(source);
    if (!set) {
        ConsolePrint("FONT", "%s: no outlines to build text from", source.path.c_str());
        return;
    }
    for (int code = 0; code < cOutlineGlyphSet::kCodes; ++code) glyphMetrics[code] = set->metrics[code];

    // Each list is compiled from client arrays (copied into the list at compile time), as
    // interleaved position and normal: front cap, back cap, then one quad per contour edge.
    std::vector<float> vertices;
    auto put = [&vertices](float x, float y, float z, float nx, float ny, float nz) {
        vertices.insert(vertices.end(), {x, y, z, nx, ny, nz});
    };
    const float back = -kExtrusionDepth;
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    for (int code = 0; code < cOutlineGlyphSet::kCodes; ++code) {
        const sOutlineGlyph& glyph = set->glyphs[set->glyphOfCode[code]];
        vertices.clear();
        const auto& tri = glyph.capTriangles;
        for (std::size_t i = 0; i + 1 < tri.size(); i += 2) put(tri[i], tri[i + 1], 0.0f, 0.0f, 0.0f, 1.0f);
        for (std::size_t t = 0; t + 5 < tri.size(); t += 6) {  // same triangles, reversed, facing -z
            put(tri[t], tri[t + 1], back, 0.0f, 0.0f, -1.0f);
            put(tri[t + 4], tri[t + 5], back, 0.0f, 0.0f, -1.0f);
            put(tri[t + 2], tri[t + 3], back, 0.0f, 0.0f, -1.0f);
        }
        const auto& pts = glyph.contourPoints;
        std::uint32_t start = 0;
        for (std::uint32_t end : glyph.contourEnds) {
            for (std::uint32_t i = start; i < end; ++i) {
                std::uint32_t j = i + 1 < end ? i + 1 : start;
                float x0 = pts[2 * i], y0 = pts[2 * i + 1], x1 = pts[2 * j], y1 = pts[2 * j + 1];
                float dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
                if (len <= 0.0f) continue;
                // Outward normal: the filled side lies right of clockwise contours, left otherwise.
                float s = glyph.clockwise ? 1.0f : -1.0f;
                float nx = -dy / len * s, ny = dx / len * s;
                if (glyph.clockwise) {
                    put(x0, y0, 0.0f, nx, ny, 0.0f); put(x1, y1, 0.0f, nx, ny, 0.0f); put(x1, y1, back, nx, ny, 0.0f);
                    put(x0, y0, 0.0f, nx, ny, 0.0f); put(x1, y1, back, nx, ny, 0.0f); put(x0, y0, back, nx, ny, 0.0f);
                } else {
                    put(x0, y0, 0.0f, nx, ny, 0.0f); put(x1, y1, back, nx, ny, 0.0f); put(x1, y1, 0.0f, nx, ny, 0.0f);
                    put(x0, y0, 0.0f, nx, ny, 0.0f); put(x0, y0, back, nx, ny, 0.0f); put(x1, y1, back, nx, ny, 0.0f);
                }
            }
            start = end;
        }

        glNewList(outlineBase + GLuint(code), GL_COMPILE);
        if (!vertices.empty()) {
            glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), vertices.data());
            glNormalPointer(GL_FLOAT, 6 * sizeof(float), vertices.data() + 3);
            glDrawArrays(GL_TRIANGLES, 0, GLsizei(vertices.size() / 6));
        }
        glTranslatef(glyphMetrics[code].gmfCellIncX, glyphMetrics[code].gmfCellIncY, 0.0f);
        glEndList();
    }
    glPopClientAttrib();
}

void cFontSystem::Print(const char* format, ...) {
    if (!format || bitmapBase == 0) return;
    char text[256];
    va_list args;
    va_start(args, format);
    int length = FormatText(text, format, args);
    va_end(args);
    // Only codes 32..127 have lists of this font; any other byte would call a foreign list.
    int kept = 0;
    for (int i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= kBitmapFirst && c < kBitmapFirst + kBitmapCount) text[kept++] = char(c);
    }
    glPushAttrib(GL_LIST_BIT);
    glListBase(bitmapBase - kBitmapFirst);
    glCallLists(kept, GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

void cFontSystem::PrintCentered(const char* format, ...) {
    if (!format || outlineBase == 0) return;
    char text[256];
    va_list args;
    va_start(args, format);
    int length = FormatText(text, format, args);
    va_end(args);
    float width = 0.0f;
    for (int i = 0; i < length; ++i) width += glyphMetrics[static_cast<unsigned char>(text[i])].gmfCellIncX;
    glTranslatef(-width / 2.0f, 0.0f, 0.0f);
    glPushAttrib(GL_LIST_BIT);
    glListBase(outlineBase);
    glCallLists(length, GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

void cFontSystem::DrawDebugOverlay(int timeMs, float fps, float yOffset) {
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1.0f);
    glRasterPos2f(-0.35f, yOffset + 0.38f);
    Print("[DEBUG] FPS %3.2f", double(fps));
    glRasterPos2f(-0.35f, yOffset + 0.36f);
    Print("[DEBUG] T: %ld 1/100sec", long(timeMs / 10));  // whole hundredths of a second
    glPopMatrix();
}

}  // namespace VantorGL
