// GlCensus: counting the live GL objects of the current context.
#include "support/GlCensus.h"

#include <cstdio>

namespace VantorGLTest {

GlCensus TakeGlCensus() {
    GlCensus census{};
    for (GLuint name = 1; name <= kNameRange; ++name) {
        census[0] += glIsTexture(name);
        census[1] += glIsBuffer(name);
        census[2] += glIsProgram(name);
        census[3] += glIsShader(name);
        census[4] += glIsFramebufferEXT(name);
        census[5] += glIsRenderbufferEXT(name);
        census[6] += glIsList(name);
    }
    return census;
}

std::string Describe(const GlCensus& c) {
    char text[160];
    std::snprintf(text, sizeof text, "%d textures, %d buffers, %d programs, %d shaders, %d framebuffers, "
                  "%d renderbuffers, %d lists", c[0], c[1], c[2], c[3], c[4], c[5], c[6]);
    return text;
}

}  // namespace VantorGLTest
