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
// Glass drawn into the cube: the tunnel's and the metaballs' crystals stand in the cube they
// refract. Reading a texture while drawing into it is undefined on real drivers (it flickers),
// and glass that refracted the last frame's cube would carry a trace of every frame before it
// (a frame would depend on where play started, and at what rate). So such a scene calls
// ShowFacesDrawnSoFar once its surroundings are drawn, and its glass refracts the cube that
// call returns: this frame's surroundings, scaled down into a small cube of its own. The frame
// depends on its time alone.
//
// The glass view's size per face. That glass is only ever seen through the main view's glass,
// refracted, tinted and blurred; a finer view would cost copies and memory and show nowhere.
constexpr int kGlassViewSize = 256;

class cCubeMapping : public cRenderTextureSystem {
public:
    cCubeMapping() = default;
    // Deletes the cube textures (when the context is still there) and marks them gone (all bits set).
    ~cCubeMapping() override;

    // Builds the cube target: depth renderbuffer and an RGB cube texture of six width x height
    // faces, linear, clamped to edge; then the glass view alike (square faces of at most
    // kGlassViewSize) on a framebuffer of its own. Same framebuffer-object check (exit 99) as Create.
    virtual bool CreateCube(int width, int height);
    // Does nothing.
    virtual void Finish();

    // Binds framebuffer and renderbuffer only; SelectFace attaches the face.
    void BeginCapture() override;
    // Unbinds the framebuffer and renderbuffer.
    void StopCapture() override;
    // glBindTexture(GL_TEXTURE_CUBE_MAP, 0), then disables cube texturing.
    void UnbindTexture() override;
    // glBindTexture(GL_TEXTURE_CUBE_MAP, texture), then enables cube texturing.
    void BindTexture() override;

    // Attaches level 0 of face (GL_TEXTURE_CUBE_MAP_POSITIVE_X .. NEGATIVE_Z) as colour
    // attachment 0 of the bound framebuffer.
    void SelectFace(GLenum face);

    // Captures one picture into every face: begin, viewport to the cube, identity modelview, +X
    // face, clear, draw(), then copies +X into the other five faces, end. For scenes
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
    // Inside CaptureOneViewIntoAllFaces only: scales what the +X face holds so far into all six
    // faces of the glass view (kGlassViewSize square, linear) and returns that cube's name, for
    // glass drawn next into this cube to refract. The cube's own framebuffer is bound again
    // after. Leaves texture unit 0 active with no cube bound.
    GLuint ShowFacesDrawnSoFar();

    GLuint glassView = 0;             // the small cube of ShowFacesDrawnSoFar
    GLuint glassViewFramebuffer = 0;  // its +X face as colour attachment 0
    int glassViewSize = 0;
    bool canBlit = false;  // GL 3.0 or GL_EXT_framebuffer_blit; without, the glass view stays black
};

}  // namespace VantorGL
