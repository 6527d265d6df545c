// GlTestContext: hidden offscreen GL context for the GL tests.
#include "support/GlTestContext.h"

#include <cstdlib>

#include <GL/glu.h>
#include <cstdio>

namespace VantorGLTest {

GlTestContext::GlTestContext(int w, int h) : width(w), height(h) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    // Pixel-exact checks are written against Mesa's software rasteriser: a machine with a GPU
    // must not hand them to its hardware driver (set before the first context loads the driver).
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("GALLIUM_DRIVER", "llvmpipe", 1);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "TEST: no video: %s\n", SDL_GetError());
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    window = SDL_CreateWindow("test", 0, 0, w, h, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
        fprintf(stderr, "TEST: no window: %s\n", SDL_GetError());
        return;
    }
    context = SDL_GL_CreateContext(window);
    if (!context) {
        fprintf(stderr, "TEST: no GL context: %s\n", SDL_GetError());
        return;
    }
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(w) / double(h), 0.1, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

GlTestContext::~GlTestContext() {
    if (context) SDL_GL_DeleteContext(context);
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GlTestContext::MakeCurrent() const {
    if (context) SDL_GL_MakeCurrent(window, context);
}

std::vector<std::uint8_t> GlTestContext::ReadPixels() const {
    std::vector<std::uint8_t> pixels(std::size_t(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

}  // namespace VantorGLTest
