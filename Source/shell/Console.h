// Console: one-line diagnostics on stderr, tagged with the module that speaks.
// "TEXTURE: data/og2.png: not a PNG file". The demo's numbered debug.log is a separate thing
// (cDebugSystem); this is for the person at the terminal and never affects the run.
#pragma once

namespace VantorGL {

// Prints "MODULE: <formatted text>\n" to stderr. Thread-safe in the sense that each call is one
// fprintf; safe to call before anything else exists.
void ConsolePrint(const char* module, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace VantorGL
