// cSceneFrame: the passes every timeline scene's frame shares, each timed by itself.
#include "scenes/SceneFrame.h"

namespace VantorGL {

void cSceneFrame::BlurPair(cGaussianMapShader& blur, cRenderTextureSystem& from, cRenderTextureSystem& between,
                           cRenderTextureSystem& into, sMaskedBlur first, sMaskedBlur second) {
    Capture("blur 1", between, [&] { MaskedBlurPass(blur, from.texture, first.map, first.factor); });
    Capture("blur 2", into, [&] { MaskedBlurPass(blur, between.texture, second.map, second.factor); });
}

void cSceneFrame::Present(cRenderTextureSystem& target) {
    cTimedPass timed(timing, "present");
    PresentTarget(target);
}

void cSceneFrame::Overlays(cTextureSystem& picture, float fade, cTextureSystem& fadePicture) {
    cTimedPass timed(timing, "overlays");
    DrawOverlays(picture, fade, fadePicture);
}

}  // namespace VantorGL
