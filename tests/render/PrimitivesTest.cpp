// Tests for the screen quad placement, the camera matrices and the icosphere's triangle counts.
#include "render/Camera.h"
#include "render/Primitives.h"
#include "support/GlTestContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using VantorGLTest::GlTestContext;

namespace {

// Triangles that reach the rasteriser while draw() runs, counted in feedback mode, with every
// vertex's distance from the origin (model-view and projection are identity, so feedback
// window coordinates map straight back to object coordinates).
struct Feedback {
    int triangles = 0;
    float minRadius = 1e9f, maxRadius = 0.0f;
};

template <typename Draw>
Feedback CountTriangles(GlTestContext& gl, Draw draw) {
    std::vector<GLfloat> buffer(400000);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    Feedback result;
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    for (GLint i = 0; i < used;) {
        const GLint token = GLint(buffer[i++]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const GLint vertices = GLint(buffer[i++]);
        EXPECT_EQ(vertices, 3);
        for (int v = 0; v < vertices; ++v, i += 3) {
            const float x = buffer[i] / gl.Width() * 2 - 1, y = buffer[i + 1] / gl.Height() * 2 - 1,
                        z = buffer[i + 2] * 2 - 1;
            const float r = std::sqrt(x * x + y * y + z * z);
            result.minRadius = std::min(result.minRadius, r);
            result.maxRadius = std::max(result.maxRadius, r);
        }
        ++result.triangles;
    }
    return result;
}

}  // namespace

TEST(Primitives, IcoSphereTriangleCountsPerLevel) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    const int closed[] = {20, 80, 320, 1280};
    const int hollow[] = {20, 60, 180, 540};
    for (int depth = 0; depth < 4; ++depth) {
        const auto full = CountTriangles(gl, [&] { VantorGL::DrawIcoSphere(depth, false, 0.5f); });
        EXPECT_EQ(full.triangles, closed[depth]) << "depth " << depth;
        EXPECT_NEAR(full.minRadius, 0.5f, 0.01f);
        EXPECT_NEAR(full.maxRadius, 0.5f, 0.01f);
        EXPECT_EQ(CountTriangles(gl, [&] { VantorGL::DrawIcoSphere(depth, true, 0.5f); }).triangles, hollow[depth]);
    }
}

TEST(Primitives, Normalize3fScalesToUnitLength) {
    float u[3] = {3.0f, 0.0f, 4.0f};
    VantorGL::Normalize3f(u);
    EXPECT_FLOAT_EQ(u[0], 0.6f);
    EXPECT_FLOAT_EQ(u[2], 0.8f);
}

TEST(Primitives, CubeIsSixFacesOfTwoTriangles) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    // Quads arrive as polygons; scaled down so nothing is clipped.
    std::vector<GLfloat> buffer(10000);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(0.5f, 0.5f, 0.5f);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    VantorGL::DrawCube();
    const GLint used = glRenderMode(GL_RENDER);
    int polygons = 0, vertices = 0;
    for (GLint i = 0; i < used;) {
        ASSERT_EQ(GLint(buffer[i++]), GL_POLYGON_TOKEN);
        const GLint n = GLint(buffer[i++]);
        ++polygons;
        vertices += n;
        i += 3 * n;
    }
    // Each quad reaches feedback as one 4-vertex polygon or as two triangles, by driver.
    EXPECT_TRUE((polygons == 6 && vertices == 24) || (polygons == 12 && vertices == 36))
        << polygons << " polygons, " << vertices << " vertices";
}

TEST(Primitives, ScreenQuadAtTheDemoPlacementCoversTheWholeView) {
    GlTestContext gl(64, 48);  // 4:3 under the 45 degree projection
    REQUIRE_GL(gl);
    for (float distance : {VantorGL::kScreenQuadDistance, -5.0f}) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, distance);
        glScalef(VantorGL::kScreenQuadScaleX, VantorGL::kScreenQuadScaleY, 0.0f);
        glRotatef(0.0f, 0.0f, 1.0f, 0.0f);
        glColor4f(1, 1, 1, 1);
        VantorGL::DrawScreenQuad();
        const auto pixels = gl.ReadPixels();
        auto at = [&](int x, int y) { return pixels[(std::size_t(y) * gl.Width() + x) * 4]; };
        const int corners[4][2] = {{0, 0}, {gl.Width() - 1, 0}, {0, gl.Height() - 1}, {gl.Width() - 1, gl.Height() - 1}};
        for (const auto& c : corners) {
            if (distance == VantorGL::kScreenQuadDistance)
                EXPECT_EQ(at(c[0], c[1]), 255) << "corner " << c[0] << "," << c[1];
            else
                EXPECT_EQ(at(c[0], c[1]), 0) << "at -5 the quad leaves a border";
        }
        EXPECT_EQ(at(gl.Width() / 2, gl.Height() / 2), 255);
    }
}

