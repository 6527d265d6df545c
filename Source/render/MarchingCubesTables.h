// The marching-cubes tables for the grid's corner and edge numbering (the classic numbering):
// corners 0..7 of cube (i, j, k) are (i,j,k) (i,j,k+1) (i,j+1,k+1) (i,j+1,k) and the same four at
// i+1; edges 0..11 join (0,1) (1,2) (2,3) (3,0) (4,5) (5,6) (6,7) (7,4) (0,4) (1,5) (2,6) (3,7).
// The cube index has bit k set when corner k lies below the threshold.
#pragma once

namespace VantorGL {

// The two corners of each edge, first corner first.
extern const int kCubeEdgeCorners[12][2];

struct cMarchingCubesTables {
    // Bit e set when edge e's two corners lie on different sides.
    int edges[256];
    // Up to five triangles per cube index, as triples of edge numbers, ended by -1. In the
    // classic frame (x = k, y = j, z = i) a row's triangles wind counter-clockwise seen from the
    // below-threshold side. The grid's frame (x = i, y = j, z = k) is that frame's mirror image,
    // so the grid emits each triangle reversed (t0, t2, t1) to keep facing the below side.
    // A face shared by two cubes is cut the same way from both (on an ambiguous face the
    // below-threshold corners are kept apart), so the surface has no cracks.
    int triangles[256][16];
};

extern const cMarchingCubesTables kMarchingCubes;

}  // namespace VantorGL
