// Screen quad, cube and icosphere in immediate mode, and cubes batched into one client-array draw.
#include "render/Primitives.h"

#include <epoxy/gl.h>

#include <cmath>

namespace VantorGL {

void DrawScreenQuad() {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f); glVertex3f(-1.0f, -1.0f, 1.0f);
    glTexCoord2f(1.0f, 0.0f); glVertex3f(1.0f, -1.0f, 1.0f);
    glTexCoord2f(1.0f, 1.0f); glVertex3f(1.0f, 1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f); glVertex3f(-1.0f, 1.0f, 1.0f);
    glEnd();
}

// The cube, face by face in the order front, back, top, bottom, right, left.
const sCubeVertex kCubeVertices[kCubeVertexCount] = {
    // front
    {{-1, -1, 1}, {0, 0, 1}, {0, 0}}, {{1, -1, 1}, {0, 0, 1}, {1, 0}},
    {{1, 1, 1}, {0, 0, 1}, {1, 1}},   {{-1, 1, 1}, {0, 0, 1}, {0, 1}},
    // back
    {{-1, -1, -1}, {0, 0, -1}, {1, 0}}, {{-1, 1, -1}, {0, 0, -1}, {1, 1}},
    {{1, 1, -1}, {0, 0, -1}, {0, 1}},   {{1, -1, -1}, {0, 0, -1}, {0, 0}},
    // top
    {{-1, 1, -1}, {0, 1, 0}, {0, 1}}, {{-1, 1, 1}, {0, 1, 0}, {0, 0}},
    {{1, 1, 1}, {0, 1, 0}, {1, 0}},   {{1, 1, -1}, {0, 1, 0}, {1, 1}},
    // bottom
    {{-1, -1, -1}, {0, -1, 0}, {1, 1}}, {{1, -1, -1}, {0, -1, 0}, {0, 1}},
    {{1, -1, 1}, {0, -1, 0}, {0, 0}},   {{-1, -1, 1}, {0, -1, 0}, {1, 0}},
    // right
    {{1, -1, -1}, {1, 0, 0}, {1, 0}}, {{1, 1, -1}, {1, 0, 0}, {1, 1}},
    {{1, 1, 1}, {1, 0, 0}, {0, 1}},   {{1, -1, 1}, {1, 0, 0}, {0, 0}},
    // left
    {{-1, -1, -1}, {-1, 0, 0}, {0, 0}}, {{-1, -1, 1}, {-1, 0, 0}, {1, 0}},
    {{-1, 1, 1}, {-1, 0, 0}, {1, 1}},   {{-1, 1, -1}, {-1, 0, 0}, {0, 1}},
};

// Immediate mode on purpose: on Mesa a glDrawArrays from client memory costs more per cube
// than these calls (the per-draw set-up dominates), so many cubes go through DrawCubeBatch.
void DrawCube() {
    glBegin(GL_QUADS);
    for (int i = 0; i < kCubeVertexCount; ++i) {
        const sCubeVertex& v = kCubeVertices[i];
        if (i % 4 == 0) glNormal3fv(v.normal);  // one normal per face
        glTexCoord2fv(v.texCoord);
        glVertex3fv(v.position);
    }
    glEnd();
}

sCubeVertex* EmitTransformedCube(sCubeVertex* out, const float translate[3], float scale, float angleX, float angleY,
                                 float angleZ) {
    constexpr double kRadians = 3.14159265358979323846 / 180.0;
    const float sa = float(std::sin(angleX * kRadians)), ca = float(std::cos(angleX * kRadians));
    const float sb = float(std::sin(angleY * kRadians)), cb = float(std::cos(angleY * kRadians));
    const float sc = float(std::sin(angleZ * kRadians)), cc = float(std::cos(angleZ * kRadians));
    // r = Rx * Ry * Rz, the rotation the three glRotatef calls load.
    const float xy[3][3] = {{cb, 0.0f, sb}, {sa * sb, ca, -sa * cb}, {-ca * sb, sa, ca * cb}};
    float r[3][3];
    for (int i = 0; i < 3; ++i) {
        r[i][0] = xy[i][0] * cc + xy[i][1] * sc;
        r[i][1] = -xy[i][0] * sc + xy[i][1] * cc;
        r[i][2] = xy[i][2];
    }
    for (const sCubeVertex& c : kCubeVertices) {
        for (int i = 0; i < 3; ++i) {
            const float turned = r[i][0] * c.position[0] + r[i][1] * c.position[1] + r[i][2] * c.position[2];
            out->position[i] = translate[i] + scale * turned;
            out->normal[i] = r[i][0] * c.normal[0] + r[i][1] * c.normal[1] + r[i][2] * c.normal[2];
        }
        out->texCoord[0] = c.texCoord[0];
        out->texCoord[1] = c.texCoord[1];
        ++out;
    }
    return out;
}

