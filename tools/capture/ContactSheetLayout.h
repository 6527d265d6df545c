// ContactSheetLayout: where each labelled thumbnail of a contact sheet goes. Pure arithmetic,
// header only, so the tests check it without a window.
#pragma once

#include <algorithm>

struct ContactSheetLayout {
    int columns = 0, rows = 0;
    int thumbWidth = 0, thumbHeight = 0;  // a frame scaled down to fit the thumbnail box
    int fontPixels = 0;                   // label text height
    int labelHeight = 0;                  // the strip under each thumbnail holding its label
    int gap = 0;                          // dark margin around and between the cells
    int width = 0, height = 0;            // the whole sheet

    // Top left corner of cell `index` (row-major, time order).
    int CellX(int index) const { return gap + (index % columns) * (thumbWidth + gap); }
    int CellY(int index) const { return gap + (index / columns) * (thumbHeight + labelHeight + gap); }
};

constexpr int kSheetColumns = 4;
constexpr int kSheetThumbWidth = 320;   // the thumbnail box; frames are never scaled up
constexpr int kSheetThumbHeight = 240;
constexpr int kSheetGap = 8;

// Layout for `count` frames of frameWidth x frameHeight pixels: up to four columns, as many rows
// as needed, each frame scaled by one factor (aspect kept) to fit 320x240. Count and sizes >= 1.
inline ContactSheetLayout LayoutContactSheet(int count, int frameWidth, int frameHeight) {
    ContactSheetLayout layout;
    double scale = std::min({1.0, double(kSheetThumbWidth) / frameWidth, double(kSheetThumbHeight) / frameHeight});
    layout.thumbWidth = std::max(1, int(frameWidth * scale + 0.5));
    layout.thumbHeight = std::max(1, int(frameHeight * scale + 0.5));
    layout.columns = std::min(count, kSheetColumns);
    layout.rows = (count + layout.columns - 1) / layout.columns;
    layout.fontPixels = std::clamp(layout.thumbHeight / 12, 10, 16);
    layout.labelHeight = layout.fontPixels + layout.fontPixels / 2;
    layout.gap = kSheetGap;
    layout.width = layout.gap + layout.columns * (layout.thumbWidth + layout.gap);
    layout.height = layout.gap + layout.rows * (layout.thumbHeight + layout.labelHeight + layout.gap);
    return layout;
}
