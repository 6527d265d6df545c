// PassSamples: the GPU times of one scene's named passes over the bench's timed frames, one list
// per pass name in the order the passes first ran, with all room fixed before the demo plays.
#pragma once

#include "render/PassTimer.h"

#include <vector>

class PassSamples {
public:
    // Distinct pass names one scene can hold; the scenes name about ten.
    static constexpr int kMaxNames = 24;

    struct sPass {
        const char* name = nullptr;
        std::vector<double> milliseconds;  // one per frame that ran the pass
    };

    // Room for `frames` frames of every name (call once, before the first AddFrame).
    void Reserve(int frames);
    // Adds the passes of the frame `timer` last collected. A name that runs more than once in
    // the frame (two scenes meeting draw the same steps) counts once, with its times added.
    // Frames beyond the reserved count and names beyond kMaxNames are left out, and counted.
    void AddFrame(const VantorGL::cPassTimer& timer);

    int Count() const { return count; }
    const sPass& Pass(int index) const { return passes[index]; }
    // Pass times that had no room (too many names or frames).
    int LeftOut() const { return leftOut; }

private:
    int Slot(const char* name);

    sPass passes[kMaxNames];
    int count = 0;
    int capacity = 0;
    int leftOut = 0;
};
