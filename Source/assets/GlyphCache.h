// GlyphCache: outline glyphs of one font file, flattened and tessellated on the CPU in em units,
// and the process-lifetime cache that lets every font object built from the same file share one
// tessellation (the demo asks for the same outline font ten times during start-up).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace VantorGL {

// A point with float coordinates, as the font metrics give them.
struct POINTFLOAT {
    float x = 0.0f;
    float y = 0.0f;
};

// Metrics of one outline glyph in em units (the em square is 1.0), y up.
struct GLYPHMETRICSFLOAT {
    float gmfBlackBoxX = 0.0f;      // width of the smallest box holding the glyph
    float gmfBlackBoxY = 0.0f;      // height of that box
    POINTFLOAT gmfptGlyphOrigin;    // upper left corner of the box, relative to the pen position
    float gmfCellIncX = 0.0f;       // horizontal advance to the next character
    float gmfCellIncY = 0.0f;       // vertical advance (0 for horizontal text)
};

// One glyph's geometry in em units, enough to build the caps and the side walls of an
// extruded character.
struct sOutlineGlyph {
    std::vector<float> capTriangles;        // x, y per vertex, 3 vertices per triangle, CCW seen from +z
    std::vector<float> contourPoints;       // x, y per point of every closed contour, in outline order
    std::vector<std::uint32_t> contourEnds; // one past the last point of each contour
    bool clockwise = true;                  // outer contours run clockwise (TrueType) or not (CFF)
};

// Where a font comes from: a file on disk and the face inside it.
struct sFontSource {
    std::string path;
    long faceIndex = 0;
    bool operator<(const sFontSource& o) const {
        return path != o.path ? path < o.path : faceIndex < o.faceIndex;
    }
};

// Outline glyphs of character codes 0..254 of one font. Codes are Windows-1252; codes that map
// to the same glyph (every missing character maps to the font's default glyph) share one entry.
struct cOutlineGlyphSet {
    static constexpr int kCodes = 255;  // codes 0..254; the 256th list stays empty
    std::vector<sOutlineGlyph> glyphs;
    std::array<std::int32_t, kCodes> glyphOfCode{};  // index into glyphs
    std::array<GLYPHMETRICSFLOAT, kCodes> metrics{};
};

// Process-lifetime cache of outline glyph sets, keyed by the font file and face index. Em-unit
// geometry does not depend on the requested character height, so every height shares one entry.
//
// Why a file-level cache: the font objects are independent values with a fixed creation call
// (file, face, height) and no way to be handed a shared store, yet nine scenes and the registry
// create the same outline font. The cache holds CPU data only (no GL names, so it is valid in any
// context), is filled during loading and read-only afterwards, and lives as long as the fonts.
class cGlyphCache {
public:
    // The outline glyphs of `source`, tessellated on first request with a chordal deviation of one
    // design unit. Null when FreeType cannot open the face (nothing is cached then).
    static std::shared_ptr<const cOutlineGlyphSet> Outlines(const sFontSource& source);

    // Counters for tests and benchmarks: lookups answered from the cache, and tessellations run.
    static std::size_t Hits();
    static std::size_t Misses();
    // Forgets every cached set (benchmarks measure cold creation with it).
    static void Clear();

    // Tessellates `source` without touching the cache. Null when the face cannot be opened.
    static std::shared_ptr<const cOutlineGlyphSet> Build(const sFontSource& source);
};

}  // namespace VantorGL
