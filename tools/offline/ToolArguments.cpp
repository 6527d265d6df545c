// ToolArguments: TIME, window size and whole-number arguments of the offline programs.
#include "offline/ToolArguments.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Unsigned seconds with an optional decimal fraction, the whole text.
bool ParseUnsignedSeconds(const std::string& text, double& seconds) {
    if (text.empty() || text[0] == '+' || text[0] == '-') return false;
    char* end = nullptr;
    seconds = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && std::isfinite(seconds) && seconds >= 0.0;
}

}  // namespace

bool ParseToolTime(const std::string& text, int& milliseconds) {
    double seconds = 0.0;
    std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        if (!ParseUnsignedSeconds(text, seconds)) return false;
    } else {
        std::string minutes = text.substr(0, colon);
        double wholeMinutes = 0.0, rest = 0.0;
        if (minutes.find('.') != std::string::npos || !ParseUnsignedSeconds(minutes, wholeMinutes)) return false;
        if (!ParseUnsignedSeconds(text.substr(colon + 1), rest) || rest >= 60.0) return false;
        seconds = wholeMinutes * 60.0 + rest;
    }
    if (seconds > 24.0 * 3600.0) return false;
    milliseconds = int(std::lround(seconds * 1000.0));
    return true;
}

void FormatToolTime(int ms, char* out, std::size_t size) {
    if (ms < 0) ms = 0;
    std::snprintf(out, size, "%d:%02d.%03d", ms / 60000, ms / 1000 % 60, ms % 1000);
}

bool ParseWholeNumber(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (!end || *end != '\0' || parsed < 0 || parsed > 100000) return false;
    value = int(parsed);
    return true;
}

bool ParseWindowSize(const std::string& text, int& width, int& height) {
    std::size_t x = text.find('x');
    int w = 0, h = 0;
    if (x == std::string::npos || !ParseWholeNumber(text.substr(0, x), w) || !ParseWholeNumber(text.substr(x + 1), h) ||
        w < 16 || h < 16 || w > 8192 || h > 8192)
        return false;
    width = w;
    height = h;
    return true;
}
