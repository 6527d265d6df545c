// PaintText: anti-aliased text coverage from the demo's display font through FreeType.
// Pictures that the demo stretches to the screen's 4:3 shape are painted with their glyphs
// pre-squeezed horizontally (xScale), so the letters look right once stretched.
#pragma once

#include "DisplayFont.h"
#include "Image.h"

#include <string>

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace Datagen {

struct TextStyle {
    float pixelHeight = 32;  // em size in pixels
    float xScale = 1.0f;     // horizontal squeeze of the glyphs and spacing
    float tracking = 0.0f;   // extra space between letters, in em
};

struct TextExtent {
    float advance = 0;  // pen travel, pixels
    float ascent = 0;   // ink above the baseline, pixels (positive)
    float descent = 0;  // ink below the baseline, pixels (positive)
};

class TextPainter {
public:
    TextPainter() = default;
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    // Opens the font file. False after printing "DATAGEN: ..." when it cannot be read.
    bool Open(const std::string& fontPath);
    bool IsOpen() const { return face != nullptr; }

    TextExtent Measure(const std::string& text, const TextStyle& style);
    // Adds the text's coverage (max with what is there) with the pen starting at x and the
    // baseline at row `baseline`.
    void Draw(Field& coverage, const std::string& text, const TextStyle& style, float x, float baseline);
    // The same, centred horizontally on cx and vertically (by ink) on cy.
    void DrawCentered(Field& coverage, const std::string& text, const TextStyle& style, float cx, float cy);

private:
    bool SetSize(const TextStyle& style);

    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

}  // namespace Datagen
