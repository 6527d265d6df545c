// GlCensus: the live GL objects of the current context by kind, found by asking which names in a
// range are live textures, buffers, programs, shaders, framebuffers, renderbuffers and lists: the
// tests' check that a piece of code makes or loses no GL object.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <string>

namespace VantorGLTest {

constexpr GLuint kNameRange = 8192;  // GL names probed; the demo uses a few thousand at most

// Live GL objects by kind, over names 1..kNameRange.
using GlCensus = std::array<int, 7>;

GlCensus TakeGlCensus();

// "12 textures, 0 buffers, ..." for failure messages.
std::string Describe(const GlCensus& census);

}  // namespace VantorGLTest
