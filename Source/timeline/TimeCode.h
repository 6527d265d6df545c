// Time codes: the "m:ss.f" texts the timeline is written in, turned into demo milliseconds.
// The fraction is the integer after the point, not a decimal fraction: "0:25.5" is 25005 ms.
#pragma once

namespace VantorGL {

// Contract: walks `text` once with a running total and a field buffer. ':' makes the total
// field * 60; '.' makes it (total + field) * 1000; any other character joins the field, and the
// last character of the text adds the field to the total. A field that is not a number counts 0.
// So "0:57.15" is 57015, "2:47.0" is 167000 and "0:25" (no point) is 25. Null counts as "".
// A time beyond the int range is clamped to INT_MAX (or INT_MIN), never wrapped: "7..." is
// INT_MAX, a window that does not end.
int ParseTimeCode(const char* text);

// The time code ParseTimeCode reads back as `ms` (0 or more): "m:ss.f" with the milliseconds as
// the integer after the point, so 25005 is "0:25.5" and 77500 is "1:17.500". Writes at most
// `size` bytes, the terminating zero included, and allocates nothing.
void FormatTimeCode(int ms, char* out, int size);

}  // namespace VantorGL
