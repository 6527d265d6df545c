// Paint: the procedural toolbox of the picture generator. Tileable value noise and fbm, cellular
// noise, separable blurs, height-to-normal conversion and signed distances to polygons.
// Everything is a pure function of its arguments and seed: same input, same bits.
#pragma once

#include "Image.h"

#include <cstdint>
#include <vector>

namespace Datagen {

inline float Clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }
inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }
float Smoothstep(float edge0, float edge1, float x);

// Integer hash of a lattice point; Hash01 maps it to [0, 1).
uint32_t Hash(int x, int y, uint32_t seed);
float Hash01(int x, int y, uint32_t seed);

// Value noise in [0, 1] over a lattice of `period` cells that wraps (x and y in lattice units).
float ValueNoise(float x, float y, int period, uint32_t seed);
// Sum of `octaves` value-noise layers, each about 2.24 times the frequency (and turned) and
// `gain` times the amplitude of the previous one, normalised to [0, 1]. Tiles with `period`
// lattice cells like a single layer.
float Fbm(float x, float y, int period, int octaves, uint32_t seed, float gain = 0.5f);
// 1 - |2n - 1| per layer: sharp crests, for rock and veins.
float RidgedFbm(float x, float y, int period, int octaves, uint32_t seed, float gain = 0.5f);

// Tileable cellular noise over a `period` x `period` grid of jittered points.
struct Cell {
    float f1 = 0, f2 = 0;  // distances to the nearest and second-nearest point, in cell units
    uint32_t id = 0;        // hash of the nearest point's cell (stable per facet)
    float dx = 0, dy = 0;   // offset from the nearest point to the sample
};
Cell Cellular(float x, float y, int period, uint32_t seed, float jitter = 0.9f);

// Field of fbm over the whole field: `period` lattice cells across the width.
Field FbmField(int w, int h, int period, int octaves, uint32_t seed, float gain = 0.5f);

// White noise smeared by a wrapping blur (sigmaX along x, sigmaY along y), normalised to about
// -1..1: brushed metal, streaks and runs that tile.
Field StreakField(int w, int h, uint32_t seed, float sigmaX, float sigmaY);

// Separable Gaussian approximation (three box passes per axis). `wrap` makes it tile.
void Blur(Field& field, float sigmaX, float sigmaY, bool wrap);
void Blur(Image& image, float sigmaX, float sigmaY, bool wrap);

// Tangent-space normal map from a height field (heights in pixels × `strength`), encoded
// 0.5 + 0.5 n. Rows run top to bottom while texture t runs bottom to top (picture route), so
// the green channel points up the picture.
Image NormalMapFromHeight(const Field& height, float strength);

struct Vec2 {
    float x = 0, y = 0;
};
// Signed distance from p to a closed polygon: negative inside (non-zero winding).
float PolygonDistance(const std::vector<Vec2>& polygon, Vec2 p);
// Union of polygons (minimum of their signed distances).
float ShapeDistance(const std::vector<std::vector<Vec2>>& shape, Vec2 p);

}  // namespace Datagen
