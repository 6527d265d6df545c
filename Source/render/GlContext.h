// HasCurrentGlContext: whether GL calls can be made right now. Destructors of GL owners run at
// process exit, possibly after the window and its context are gone; they ask this first.
#pragma once

namespace VantorGL {

bool HasCurrentGlContext();

}  // namespace VantorGL
