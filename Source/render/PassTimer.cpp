// cPassTimer: timestamps around each outermost pass, read back when the frame is collected.
#include "render/PassTimer.h"

#include <cstdint>

namespace VantorGL {

bool cPassTimer::Supported() {
    return epoxy_gl_version() >= 33 || epoxy_has_gl_extension("GL_ARB_timer_query");
}

bool cPassTimer::Enable() {
    if (enabled) return true;
    if (!Supported()) return false;
    glGenQueries(2 * kMaxPasses, queries);
    enabled = true;
    return true;
}

void cPassTimer::Release() {
    if (enabled) glDeleteQueries(2 * kMaxPasses, queries);
    for (GLuint& query : queries) query = 0;
    enabled = recording = false;
    recorded = collected = depth = dropped = 0;
}

void cPassTimer::BeginFrame() {
    if (!enabled) return;
    recording = true;
    recorded = depth = dropped = 0;
}

void cPassTimer::Begin(const char* name) {
    if (depth++ > 0) return;  // folded into the open pass
    if (recorded == kMaxPasses) {
        ++dropped;
        return;
    }
    passes[recorded].name = name;
    glQueryCounter(queries[2 * recorded], GL_TIMESTAMP);
}

void cPassTimer::End() {
    if (depth == 0 || --depth > 0) return;
    if (recorded == kMaxPasses) return;  // its start was dropped: every slot was taken
    glQueryCounter(queries[2 * recorded + 1], GL_TIMESTAMP);
    ++recorded;
}

int cPassTimer::Collect() {
    if (!recording) return 0;
    if (depth > 0) {
        depth = 1;
        End();
    }
    recording = false;
    for (int i = 0; i < recorded; ++i) {
        GLuint64 start = 0, end = 0;
        glGetQueryObjectui64v(queries[2 * i], GL_QUERY_RESULT, &start);
        glGetQueryObjectui64v(queries[2 * i + 1], GL_QUERY_RESULT, &end);
        // Timestamps of one context only grow; a driver that says otherwise gets no negative time.
        passes[i].milliseconds = end > start ? double(end - start) / 1.0e6 : 0.0;
    }
    collected = recorded;
    return collected;
}

}  // namespace VantorGL
