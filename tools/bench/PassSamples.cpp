// PassSamples: one frame's passes summed by name, then appended to each name's list.
#include "PassSamples.h"

#include <cstring>

void PassSamples::Reserve(int frames) {
    capacity = frames;
    for (sPass& pass : passes) pass.milliseconds.reserve(std::size_t(frames));
}

int PassSamples::Slot(const char* name) {
    // Names are literals, but the same text may sit at two addresses (one per source file).
    for (int i = 0; i < count; ++i)
        if (passes[i].name == name || std::strcmp(passes[i].name, name) == 0) return i;
    if (count == kMaxNames) return -1;
    passes[count].name = name;
    return count++;
}

void PassSamples::AddFrame(const VantorGL::cPassTimer& timer) {
    double frame[kMaxNames] = {};
    bool ran[kMaxNames] = {};
    for (int i = 0; i < timer.Passes(); ++i) {
        int slot = Slot(timer.Name(i));
        if (slot < 0) {
            ++leftOut;
            continue;
        }
        frame[slot] += timer.Milliseconds(i);
        ran[slot] = true;
    }
    for (int slot = 0; slot < count; ++slot) {
        if (!ran[slot]) continue;
        std::vector<double>& list = passes[slot].milliseconds;
        if (int(list.size()) < capacity)
            list.push_back(frame[slot]);
        else
            ++leftOut;
    }
}
