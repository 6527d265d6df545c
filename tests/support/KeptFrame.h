// KeepFrameIfFailed: the end of a picture test that failed keeps its frame under the build
// folder and names it in one more failure line (tests only; the benchmarks have no gtest).
#pragma once

#include "support/DemoHarness.h"

#include <gtest/gtest.h>

#include <string>

namespace VantorGLTest {

// Expects two frames of the same moment to be byte-identical; when they are not, both are kept,
// named `firstName` and `secondName`, and the failure says where.
inline void ExpectSameFrame(const std::vector<std::uint8_t>& first, const std::vector<std::uint8_t>& second, int ms,
                            const std::string& firstName, const std::string& secondName) {
    EXPECT_TRUE(first == second) << "frame at " << ms << " ms differs; " << firstName << ": "
                                 << DemoHarness::KeepFrame(first, DemoHarness::kWidth, DemoHarness::kHeight,
                                                           firstName + "-" + std::to_string(ms))
                                 << ", " << secondName << ": "
                                 << DemoHarness::KeepFrame(second, DemoHarness::kWidth, DemoHarness::kHeight,
                                                           secondName + "-" + std::to_string(ms));
}

inline void KeepFrameIfFailed(const std::vector<std::uint8_t>& rgba, int width, int height, const std::string& name) {
    if (::testing::Test::HasFailure())
        ADD_FAILURE() << "the failing frame is kept in " << DemoHarness::KeepFrame(rgba, width, height, name);
}

}  // namespace VantorGLTest
