// KeepFrameIfFailed: the end of a picture test that failed keeps its frame under the build
// folder and names it in one more failure line (tests only; the benchmarks have no gtest).
#pragma once

#include "support/DemoHarness.h"

#include <gtest/gtest.h>

namespace VantorGLTest {

inline void KeepFrameIfFailed(const std::vector<std::uint8_t>& rgba, int width, int height, const std::string& name) {
    if (::testing::Test::HasFailure())
        ADD_FAILURE() << "the failing frame is kept in " << DemoHarness::KeepFrame(rgba, width, height, name);
}

}  // namespace VantorGLTest
