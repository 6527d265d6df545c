// ContactSheet: one image of labelled thumbnails, a frame from each asked demo time, written as
// a PNG at the end of a capture run.
#pragma once

#include "ContactSheetLayout.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <string>
#include <vector>

class ContactSheet {
public:
    ContactSheet() = default;
    ~ContactSheet();
    ContactSheet(const ContactSheet&) = delete;
    ContactSheet& operator=(const ContactSheet&) = delete;

    // Sizes the sheet once for `count` frames of frameWidth x frameHeight, fills it with the dark
    // background and opens the label font (the demo's own, else fontconfig's "sans"; without
    // either the thumbnails go unlabelled).
    void Resize(int count, int frameWidth, int frameHeight);

    // Scales an RGB frame (top row first, frameWidth x frameHeight as sized) into cell `index`
    // with a box filter and writes its demo time under it as "m:ss.fff", followed by `scene`
    // when one is given; text wider than the cell is cut at its edge.
    void Place(int index, const std::uint8_t* rgb, int timeMs, const char* scene = nullptr);

    // The sheet as an 8-bit RGB PNG. False (with a CAPTURE line on stderr) when it cannot be written.
    bool Write(const std::string& path) const;

    const ContactSheetLayout& Layout() const { return layout; }

private:
    void DrawLabel(int x, int baseline, int right, const char* text);

    ContactSheetLayout layout;
    int frameWidth = 0, frameHeight = 0;
    std::vector<std::uint8_t> canvas;  // RGB, top row first
    FT_Library library = nullptr;
    FT_Face face = nullptr;  // null: labels are skipped
};
