// cSceneFrame: one frame of a timeline scene's Render as its passes. The frame opens with
// multisampling on and closes with it off; every pass is named and timed on the registry's pass
// timer by itself, and a capture pass clears and fills its target (CaptureInto), so a scene's
// Render lists its passes and nothing else.
#pragma once

#include "render/PassTimer.h"
#include "scenes/ScenePattern.h"

namespace VantorGL {

// One masked Gaussian pass: where the blur map `map` is bright, the source is blurred by `factor`.
struct sMaskedBlur {
    GLuint map;
    float factor;
};

class cSceneFrame {
public:
    // glEnable(GL_MULTISAMPLE): the skeleton's first step.
    explicit cSceneFrame(cPassTimer& timing) : timing(timing) { glEnable(GL_MULTISAMPLE); }
    // glDisable(GL_MULTISAMPLE): the skeleton's last step.
    ~cSceneFrame() { glDisable(GL_MULTISAMPLE); }
    cSceneFrame(const cSceneFrame&) = delete;
    cSceneFrame& operator=(const cSceneFrame&) = delete;

    // A pass drawn where the frame stands (the window, blended over what is there): `draw()`
    // timed as `name`, a string literal.
    template <class Draw>
    void Pass(const char* name, Draw&& draw) {
        cTimedPass timed(timing, name);
        draw();
    }
    // A pass into `target`: CaptureInto(target, draw), timed as `name`.
    template <class Draw>
    void Capture(const char* name, cRenderTextureSystem& target, Draw&& draw) {
        cTimedPass timed(timing, name);
        CaptureInto(target, draw);
    }
    // The cube pass, "cube faces": CaptureCubeFaces(cube, draw), one view copied into all faces.
    template <class Draw>
    void CubeFaces(cCubeMapping& cube, Draw&& draw) {
        cTimedPass timed(timing, "cube faces");
        CaptureCubeFaces(cube, draw);
    }
    // The blur pair, "blur 1" and "blur 2": `from` blurred by `first` into `between`, that blurred
    // by `second` into `into`; the one-step form blurs both times alike.
    void BlurPair(cGaussianMapShader& blur, cRenderTextureSystem& from, cRenderTextureSystem& between,
                  cRenderTextureSystem& into, sMaskedBlur first, sMaskedBlur second);
    void BlurPair(cGaussianMapShader& blur, cRenderTextureSystem& from, cRenderTextureSystem& between,
                  cRenderTextureSystem& into, sMaskedBlur both) {
        BlurPair(blur, from, between, into, both, both);
    }
    // "present": PresentTarget(target), the window cleared and `target` on the full-screen quad.
    void Present(cRenderTextureSystem& target);
    // "overlays": DrawOverlays(picture, fade, fadePicture), the picture in the current colour.
    void Overlays(cTextureSystem& picture, float fade, cTextureSystem& fadePicture);

private:
    cPassTimer& timing;
};

}  // namespace VantorGL