TEST(Camera, ApplyLoadsPerspectiveAndLookAt) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    VantorGL::cCamera camera;
    camera.SetPerspective(45.0, 4.0 / 3.0, 1.0, 5000.0);
    camera.SetView(VantorGL::cVector3(10, 0, 0), VantorGL::cVector3(0, 0, 0), VantorGL::cVector3(0, 2, 0));
    EXPECT_EQ(camera.far, 5000.0);
    EXPECT_EQ(camera.eye.x(), 10.0);
    camera.Apply();

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble projection[16], view[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, view);
    const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
    EXPECT_NEAR(projection[0], f / (4.0 / 3.0), 1e-5);
    EXPECT_NEAR(projection[5], f, 1e-5);
    // Looking down -x from (10, 0, 0): world +x is eye-space +z, the origin is 10 units ahead.
    auto transform = [&](double x, double y, double z, int row) {
        return view[row] * x + view[4 + row] * y + view[8 + row] * z + view[12 + row];
    };
    EXPECT_NEAR(transform(0, 0, 0, 2), -10.0, 1e-5);
    EXPECT_NEAR(transform(0, 0, 0, 0), 0.0, 1e-5);
    EXPECT_NEAR(transform(0, 1, 0, 1), 1.0, 1e-5);  // up stays up (normalised by GLU)
    EXPECT_NEAR(transform(0, 0, 1, 0), -1.0, 1e-5);  // world +z is to the left

    // Look multiplies onto what is there.
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    camera.Look();
    glGetDoublev(GL_MODELVIEW_MATRIX, view);
    EXPECT_NEAR(transform(0, 0, 0, 2), -11.0, 1e-5);
}

TEST(Primitives, BatchedCubeMatchesTheMatrixPathAndKeepsClientState) {
    GlTestContext gl;
    REQUIRE_GL(gl);
    const float t[3] = {3.0f, -2.0f, 7.5f};
    const float scale = 0.5f, ax = 37.0f, ay = -112.5f, az = 300.25f;
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(t[0], t[1], t[2]);
    glScalef(scale, scale, scale);
    glRotatef(ax, 1.0f, 0.0f, 0.0f);
    glRotatef(ay, 0.0f, 1.0f, 0.0f);
    glRotatef(az, 0.0f, 0.0f, 1.0f);
    GLfloat m[16];  // column-major
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glLoadIdentity();

    VantorGL::sCubeVertex batch[2 * VantorGL::kCubeVertexCount];
    EXPECT_EQ(VantorGL::EmitTransformedCube(batch, t, scale, ax, ay, az), batch + VantorGL::kCubeVertexCount);
    for (int v = 0; v < VantorGL::kCubeVertexCount; ++v) {
        const auto& c = VantorGL::kCubeVertices[v];
        for (int i = 0; i < 3; ++i) {
            const float p = m[i] * c.position[0] + m[4 + i] * c.position[1] + m[8 + i] * c.position[2] + m[12 + i];
            const float n = (m[i] * c.normal[0] + m[4 + i] * c.normal[1] + m[8 + i] * c.normal[2]) / scale;
            EXPECT_NEAR(batch[v].position[i], p, 1e-4f) << "vertex " << v;
            EXPECT_NEAR(batch[v].normal[i], n, 1e-4f) << "vertex " << v;
        }
        EXPECT_EQ(batch[v].texCoord[0], c.texCoord[0]);
        EXPECT_EQ(batch[v].texCoord[1], c.texCoord[1]);
    }

    // A caller's arrays survive the batch: colour array on, normal array off.
    const GLfloat colours[4] = {1, 0, 0, 1};
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, colours);
    glDisableClientState(GL_NORMAL_ARRAY);
    const float near[3] = {0.0f, 0.0f, -5.0f};
    VantorGL::EmitTransformedCube(batch + VantorGL::kCubeVertexCount, near, 0.1f, 0.0f, 0.0f, 0.0f);
    VantorGL::DrawCubeBatch(batch + VantorGL::kCubeVertexCount, VantorGL::kCubeVertexCount);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    GLvoid* pointer = nullptr;
    glGetPointerv(GL_COLOR_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, static_cast<const GLvoid*>(colours));
    GLfloat normal[4];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_EQ(normal[0], -1.0f);
    glDisableClientState(GL_COLOR_ARRAY);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
