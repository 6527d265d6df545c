// PaintText: FreeType glyph rasterisation into coverage fields, with sub-pixel pen positions.
#include "PaintText.h"

#include "shell/Console.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

namespace Datagen {

TextPainter::~TextPainter() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

bool TextPainter::Open(const std::string& fontPath) {
    if (!library && FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        VantorGL::ConsolePrint("DATAGEN", "FreeType: cannot start");
        return false;
    }
    if (FT_New_Face(library, fontPath.c_str(), 0, &face) != 0) {
        face = nullptr;
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot read the display font (package fonts-league-spartan)",
                               fontPath.c_str());
        return false;
    }
    return true;
}

bool TextPainter::SetSize(const TextStyle& style) {
    if (!face) return false;
    // 72 dpi: one point is one pixel. Width and height differ for squeezed text.
    FT_F26Dot6 w = static_cast<FT_F26Dot6>(std::lround(style.pixelHeight * style.xScale * 64.0f));
    FT_F26Dot6 h = static_cast<FT_F26Dot6>(std::lround(style.pixelHeight * 64.0f));
    return FT_Set_Char_Size(face, w, h, 72, 72) == 0;
}

TextExtent TextPainter::Measure(const std::string& text, const TextStyle& style) {
    TextExtent extent;
    if (!SetSize(style)) return extent;
    FT_Set_Transform(face, nullptr, nullptr);
    float tracking = style.tracking * style.pixelHeight * style.xScale;
    for (size_t i = 0; i < text.size(); ++i) {
        if (FT_Load_Char(face, static_cast<unsigned char>(text[i]), FT_LOAD_NO_HINTING) != 0) continue;
        const FT_Glyph_Metrics& m = face->glyph->metrics;
        extent.ascent = std::max(extent.ascent, m.horiBearingY / 64.0f);
        extent.descent = std::max(extent.descent, (m.height - m.horiBearingY) / 64.0f);
        extent.advance += face->glyph->linearHoriAdvance / 65536.0f;
        if (i + 1 < text.size()) extent.advance += tracking;
    }
    return extent;
}

void TextPainter::Draw(Field& coverage, const std::string& text, const TextStyle& style, float x, float baseline) {
    if (!SetSize(style)) return;
    float tracking = style.tracking * style.pixelHeight * style.xScale;
    float pen = x;
    for (unsigned char ch : text) {
        // Place the glyph at its exact fractional position: the integer part goes to the bitmap
        // offset, the fraction to FreeType's outline translation.
        float fx = std::floor(pen), fy = std::floor(baseline);
        FT_Vector delta{static_cast<FT_Pos>(std::lround((pen - fx) * 64.0f)),
                        static_cast<FT_Pos>(-std::lround((baseline - fy) * 64.0f))};
        FT_Set_Transform(face, nullptr, &delta);
        if (FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) continue;
        FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        int left = static_cast<int>(fx) + slot->bitmap_left;
        int top = static_cast<int>(fy) - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            int y = top + static_cast<int>(row);
            if (y < 0 || y >= coverage.height) continue;
            const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                int px = left + static_cast<int>(col);
                if (px < 0 || px >= coverage.width) continue;
                float& c = coverage.At(px, y);
                c = std::max(c, src[col] / 255.0f);
            }
        }
        pen += slot->linearHoriAdvance / 65536.0f + tracking;
    }
    FT_Set_Transform(face, nullptr, nullptr);
}

void TextPainter::DrawCentered(Field& coverage, const std::string& text, const TextStyle& style, float cx, float cy) {
    TextExtent e = Measure(text, style);
    Draw(coverage, text, style, cx - e.advance * 0.5f, cy + (e.ascent - e.descent) * 0.5f);
}

}  // namespace Datagen
