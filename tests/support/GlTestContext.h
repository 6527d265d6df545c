// GlTestContext: a hidden OpenGL window for tests that draw or upload, on SDL's offscreen
// video driver (Mesa llvmpipe through EGL), so GL tests run without a display.
#pragma once

#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

namespace VantorGLTest {

class GlTestContext {
public:
    // Creates a width x height compatibility context with the demo's 45 degree projection.
    // Ok() is false (and the test should GTEST_SKIP) when no GL is available at all.
    GlTestContext(int width = 64, int height = 48);
    ~GlTestContext();
    bool Ok() const { return context != nullptr; }
    // RGBA pixels of the back buffer, bottom row first (glReadPixels order).
    std::vector<std::uint8_t> ReadPixels() const;
    int Width() const { return width; }
    int Height() const { return height; }
    SDL_Window* Window() const { return window; }
    // Makes this context current again (another context made since has taken its place).
    void MakeCurrent() const;

private:
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width, height;
};

// Sets whatever GL context is current aside for the guard's lifetime (another test's, or the
// demo harness's, which stays current after its calls), for tests of life without one.
class NoCurrentContext {
public:
    NoCurrentContext() : window(SDL_GL_GetCurrentWindow()), context(SDL_GL_GetCurrentContext()) {
        if (context) SDL_GL_MakeCurrent(window, nullptr);
    }
    ~NoCurrentContext() {
        if (context) SDL_GL_MakeCurrent(window, context);
    }
    NoCurrentContext(const NoCurrentContext&) = delete;
    NoCurrentContext& operator=(const NoCurrentContext&) = delete;

private:
    SDL_Window* window;
    SDL_GLContext context;
};

}  // namespace VantorGLTest

// Skips the current test when the machine has no GL at all.
#define REQUIRE_GL(ctx) \
    if (!(ctx).Ok()) GTEST_SKIP() << "no OpenGL context available"
