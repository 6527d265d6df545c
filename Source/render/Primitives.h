// The immediate-mode primitives every scene draws with: the full-screen quad under each
// post-processing pass, the textured cube (also batched), and the subdivided (optionally lace-like) icosphere.
#pragma once

namespace VantorGL {

// One GL_QUADS quad in the plane z = 1, counter-clockwise seen from +z, no normal:
// (0,0) at (-1,-1,1), (1,0) at (1,-1,1), (1,1) at (1,1,1), (0,1) at (-1,1,1).
// Full-screen passes place it with translate (0, 0, kScreenQuadDistance) and scale
// (kScreenQuadScaleX, kScreenQuadScaleY, 0) under the 45 degree, 4:3 projection.
void DrawScreenQuad();

// Where the post passes put the screen quad: at 3.65 units the 45 degree, 4:3 view is
// 3.024 x 2.268 units wide, so the 4.16 x 3.12 quad overlaps it by about 3 percent.
constexpr float kScreenQuadDistance = -3.65f;
constexpr float kScreenQuadScaleX = 2.08f;
constexpr float kScreenQuadScaleY = 1.56f;

// The cube from -1 to 1 on every axis: six textured GL_QUADS faces with one normal each,
// in one glBegin/glEnd.
void DrawCube();

// DrawCube's vertices, four per face in the order front, back, top, bottom, right, left.
struct sCubeVertex {
    float position[3];
    float normal[3];
    float texCoord[2];
};
constexpr int kCubeVertexCount = 24;
extern const sCubeVertex kCubeVertices[kCubeVertexCount];

// Many cubes in one draw, for scenes that draw thousands: each cube's vertices are moved on the
// CPU and the lot goes out as one glDrawArrays, the same picture as glPushMatrix; glTranslatef;
// glScalef(s, s, s); glRotatef(x, 1,0,0); glRotatef(y, 0,1,0); glRotatef(z, 0,0,1); DrawCube();
// glPopMatrix() per cube (normals are rotated, not scaled: shaders normalise them).
//
// Writes the 24 vertices of one cube so moved (angles in degrees) at `out`; returns out + 24.
sCubeVertex* EmitTransformedCube(sCubeVertex* out, const float translate[3], float scale, float angleX, float angleY,
                                 float angleZ);
// Draws vertexCount vertices (24 per cube) as GL_QUADS from client memory under the current
// matrix. The caller's client-array state is left as it was; the current normal and texture
// coordinate end where DrawCube leaves them, (-1, 0, 0) and (0, 1).
void DrawCubeBatch(const sCubeVertex* vertices, int vertexCount);

// A sphere of the given radius around the origin, the icosahedron subdivided depth times, as
// GL_TRIANGLES in one glBegin/glEnd. Closed it has 20 * 4^depth triangles; hollow drops every
// level's centre triangle (20 * 3^depth triangles), a perforated lace.
// Each vertex carries its unit normal and the normal's x, y as texture coordinates (-1..1).
void DrawIcoSphere(int depth, bool hollow, float radius);

// The recursive step of DrawIcoSphere on the unit-vector triangle (u, v, w); emits vertices
// only, so it must run inside glBegin(GL_TRIANGLES).
void SubdivideTriangle(const float u[3], const float v[3], const float w[3], int depth, float radius,
                       bool hollow);

// v /= |v| in place. A zero vector is not guarded (no caller passes one).
void Normalize3f(float v[3]);

}  // namespace VantorGL
