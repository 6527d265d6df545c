// ContactSheet: box-filtered thumbnails on a dark canvas, FreeType labels, PNG output.
#include "ContactSheet.h"
#include "offline/FrameWriter.h"

#include "assets/FontSystem.h"
#include "shell/Console.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::uint8_t kBackground[3] = {18, 18, 22};
constexpr std::uint8_t kLabelColour[3] = {225, 222, 210};
const char* const kLabelFont = "data/General/c_font.ttf";  // the demo's own face
const char* const kFallbackFace = "sans";

}  // namespace

ContactSheet::~ContactSheet() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
}

void ContactSheet::Resize(int count, int width, int height) {
    frameWidth = width;
    frameHeight = height;
    layout = LayoutContactSheet(count, width, height);
    canvas.resize(std::size_t(layout.width) * layout.height * 3);
    for (std::size_t i = 0; i < canvas.size(); i += 3)
        for (int c = 0; c < 3; ++c) canvas[i + c] = kBackground[c];

    if (face || library) return;
    VantorGL::sFontSource source;
    if (!VantorGL::ResolveFontSource(kLabelFont, kFallbackFace, source)) return;  // it said why
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        return;
    }
    if (FT_New_Face(library, source.path.c_str(), source.faceIndex, &face) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, FT_UInt(layout.fontPixels)) != 0) {
        if (face) FT_Done_Face(face);
        face = nullptr;
        VantorGL::ConsolePrint("CAPTURE", "%s: cannot open the label font; the sheet goes unlabelled", source.path.c_str());
    }
}

void ContactSheet::Place(int index, const std::uint8_t* rgb, int timeMs, const char* scene) {
    if (index < 0 || index >= layout.columns * layout.rows) return;
    const int left = layout.CellX(index), top = layout.CellY(index);
    const int tw = layout.thumbWidth, th = layout.thumbHeight;
    // Box filter: each thumbnail pixel is the mean of the frame pixels it covers.
    for (int y = 0; y < th; ++y) {
        int y0 = int(long(y) * frameHeight / th), y1 = std::max(y0 + 1, int(long(y + 1) * frameHeight / th));
        std::uint8_t* out = &canvas[(std::size_t(top + y) * layout.width + left) * 3];
        for (int x = 0; x < tw; ++x) {
            int x0 = int(long(x) * frameWidth / tw), x1 = std::max(x0 + 1, int(long(x + 1) * frameWidth / tw));
            std::uint32_t sum[3] = {0, 0, 0};
            for (int sy = y0; sy < y1; ++sy) {
                const std::uint8_t* in = rgb + (std::size_t(sy) * frameWidth + x0) * 3;
                for (int sx = x0; sx < x1; ++sx, in += 3) {
                    sum[0] += in[0];
                    sum[1] += in[1];
                    sum[2] += in[2];
                }
            }
            std::uint32_t area = std::uint32_t((y1 - y0) * (x1 - x0));
            for (int c = 0; c < 3; ++c) out[x * 3 + c] = std::uint8_t((sum[c] + area / 2) / area);
        }
    }
    char label[96];
    std::snprintf(label, sizeof label, "%d:%02d.%03d%s%s", timeMs / 60000, timeMs / 1000 % 60, timeMs % 1000,
                  scene ? "  " : "", scene ? scene : "");
    int baseline = top + th + layout.fontPixels * 9 / 8;
    DrawLabel(left, baseline, left + tw, label);
}

void ContactSheet::DrawLabel(int left, int baseline, int right, const char* text) {
    if (!face) return;
    // Centred under the thumbnail; whatever would leave the cell is clipped.
    long advance = 0;
    for (const char* c = text; *c; ++c)
        if (FT_Load_Char(face, FT_ULong(*c), FT_LOAD_DEFAULT) == 0) advance += face->glyph->advance.x;
    int pen = left + std::max(0, int((right - left) - advance / 64) / 2);
    for (const char* c = text; *c; ++c) {
        if (FT_Load_Char(face, FT_ULong(*c), FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        int x0 = pen + face->glyph->bitmap_left, y0 = baseline - face->glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            int y = y0 + int(row);
            if (y < 0 || y >= layout.height) continue;
            const unsigned char* coverage = bitmap.buffer + long(row) * bitmap.pitch;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                int x = x0 + int(col);
                if (x < left || x >= right) continue;
                unsigned a = coverage[col];
                std::uint8_t* px = &canvas[(std::size_t(y) * layout.width + x) * 3];
                for (int k = 0; k < 3; ++k) px[k] = std::uint8_t((px[k] * (255 - a) + kLabelColour[k] * a + 127) / 255);
            }
        }
        pen += int(face->glyph->advance.x / 64);
    }
}

bool ContactSheet::Write(const std::string& path) const {
    // One image, kept in the repository: favour size.
    return WriteRgbPng(path, layout.width, layout.height, canvas.data(), 9);
}
