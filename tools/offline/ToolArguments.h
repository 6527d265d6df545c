// ToolArguments: the values the offline programs (capture, bench, studio) read from their command
// lines, one syntax for all three. TIME is m:ss.fff with an ordinary decimal fraction
// ("0:10.5" is 10500 ms) or plain seconds ("10.5"); unlike the demo's own time codes, ".5" here
// means half a second.
#pragma once

#include <cstddef>
#include <string>

// Parses a TIME argument into milliseconds (0 to 24 hours); false when it is not one.
bool ParseToolTime(const std::string& text, int& milliseconds);
// The TIME that ParseToolTime reads back as `milliseconds` (0 or more), as m:ss.fff, into `out`
// (`size` bytes, the zero included). Allocates nothing.
void FormatToolTime(int milliseconds, char* out, std::size_t size);
// "WxH" with both sides from 16 to 8192 pixels into width and height (left alone when false).
bool ParseWindowSize(const std::string& text, int& width, int& height);
// A whole number from 0 to 100000 (as strtol reads it, the whole text); false, with `value`
// left alone, otherwise.
bool ParseWholeNumber(const std::string& text, int& value);
