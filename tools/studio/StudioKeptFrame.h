// cStudioKeptFrame: the last demo frame, kept in a texture of the drawable's size, for the studio
// frames that hold it (paused) and drawn again over the whole window, texel for pixel, with the
// GL state the demo leans on put back after.
#pragma once

#include <epoxy/gl.h>

namespace QuenliteStudio {

class cStudioKeptFrame {
public:
    // True when a texture of width x height is there already.
    bool Fits(int width, int height) const { return texture != 0 && width == keptWidth && height == keptHeight; }
    bool Made() const { return texture != 0; }
    // Makes the texture width x height (the picture in it is lost). Needs the context.
    void Resize(int width, int height);
    // Copies the back buffer into the texture.
    void Keep();
    // Draws the kept picture over the whole drawable; every bit of GL state the demo may lean on
    // is as it was after, so the next demo frame starts from the state the last one left.
    void Show();
    // Deletes the texture. Needs the context.
    void Release();

private:
    GLuint texture = 0;
    int keptWidth = 0, keptHeight = 0;
};

}  // namespace QuenliteStudio
