// Console: stderr diagnostics tagged with their module.
#include "shell/Console.h"

#include <cstdarg>
#include <cstdio>

namespace VantorGL {

void ConsolePrint(const char* module, const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    fprintf(stderr, "%s: %s\n", module, text);
}

}  // namespace VantorGL
