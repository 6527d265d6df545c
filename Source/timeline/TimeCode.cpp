// Time codes: the timeline's own parser, quirks included.
#include "timeline/TimeCode.h"

#include <climits>
#include <cstdio>
#include <sstream>
#include <string>

namespace VantorGL {

namespace {

// Reads a finished field the way a string stream extracts a 64-bit long (long long: Windows'
// long has 32 bits, Linux's 64, and the fields must read the same on both): leading digits
// (after optional white space and sign), 0 when nothing can be read.
long long ReadField(std::istringstream& stream, const std::string& buffer) {
    stream.clear();
    stream.str(buffer);
    long long value = 0;
    if (!(stream >> value)) value = 0;
    return value;
}

// The running total saturates instead of overflowing: a code too large for the clock reads as
// the largest (or smallest) time there is, not as a wrapped, perhaps negative, one.
long long Add(long long a, long long b) {
    long long sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return a < 0 ? LLONG_MIN : LLONG_MAX;
    return sum;
}

long long Multiply(long long a, long long b) {
    long long product = 0;
    if (__builtin_mul_overflow(a, b, &product)) return (a < 0) != (b < 0) ? LLONG_MIN : LLONG_MAX;
    return product;
}

}  // namespace

int ParseTimeCode(const char* text) {
    if (!text) text = "";
    std::istringstream stream;
    std::string buffer;
    long long total = 0;
    for (const char* c = text; *c; ++c) {
        if (*c == ':') {
            total = Multiply(ReadField(stream, buffer), 60);
            buffer.clear();
        } else if (*c == '.') {
            total = Multiply(Add(total, ReadField(stream, buffer)), 1000);
            buffer.clear();
        } else {
            buffer += *c;
            if (c[1] == '\0') {
                total = Add(total, ReadField(stream, buffer));
                buffer.clear();
            }
        }
    }
    total = Add(total, ReadField(stream, buffer));
    return total > INT_MAX ? INT_MAX : total < INT_MIN ? INT_MIN : int(total);
}

void FormatTimeCode(int ms, char* out, int size) {
    if (size <= 0) return;
    if (ms < 0) ms = 0;
    std::snprintf(out, std::size_t(size), "%d:%02d.%d", ms / 60000, ms / 1000 % 60, ms % 1000);
}

}  // namespace VantorGL
