// Failing picture tests keep their frames under the build folder and name them in one more
// failure line: KeepFrameIfFailed at the end of a test, KeepFrameOnFailure around one frame's
// checks, ExpectSameFrame for two frames that must match (tests only; the benchmarks have no gtest).
#pragma once

#include "support/DemoHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

// Keeps a harness-sized frame (a copy) when a check fails while the keeper lives: declare it in
// the block that holds that frame's checks, and only that frame's failures keep it.
class KeepFrameOnFailure {
public:
    KeepFrameOnFailure(std::vector<std::uint8_t> rgba, std::string frameName)
        : frame(std::move(rgba)), name(std::move(frameName)), failuresBefore(FailureCount()) {}
    ~KeepFrameOnFailure() {
        if (FailureCount() > failuresBefore)
            ADD_FAILURE() << "the failing frame is kept in "
                          << DemoHarness::KeepFrame(frame, DemoHarness::kWidth, DemoHarness::kHeight, name);
    }
    KeepFrameOnFailure(const KeepFrameOnFailure&) = delete;
    KeepFrameOnFailure& operator=(const KeepFrameOnFailure&) = delete;

private:
    // Failures (and skips) recorded so far by the running test.
    static int FailureCount() {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return test ? test->result()->total_part_count() : 0;
    }

    std::vector<std::uint8_t> frame;
    std::string name;
    int failuresBefore;
};

}  // namespace VantorGLTest
