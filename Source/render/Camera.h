// cCamera: the perspective and look-at record every scene embeds; Apply loads both matrices,
// Look multiplies only the view onto the current model-view matrix.
#pragma once

#include "render/Vector3.h"

namespace VantorGL {

class cCamera {
public:
    cVector3 eye;
    cVector3 center;
    cVector3 up;  // not normalised here; gluLookAt normalises
    double fovy = 0.0;    // degrees
    double aspect = 0.0;  // width / height
    double near = 0.0;
    double far = 0.0;

    // Stores the four projection values; no GL call.
    void SetPerspective(double fovy, double aspect, double near, double far);
    // Stores copies of the three vectors; no GL call.
    void SetView(cVector3 eye, cVector3 center, cVector3 up);
    // Loads the projection (gluPerspective) and the view (gluLookAt on an identity model-view);
    // leaves GL_MODELVIEW current.
    void Apply() const;
    // gluLookAt multiplied onto the current matrix (scenes call it after glLoadIdentity).
    void Look() const;
};

}  // namespace VantorGL
