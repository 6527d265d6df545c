// cCamera: projection and view through GLU.
#include "render/Camera.h"

#include <epoxy/gl.h>
#include <GL/glu.h>

namespace VantorGL {

void cCamera::SetPerspective(double fovy_, double aspect_, double near_, double far_) {
    fovy = fovy_;
    aspect = aspect_;
    near = near_;
    far = far_;
}

void cCamera::SetView(cVector3 eye_, cVector3 center_, cVector3 up_) {
    eye = eye_;
    center = center_;
    up = up_;
}

void cCamera::Apply() const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, aspect, near, far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    Look();
}

void cCamera::Look() const {
    gluLookAt(eye.x(), eye.y(), eye.z(), center.x(), center.y(), center.z(), up.x(), up.y(), up.z());
}

}  // namespace VantorGL
