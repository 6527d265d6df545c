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

private:
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width, height;
};

}  // namespace VantorGLTest

// Skips the current test when the machine has no GL at all.
#define REQUIRE_GL(ctx) \
    if (!(ctx).Ok()) GTEST_SKIP() << "no OpenGL context available"
