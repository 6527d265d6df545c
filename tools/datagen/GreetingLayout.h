// Where the greeting lines stand in the glass figure's frame: copies of each line placed along
// the moving camera's path so that one of them faces the camera, large and whole, for most of the
// time the line can be shown, clear of the figure and of each other.
#pragma once

#include "MeshBuilder.h"
#include "MeshText.h"

#include <string>
#include <vector>

namespace Datagen {

// One copy of a line: a flat slab of extruded letters.
struct GreetingCopy {
    Vec3 origin;           // middle of the line's baseline, at the slab's mid-depth
    Vec3 across, up, out;  // unit axes: reading direction, letter up, out of the front face
    float letterHeight;    // capitals (and the tall lower-case letters) stand this high
    float width;           // length of the line along `across`
    float depth;           // glass thickness along `out`
};

// The slab of a copy reaches from the baseline this far down (descenders) and up, in letter
// heights; a little more than the display font's glyphs need.
constexpr float kGreetingBoxBelow = 0.36f, kGreetingBoxAbove = 1.1f;
// Glass thickness and the chamfer of the letters' edges, in letter heights: deep enough that
// walls and bevels catch other parts of the cube map than the faces do.
constexpr float kGreetingDepth = 0.32f, kGreetingBevel = 0;
// Letters never show larger than this on the 1024 x 768 frame, about twice the size a copy reads
// at: the layout keeps every copy far enough from the camera whenever it is on screen (nearer, it
// passes as a slab of glass). The letters' curves are cut for this size.
constexpr float kGreetingMaxLetterPx = 56;
// Letters show at least this large where a copy reads (the art direction's smallest letter).
constexpr float kGreetingMinLetterPx = 24;
// The vertices a greeting model may hold: the layout keeps as many copies as fit.
constexpr size_t kGreetingVertexBudget = 58000;
// Read from at most this far off square-on: the cosine of about 55 degrees.
constexpr float kGreetingMinFacingCos = 0.57f;
// A front turned to the eye within 60 degrees (this cosine) shows as text: no two such copies
// ever overlap on screen.
constexpr float kGreetingFacingText = 0.5f;
// A copy seen nearer edge-on than that passes as a streak of glass: its middle line never shows
// longer than this share of the frame's width (a streak across the view).
constexpr float kGreetingMaxStreakShare = 0.55f;
// Seen from behind, no copy shows whole, within 55 degrees of square-on and with letters this
// tall: a line of mirrored letters (smaller, it passes as glass).
constexpr float kGreetingMirroredLetterPx = 16;
// A copy's spine, the line along the middle of its outline, in letter heights above its baseline.
constexpr float kGreetingSpineV = (kGreetingBoxAbove - kGreetingBoxBelow) / 2;

// The text of greeting `line` (1..3).
const char* GreetingText(int line);

// The copies of greeting `line` (1..3), for its text cut in the display font. Deterministic;
// computed from the camera path (FigureCameraPath.h) and the figure's models. Empty (after a
// DATAGEN message) when the font cannot be read.
std::vector<GreetingCopy> GreetingCopies(int line);

// The text of greeting `line` cut in the display font at a letter height of 1, flattened finely
// enough for kGreetingMaxLetterPx; false after a DATAGEN message.
bool GreetingContours(int line, std::vector<Contour>& contours, float& width);

}  // namespace Datagen
