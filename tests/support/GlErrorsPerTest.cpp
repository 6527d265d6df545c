// Each test answers for its own GL errors: the demo harness forgets what earlier tests left
// before every test starts, so one bad frame fails the test that drew it and no later one.
#include "support/DemoHarness.h"

#include <gtest/gtest.h>

namespace VantorGLTest {
namespace {

class GlErrorsPerTest final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { DemoHarness::ForgetGlErrors(); }
};

// Registered before main: gtest_main's InitGoogleTest keeps listeners appended earlier.
const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new GlErrorsPerTest);
    return true;
}();

}  // namespace
}  // namespace VantorGLTest
