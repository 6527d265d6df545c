// Fuzz target for the timeline's time codes: ParseTimeCode takes any text without undefined
// behaviour (the build traps signed overflow), a text of digits, ':' and '.' that a scene window
// could be written in never comes out negative, and a text of up to nine digits is that number.
#include "timeline/TimeCode.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);  // cut at the first NUL by the parser
    const int ms = VantorGL::ParseTimeCode(text.c_str());
    const std::string code = text.substr(0, text.find('\0'));
    bool plain = true, digits = !code.empty() && code.size() <= 9;
    for (char c : code) {
        plain &= (c >= '0' && c <= '9') || c == ':' || c == '.';
        digits &= c >= '0' && c <= '9';
    }
    if (plain && ms < 0) std::abort();
    if (digits && ms != std::stoi(code)) std::abort();
    return 0;
}
