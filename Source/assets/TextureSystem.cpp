// TextureSystem: the GL half of texture loading: reads the size limit, hands the file to the
// decoder, uploads the result, and says on stderr which file failed and why.
#include "assets/TextureSystem.h"

#include "assets/DataPath.h"
#include "shell/Console.h"

#include <string>

namespace VantorGL {

namespace {

int MaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

// A decode whose pixel block matches its texture size, as an upload needs.
bool Fits(const cDecodedPicture& picture) {
    return picture.textureWidth >= 1 && picture.textureHeight >= 1 &&
           picture.rgba.size() == std::size_t(picture.textureWidth) * picture.textureHeight * 4;
}

}  // namespace

// Clamping to the edge, not GL_CLAMP: GL_CLAMP with linear filtering blends the border colour
// (black) into the outermost texels on current drivers, a dark seam around every clamped quad.
void cTextureSystem::BindWithClamp() {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
}

void cTextureSystem::BindWithRepeat() {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void cTextureSystem::Bind() { glBindTexture(GL_TEXTURE_2D, texture); }

void cTextureSystem::Unbind() { glBindTexture(GL_TEXTURE_2D, 0); }

void cTextureSystem::Load(const char* path) {
    cDecodedPicture picture;
    std::string error = "no path given";
    bool decoded = path && DecodeTextureFile(path, MaxTextureSize(), picture, error);
    LoadDecoded(path, decoded, picture, error);
}

void cTextureSystem::LoadDecoded(const char* path, bool decoded, const cDecodedPicture& picture,
                                 const std::string& error) {
    glEnable(GL_TEXTURE_2D);
    Finish(path, path ? ChooseTextureRoute(path) : eTextureRoute::Picture, decoded, picture, error);
}

bool cTextureSystem::LoadPicture(const char* path) {
    cDecodedPicture picture;
    std::string error = "no path given";
    bool decoded = path && DecodeTextureFile(path, eTextureRoute::Picture, MaxTextureSize(), picture, error);
    return Finish(path, eTextureRoute::Picture, decoded, picture, error);
}

bool cTextureSystem::Finish(const char* path, eTextureRoute route, bool decoded, const cDecodedPicture& picture,
                            const std::string& error) {
    if (decoded && Upload(picture)) return true;
    SayFailure(path, decoded, error);
    if (route == eTextureRoute::Png) texture = 0;  // the PNG route stores its result whatever it is
    return false;
}

void cTextureSystem::SayFailure(const char* path, bool decoded, const std::string& error) {
    std::string shown = path ? ResolveDataPath(path) : std::string();
    ConsolePrint("TEXTURE", "%s: %s", !path ? "(null)" : shown.empty() ? path : shown.c_str(),
                 decoded ? "decoded pixels do not match the texture size" : error.c_str());
}

bool cTextureSystem::Upload(const cDecodedPicture& picture) {
    if (!Fits(picture)) return false;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    Fill(picture);
    return true;
}

bool cTextureSystem::Reload(const char* path) {
    cDecodedPicture picture;
    std::string error = "no path given";
    const bool decoded = path && DecodeTextureFile(path, MaxTextureSize(), picture, error);
    if (!decoded || !Fits(picture)) {
        SayFailure(path, decoded, error);
        return false;
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    if (texture == 0) {
        Upload(picture);
    } else {
        glBindTexture(GL_TEXTURE_2D, texture);
        // A first upload of the picture route leaves the wrap at GL's default: put it back, as
        // the scenes' binds may have changed it since.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        Fill(picture);
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(bound));
    return true;
}

void cTextureSystem::Fill(const cDecodedPicture& picture) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (picture.route == eTextureRoute::Png) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }
    // Tightly packed rows whatever pixel-store state a caller left behind.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, picture.textureWidth, picture.textureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, picture.rgba.data());
    glPopClientAttrib();
}

}  // namespace VantorGL