void DrawCubeBatch(const sCubeVertex* vertices, int vertexCount) {
    if (vertexCount <= 0) return;
    // The caller's client arrays (and any bound array buffer) are saved and restored around the
    // draw, so models drawn before or after see their own arrays untouched.
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glClientActiveTexture(GL_TEXTURE0);
    glDisableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(sCubeVertex), vertices[0].position);
    glNormalPointer(GL_FLOAT, sizeof(sCubeVertex), vertices[0].normal);
    glTexCoordPointer(2, GL_FLOAT, sizeof(sCubeVertex), vertices[0].texCoord);
    glDrawArrays(GL_QUADS, 0, vertexCount);
    glPopClientAttrib();
    // Where the last DrawCube would leave the current normal and texture coordinate.
    glNormal3f(-1.0f, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
}

// The regular icosahedron: X and Z are the single-precision values of 0.525731112119133606
// and 0.850650808352039932 (the unit-circumradius coordinates).
static const float kIcoX = 0.525731086730957f;
static const float kIcoZ = 0.8506507873535156f;

static const float kIcoVertices[12][3] = {
    {-kIcoX, 0.0f, kIcoZ}, {kIcoX, 0.0f, kIcoZ},   {-kIcoX, 0.0f, -kIcoZ}, {kIcoX, 0.0f, -kIcoZ},
    {0.0f, kIcoZ, kIcoX},  {0.0f, kIcoZ, -kIcoX},  {0.0f, -kIcoZ, kIcoX},  {0.0f, -kIcoZ, -kIcoX},
    {kIcoZ, kIcoX, 0.0f},  {-kIcoZ, kIcoX, 0.0f},  {kIcoZ, -kIcoX, 0.0f},  {-kIcoZ, -kIcoX, 0.0f},
};

static const int kIcoFaces[20][3] = {
    {0, 4, 1},  {0, 9, 4},  {9, 5, 4},  {4, 5, 8},  {4, 8, 1},  {8, 10, 1}, {8, 3, 10},
    {5, 3, 8},  {5, 2, 3},  {2, 7, 3},  {7, 10, 3}, {7, 6, 10}, {7, 11, 6}, {11, 0, 6},
    {0, 1, 6},  {6, 1, 10}, {9, 0, 11}, {9, 11, 2}, {9, 2, 5},  {7, 2, 11},
};

void Normalize3f(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    v[0] /= length;
    v[1] /= length;
    v[2] /= length;
}

static void EmitSphereVertex(const float n[3], float radius) {
    glNormal3fv(n);
    glTexCoord2f(n[0], n[1]);
    glVertex3f(radius * n[0], radius * n[1], radius * n[2]);
}

void SubdivideTriangle(const float u[3], const float v[3], const float w[3], int depth, float radius,
                       bool hollow) {
    if (depth <= 0) {
        EmitSphereVertex(u, radius);
        EmitSphereVertex(v, radius);
        EmitSphereVertex(w, radius);
        return;
    }
    float uv[3], uw[3], vw[3];
    for (int i = 0; i < 3; ++i) {
        uv[i] = (u[i] + v[i]) / 2.0f;
        uw[i] = (u[i] + w[i]) / 2.0f;
        vw[i] = (v[i] + w[i]) / 2.0f;
    }
    Normalize3f(uv);
    Normalize3f(uw);
    Normalize3f(vw);
    SubdivideTriangle(u, uv, uw, depth - 1, radius, hollow);
    SubdivideTriangle(v, vw, uv, depth - 1, radius, hollow);
    SubdivideTriangle(w, uw, vw, depth - 1, radius, hollow);
    if (!hollow) SubdivideTriangle(uv, vw, uw, depth - 1, radius, hollow);
}

void DrawIcoSphere(int depth, bool hollow, float radius) {
    glBegin(GL_TRIANGLES);
    for (const int* face : kIcoFaces)
        SubdivideTriangle(kIcoVertices[face[0]], kIcoVertices[face[1]], kIcoVertices[face[2]], depth,
                          radius, hollow);
    glEnd();
}

}  // namespace VantorGL
