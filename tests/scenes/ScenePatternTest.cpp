// Tests for the shared scene steps: the drawing groups leave the model-view stack exactly as they
// found it, whether they start from the identity or from the current matrix.
#include "scenes/ScenePattern.h"

#include "support/GlTestContext.h"

#include <gtest/gtest.h>

using namespace VantorGL;

namespace {

GLint StackDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}

// The translation column of the current model-view matrix.
void Translation(float out[3]) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    out[0] = m[12], out[1] = m[13], out[2] = m[14];
}

}  // namespace

TEST(ScenePattern, GroupsDrawInTheirOwnMatricesAndLeaveTheStackAsFound) {
    VantorGLTest::GlTestContext context;
    REQUIRE_GL(context);
    cCamera camera;  // looks down -z from the origin: its view is the identity
    camera.SetView(cVector3(0, 0, 0), cVector3(0, 0, -1), cVector3(0, 1, 0));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    const GLint depth = StackDepth();
    auto place = [] { glTranslatef(0.0f, 0.0f, -7.0f); };

    float inside[3] = {}, after[3] = {};
    GLint insideDepth = 0;
    auto probe = [&] {
        insideDepth = StackDepth();
        Translation(inside);
    };
    DrawGroup(camera, place, probe);
    EXPECT_EQ(insideDepth, depth + 2);
    EXPECT_FLOAT_EQ(inside[0], 0.0f);  // from the identity: the caller's matrix is not in it
    EXPECT_FLOAT_EQ(inside[2], -7.0f);

    DrawGroupOnCurrent(camera, place, probe);
    EXPECT_EQ(insideDepth, depth + 2);
    EXPECT_FLOAT_EQ(inside[0], 1.0f);  // on top of the caller's matrix
    EXPECT_FLOAT_EQ(inside[2], -4.0f);

    // The refracted model draws inside a group too and unbinds its glass.
    cCrystalRefractShader glass;
    DrawRefractedModel(camera, glass, cVector3f(0.1f, 0.2f, 0.3f), 0, place, probe);
    EXPECT_EQ(insideDepth, depth + 2);
    EXPECT_EQ(StackDepth(), depth);
    Translation(after);
    EXPECT_FLOAT_EQ(after[0], 1.0f);
    EXPECT_FLOAT_EQ(after[1], 2.0f);
    EXPECT_FLOAT_EQ(after[2], 3.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
