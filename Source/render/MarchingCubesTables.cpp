// The marching-cubes tables, derived at compile time from the corner and edge numbering, so
// they cannot disagree with it. For every unambiguous cube the triangles are those of the
// widely published tables (case 1 is {0, 8, 3}, case 3 is {1, 9, 8, 1, 8, 3}, ...).
#include "render/MarchingCubesTables.h"

#include <array>

namespace VantorGL {

constexpr int kCubeEdgeCorners[12][2] = {
    {0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7},
};

namespace {

// The six cube faces, corners in counter-clockwise order seen from outside the cube.
constexpr int kFaces[6][4] = {
    {1, 2, 3, 0}, {4, 7, 6, 5}, {4, 5, 1, 0}, {3, 2, 6, 7}, {3, 7, 4, 0}, {1, 5, 6, 2},
};

constexpr int EdgeBetween(int a, int b) {
    for (int e = 0; e < 12; ++e)
        if ((kCubeEdgeCorners[e][0] == a && kCubeEdgeCorners[e][1] == b) || (kCubeEdgeCorners[e][0] == b && kCubeEdgeCorners[e][1] == a)) return e;
    return -1;
}


// True when edges a and b bound one common cube face: a segment between their crossings would
// lie in that face.
constexpr bool ShareFace(int a, int b) {
    for (const auto& face : kFaces) {
        int inside = 0;
        for (int corner : {kCubeEdgeCorners[a][0], kCubeEdgeCorners[a][1], kCubeEdgeCorners[b][0], kCubeEdgeCorners[b][1]})
            for (int k = 0; k < 4; ++k)
                if (face[k] == corner) {
                    ++inside;
                    break;
                }
        if (inside == 4) return true;
    }
    return false;
}

// For each cube index: on every face, each run of consecutive below-threshold corners is cut
// off by one segment, directed from the edge entering the run to the edge leaving it (so the
// below side lies to its right seen from outside). Every crossed edge then starts exactly one
// segment; following them gives closed loops around the below-threshold corners, and each loop
// is fanned into triangles from the first of its edges whose diagonals all cross the cube's
// inside (a diagonal lying in a face would touch the neighbouring cube's surface there).
constexpr cMarchingCubesTables BuildTables() {
    cMarchingCubesTables t{};
    for (int cube = 0; cube < 256; ++cube) {
        bool below[8] = {};
        for (int k = 0; k < 8; ++k) below[k] = (cube >> k) & 1;

        int mask = 0;
        for (int a = 0; a < 8; ++a)
            for (int b = a + 1; b < 8; ++b) {
                const int e = EdgeBetween(a, b);
                if (e >= 0 && below[a] != below[b]) mask |= 1 << e;
            }
        t.edges[cube] = mask;

        int next[12] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
        for (const auto& face : kFaces)
            for (int s = 0; s < 4; ++s) {
                const int previous = face[(s + 3) % 4];
                if (!below[face[s]] || below[previous]) continue;  // not the start of a run
                int last = s;
                while (below[face[(last + 1) % 4]]) last = (last + 1) % 4;
                next[EdgeBetween(previous, face[s])] = EdgeBetween(face[last], face[(last + 1) % 4]);
            }

        bool used[12] = {};
        int written = 0;
        for (int start = 0; start < 12; ++start) {
            if (next[start] < 0 || used[start]) continue;
            int loop[12] = {};
            int length = 0;
            for (int e = start; !used[e]; e = next[e]) {
                used[e] = true;
                loop[length++] = e;
            }
            int apex = 0;
            for (int r = 0; r < length; ++r) {
                bool inside = true;
                for (int i = 2; i + 1 < length; ++i)
                    if (ShareFace(loop[r], loop[(r + i) % length])) inside = false;
                if (inside) {
                    apex = r;
                    break;
                }
            }
            for (int i = 1; i + 1 < length; ++i) {
                t.triangles[cube][written++] = loop[apex];
                t.triangles[cube][written++] = loop[(apex + i) % length];
                t.triangles[cube][written++] = loop[(apex + i + 1) % length];
            }
        }
        for (int i = written; i < 16; ++i) t.triangles[cube][i] = -1;
    }
    return t;
}

}  // namespace

constexpr cMarchingCubesTables kMarchingCubes = BuildTables();

// Spot checks against the published tables.
static_assert(kMarchingCubes.edges[1] == 0x109 && kMarchingCubes.edges[255] == 0 && kMarchingCubes.edges[0x81] == 0x9c9);
static_assert(kMarchingCubes.triangles[1][0] == 0 && kMarchingCubes.triangles[1][1] == 8 && kMarchingCubes.triangles[1][2] == 3 &&
              kMarchingCubes.triangles[1][3] == -1);
static_assert(kMarchingCubes.triangles[2][0] == 0 && kMarchingCubes.triangles[2][1] == 1 && kMarchingCubes.triangles[2][2] == 9);
static_assert(kMarchingCubes.triangles[254][0] == 0 && kMarchingCubes.triangles[254][1] == 3 && kMarchingCubes.triangles[254][2] == 8);
static_assert(kMarchingCubes.triangles[0][0] == -1 && kMarchingCubes.triangles[255][0] == -1);

}  // namespace VantorGL
