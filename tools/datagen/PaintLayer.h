// PaintLayer: compositing helpers shared by the screen-sized pictures: filling a coverage field
// with a colour, glows, anti-aliased outlines and the bevelled group logo.
#pragma once

#include "Image.h"
#include "Paint.h"

namespace Datagen {

// Paints `colour` over the image where the coverage is (alpha × coverage).
void FillCoverage(Image& image, const Field& coverage, const Rgba& colour);
// A blurred copy of the coverage scaled by `gain` (clamped to 1): the halo of text or a logo.
Field GlowOf(const Field& coverage, float sigma, float gain);

// Coverage of the MV logo centred on (cx, cy) pixels, `height` pixels tall, glyph-squeezed by
// xScale (see TextStyle::xScale). Added to `coverage` by max.
void DrawLogoCoverage(Field& coverage, float cx, float cy, float height, float xScale);

// The logo painted as a bevelled solid lit from the upper left: `face` is the colour of the
// flat top, the bevel runs from `shadow` to `light`.
void PaintBevelledLogo(Image& image, float cx, float cy, float height, float xScale, const Rgba& face,
                       const Rgba& light, const Rgba& shadow);

// Anti-aliased outline of an axis-aligned rectangle (pixels, inclusive edges at x0..x1, y0..y1),
// `thickness` pixels wide, added to coverage by max.
void DrawRectOutline(Field& coverage, float x0, float y0, float x1, float y1, float thickness);
// Anti-aliased filled rectangle added to coverage by max.
void DrawRect(Field& coverage, float x0, float y0, float x1, float y1);

}  // namespace Datagen
