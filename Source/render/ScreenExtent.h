// cScreenExtent: the part of the view a picture can be non-black in, as a box in the view's
// texture coordinates, so a full-screen pass that reads that picture can be drawn only where
// its output can differ from black (a zoom blur reaches only along the lines to its centre).
#pragma once

#include <epoxy/gl.h>

#include <limits>

namespace VantorGL {

class cScreenExtent {
public:
    static constexpr double kInfinity = std::numeric_limits<double>::infinity();

    // The box, x and y from 0 to 1 across the view (y up, as GL's window coordinates). Empty
    // when x0 > x1 or y0 > y1 (as made); beyond [0, 1] where the content reaches past the view.
    double x0 = kInfinity, y0 = kInfinity, x1 = -kInfinity, y1 = -kInfinity;

    // Holds nothing (the start of a frame's bounds).
    void Clear();
    // Holds the whole view and beyond: whatever is bounded by it is drawn in full.
    void SetWhole();
    bool Empty() const { return x0 > x1 || y0 > y1; }
    // True when the box covers all of [0, 1] x [0, 1].
    bool CoversView() const { return x0 <= 0.0 && y0 <= 0.0 && x1 >= 1.0 && y1 >= 1.0; }

    // Grows the box by `count` object-space points (x, y, z each) as the current GL model-view
    // and projection matrices show them (both read back; no drawing): the bounds of whatever
    // they span while all are in front of the eye. A point at or behind the eye's plane has no
    // place on the screen, and the extent becomes the whole view.
    void AddPoints(const float* xyz, int count);

    // Where a zoom blur can draw non-black, for this extent as the non-black part of its source:
    // a fragment at offset d from (centreX, centreY) averages the source at the offsets d * s for
    // s between `start` and `start + scale` (the blur's taps), so it can only be non-black where
    // some d * s falls in the source's box. The source is cut to the view first (it holds nothing
    // beyond it) and, as its sampler clamps, a box touching an edge reaches on past it. Taps at a
    // scale of 0 or less read the centre or past it: the reach is then the whole view. `margin`
    // (in texture units) widens the source and the reach for the linear filter's footprint.
    cScreenExtent ZoomBlurReach(double centreX, double centreY, double start, double scale, double margin) const;

    // The scissor box in pixels of `viewport` that holds every fragment in this box when a quad
    // spanning `quadOverlap` times the view draws texture coordinate 0.5 at the view's centre
    // (the scenes' screen quad). False when no fragment is in it.
    bool ScissorBox(const GLint viewport[4], double quadOverlap, GLint box[4]) const;
};

}  // namespace VantorGL
