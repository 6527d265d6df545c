// ManualCounter: a clock counter in milliseconds that a test moves by hand, so scene logic runs
// on exactly the frame times the test chooses.
#pragma once

#include "timeline/TimeSystem.h"

namespace VantorGLTest {

class ManualCounter final : public VantorGL::cClockCounter {
public:
    std::int64_t Read() override { return ms; }
    std::int64_t Frequency() override { return 1000; }
    std::int64_t ms = 0;
};

}  // namespace VantorGLTest
