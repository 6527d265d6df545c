// Flat shapes made solid for datagen: polygon contours (from glyph outlines or drawn by hand)
// triangulated with the GLU tessellator and extruded into caps, optional bevels and side walls.
#pragma once

#include "DisplayFont.h"
#include "MeshBuilder.h"

#include <string>
#include <vector>

namespace Datagen {

using Contour = std::vector<Vec2>;  // closed polygon in the x-y plane (u = x, v = y)

// Triangles covering the contours under the nonzero winding rule, counter-clockwise in x-y.
std::vector<Vec2> TessellateContours(const std::vector<Contour>& contours);

// Orients contours so that filled area lies to the left of each edge (outer ones counter-clockwise).
void OrientContours(std::vector<Contour>& contours);

// Extrudes filled contours along z from -depth/2 (back) to +depth/2 (front) and places the result
// with `frame`. `bevel` > 0 chamfers front and back edges inwards by that much. Corners sharper
// than about 35 degrees get hard edges, gentler ones shade smoothly. uv is planar over the
// contours' bounding box: u from left to right, v from 0 at the top to 1 at the bottom.
struct ExtrudeMaterials {
    int front, side, bevel;
};
void ExtrudeContours(Mesh& mesh, std::vector<Contour> contours, float depth, float bevel, const Frame& frame,
                     ExtrudeMaterials materials);

// Glyph outlines of `text` in the demo's display font, flattened, in a line starting at x = 0
// on the baseline, scaled so capitals stand `capHeight` tall. Curves become as few chords as keep
// within `tolerance` of them (same units as capHeight: half a pixel at the largest size the text
// is ever seen at). Returns false (after a DATAGEN message) when the font cannot be read. `width`
// receives the advance width of the line.
bool TextContours(const std::string& text, float capHeight, float tolerance, std::vector<Contour>& out, float& width);

}  // namespace Datagen
