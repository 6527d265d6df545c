// cFontFace: reading a font file whole and opening one face of it from memory.
#include "assets/FontFace.h"

#include "shell/Platform.h"

#include <cstdio>

namespace VantorGL {

cFontFace::cFontFace(const std::string& path, long index) {
    std::FILE* file = OpenFile(path, "rb");
    if (!file) return;
    FT_Byte chunk[16384];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
    const bool whole = !std::ferror(file);
    std::fclose(file);
    if (!whole || bytes.empty() || FT_Init_FreeType(&library) != 0) return;
    if (FT_New_Memory_Face(library, bytes.data(), FT_Long(bytes.size()), index, &face) != 0) face = nullptr;
}

cFontFace::~cFontFace() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

}  // namespace VantorGL
