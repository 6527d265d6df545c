// TextureSystem: one image file as one OpenGL 2D texture, bound later with a chosen wrap mode.
// Paths with ".png" take the PNG route (top row at t = 0); everything else the picture route
// (bottom row at t = 0, black made transparent). Decoding itself lives in PictureDecoder.
#pragma once

#include <epoxy/gl.h>

#include "assets/PictureDecoder.h"

#include <string>

namespace VantorGL {

class cTextureSystem {
public:
    // Bind, then wrap S and T clamped to the edge texels.
    virtual void BindWithClamp();
    // Bind, then wrap S and T repeating.
    virtual void BindWithRepeat();
    // Bind only; the wrap mode stays whatever the texture was given last.
    virtual void Bind();
    // Binds texture 0.
    virtual void Unbind();

    // Enables GL_TEXTURE_2D, then loads `path` (as the data folder spells it, either separator)
    // by the route its name picks. PNG route: `texture` becomes the new name, or 0 on failure.
    // Picture route: as LoadPicture. Failures print one TEXTURE line on stderr. Needs a current
    // GL context; the new texture is left bound.
    void Load(const char* path);

    // Load's second half for a picture decoded ahead (on any thread, by DecodeTextureFile with the
    // route the name picks; `decoded` its result, `error` its reason): the same texture, the same
    // one TEXTURE line on failure.
    void LoadDecoded(const char* path, bool decoded, const cDecodedPicture& picture, const std::string& error);

    // Picture route whatever the name: decodes JPEG, PNG, BMP or GIF content, uploads it, and returns true
    // with `texture` holding a new name; on failure returns false and leaves `texture` unchanged.
    bool LoadPicture(const char* path);

    // Uploads an already decoded picture (from any thread's DecodeTextureFile) into a new texture
    // name held in `texture`: linear filters, no mipmaps; the PNG route's texture is clamped to its
    // edge, the picture route's keeps the GL default wrap. Main thread, context current.
    // A picture whose pixel block does not match its texture size is refused: returns false and
    // leaves `texture` unchanged.
    bool Upload(const cDecodedPicture& picture);

    // Loads `path` again by the route its name picks, into the GL name already held, so every
    // holder of the name sees the new picture and no texture is made or lost; the name's filters
    // and wrap are put back as a first load sets them. Without a name yet (the first load
    // failed) a new one is made. A file that does not decode leaves the texture as it was, after
    // the one TEXTURE line Load prints. Leaves the 2D binding as it found it. Returns whether the
    // new picture is in.
    bool Reload(const char* path);

    // The GL texture name; 0 until a load succeeds. The destructor frees nothing: textures live
    // until the context goes at exit.
    GLuint texture = 0;

private:
    // Fills the bound name `texture` with `picture` as a first upload does. The picture's pixel
    // block must match its size.
    void Fill(const cDecodedPicture& picture);
    // The one TEXTURE line of a failed load.
    static void SayFailure(const char* path, bool decoded, const std::string& error);
    // Uploads a decode's result, or prints the one TEXTURE line of a failed load; on failure the
    // PNG route leaves 0, the picture route leaves `texture` as it was. Returns success.
    bool Finish(const char* path, eTextureRoute route, bool decoded, const cDecodedPicture& picture,
                const std::string& error);
};

}  // namespace VantorGL
