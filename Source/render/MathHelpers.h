// Numeric helpers shared by every effect: single-precision wrappers over the double-precision
// math functions, and RandomRange, the quantised pseudo-random value behind every random look.
#pragma once

namespace VantorGL {

// Each computes in double precision and rounds the result to float.
float SinF(float v);
float CosF(float v);
float SqrtF(float v);
float LogF(float v);

// A pseudo-random value from a upwards in steps of 0.01, over the C library's rand():
//   q = trunc((b - a) * 1000); r = (rand() * 10) mod q; result a + r / 1000.
// So RandomRange(-1, 1) gives -1.00 .. 0.99, RandomRange(0, 0.03) gives 0, 0.01, 0.02, and
// RandomRange(0, 360) never exceeds 327.67 (rand() tops out at 32767). The span is truncated, so
// the bounds' exact values matter: with the single-precision constants 0.001f and 0.01f,
// q = trunc(8.9999997) = 8 and only 0.001, 0.003, 0.005, 0.007 come out (the particle fades);
// the double literals 0.001 and 0.01 give q = 9. These quantisations are part of the look. A span below 0.001 (q < 1), reversed ranges
// included, returns a without consuming a random number.
// The generator is seeded once, by the particle system's constructor.
double RandomRange(double a, double b);

}  // namespace VantorGL
