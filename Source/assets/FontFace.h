// cFontFace: one FreeType face, and the library it lives in, opened from a font file read whole
// through the platform's file opening, so a path FreeType's own fopen could not take (a
// non-ASCII one on Windows) opens like any other. Everything is closed with the object.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>
#include <vector>

namespace VantorGL {

class cFontFace {
public:
    // Face `index` of the font file at `path` (UTF-8); Get() is null when the file cannot be
    // read or is not a font.
    cFontFace(const std::string& path, long index);
    ~cFontFace();
    cFontFace(const cFontFace&) = delete;
    cFontFace& operator=(const cFontFace&) = delete;

    FT_Face Get() const { return face; }

private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::vector<FT_Byte> bytes;  // FreeType reads the face from these as long as it is open
};

}  // namespace VantorGL
