// Single-precision math wrappers and the quantised random range.
#include "render/MathHelpers.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace VantorGL {

float SinF(float v) { return float(std::sin(double(v))); }
float CosF(float v) { return float(std::cos(double(v))); }
float SqrtF(float v) { return float(std::sqrt(double(v))); }
float LogF(float v) { return float(std::log(double(v))); }

double RandomRange(double a, double b) {
    const double span = (b - a) * 1000.0;
    // trunc to a 32-bit integer; spans too narrow (or reversed) would divide by zero below.
    if (!(span >= 1.0)) return a;
    const std::int32_t q = span >= 2147483647.0 ? 2147483647 : std::int32_t(span);
    // rand() * 10 fits 32 bits because rand() stays within 0..RAND_MAX (32767 on the original
    // runtime). glibc's RAND_MAX is 2^31 - 1, so the value is folded into 0..32767 first to keep
    // the original quantisation (never more than a + 327.67).
    const std::int32_t r = ((std::rand() & 0x7fff) * 10) % q;
    return a + double(r) / 1000.0;
}

}  // namespace VantorGL
