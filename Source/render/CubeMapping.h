// cCubeMapping: the six-face cube-map render target the crystal shaders refract. Same
// framebuffer and depth renderbuffer as a 2D target, but the colour attachment is one face
// of a cube texture at a time, chosen by SelectFace.
#pragma once

#include "render/RenderTextureSystem.h"

namespace VantorGL {

// The registry's cube target size, per face.
constexpr int kCubeMapSize = 1024;

// Cube capture protocol (scene side):
//   cube.BeginCapture(); glPushAttrib(GL_VIEWPORT_BIT); glViewport(0, 0, cube.width, cube.height);
//   for face in GL_TEXTURE_CUBE_MAP_POSITIVE_X .. +5: load identity, look along the face,
//       cube.SelectFace(face); glClear(...); draw;
//   glPopAttrib(); cube.StopCapture();
//
// Feedback: scenes draw refracting crystals into the cube while those crystals sample it. Reading
// a texture that is being drawn into is undefined on real drivers (it flickers), so the cube is
// double-buffered: SelectFace draws into `drawTexture`, StopCapture swaps, and `texture` always
// holds the last complete set of faces. Its name alternates, so a shader that samples the cube
// takes `texture` again before each Bind.
//
// Glass drawn into the cube would then refract the last frame's cube, which refracted the one
// before: every frame would carry a trace of all the frames before it, and a frame would depend
// on where play started and at what rate. A scene that draws glass into the cube therefore calls
// ShowFacesDrawnSoFar first: the glass refracts this frame's surroundings, drawn a moment before,
// and the frame depends on its time alone.

class cCubeMapping : public cRenderTextureSystem {
public:
    cCubeMapping() = default;
    // Deletes the cube textures (when the context is still there) and marks them gone (all bits set).
    ~cCubeMapping() override;

    // Builds the cube target: depth renderbuffer and two RGB cube textures of six width x height
    // faces, linear, clamped to edge. Same framebuffer-object check (exit 99) as Create.
    virtual bool CreateCube(int width, int height);
    // Does nothing.
    virtual void Finish();

    // Binds framebuffer and renderbuffer only; SelectFace attaches the face.
    void BeginCapture() override;
    // Unbinds, and swaps the cube just drawn into `texture`.
    void StopCapture() override;
    // glBindTexture(GL_TEXTURE_CUBE_MAP, 0), then disables cube texturing.
    void UnbindTexture() override;
    // glBindTexture(GL_TEXTURE_CUBE_MAP, texture), then enables cube texturing.
    void BindTexture() override;

    // Attaches level 0 of face (GL_TEXTURE_CUBE_MAP_POSITIVE_X .. NEGATIVE_Z) as colour
    // attachment 0 of the bound framebuffer.
    void SelectFace(GLenum face);

    // Captures one picture into every face: begin, viewport to the cube, identity modelview, +X
    // face, clear, draw(), then copies +X into the other five faces, end (which swaps). For scenes
    // whose cube pass draws the same view for each face (their content sets its own camera): one
    // draw instead of six gives identical faces.
    template <class Draw>
    void CaptureOneViewIntoAllFaces(Draw&& draw) {
        BeginCapture();
        glPushAttrib(GL_VIEWPORT_BIT);
        glViewport(0, 0, width, height);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        SelectFace(GL_TEXTURE_CUBE_MAP_POSITIVE_X);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        CopyFirstFaceToOthers();
        glPopAttrib();
        StopCapture();
    }
    // Copies the attached +X face (the read buffer while capturing) into the other five faces of
    // the cube being drawn. Leaves texture unit 0 active with no cube bound.
    void CopyFirstFaceToOthers();
    // Inside CaptureOneViewIntoAllFaces only: copies what the +X face holds so far into all six
    // faces of `texture`, the cube the glass samples, so glass drawn next refracts this frame's
    // surroundings. `texture` becomes the cube drawn into at the next capture, which redraws
    // every face. Leaves texture unit 0 active with no cube bound.
    void ShowFacesDrawnSoFar();

    GLuint drawTexture = 0;  // the cube being drawn; `texture` is the last complete one
};

}  // namespace VantorGL
