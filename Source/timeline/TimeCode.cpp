// Time codes: the timeline's own parser, quirks included.
#include "timeline/TimeCode.h"

#include <sstream>
#include <string>

namespace VantorGL {

namespace {

// Reads a finished field the way a string stream extracts a long: leading digits (after
// optional white space and sign), 0 when nothing can be read.
long ReadField(std::istringstream& stream, const std::string& buffer) {
    stream.clear();
    stream.str(buffer);
    long value = 0;
    if (!(stream >> value)) value = 0;
    return value;
}

}  // namespace

int ParseTimeCode(const char* text) {
    if (!text) text = "";
    std::istringstream stream;
    std::string buffer;
    long total = 0;
    for (const char* c = text; *c; ++c) {
        if (*c == ':') {
            total = ReadField(stream, buffer) * 60;
            buffer.clear();
        } else if (*c == '.') {
            total = (total + ReadField(stream, buffer)) * 1000;
            buffer.clear();
        } else {
            buffer += *c;
            if (c[1] == '\0') {
                total += ReadField(stream, buffer);
                buffer.clear();
            }
        }
    }
    total += ReadField(stream, buffer);
    return int(total);
}

}  // namespace VantorGL
