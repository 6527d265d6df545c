// Tests for the studio's data watch: a rewritten file is reported once its writer is done (two
// polls that see it the same, the second one sooner), a file two members share names both, a
// file that is gone waits, polls come about four times a second whatever the frame rate, and a poll
// allocates nothing.
#include "studio/StudioDataWatch.h"

#include "support/AllocationCounter.h"
#include "support/FileBytes.h"
#include "support/GeneratedData.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace VantorGLTest;
using QuenliteStudio::cStudioDataWatch;

namespace {

constexpr std::int64_t kPoll = cStudioDataWatch::kPollNs;

std::vector<std::string> Members(const cStudioDataWatch& watch) {
    std::vector<std::string> members;
    for (const VantorGL::cDataFile* row : watch.Changed()) members.push_back(row->user);
    return members;
}

}  // namespace

TEST(StudioDataWatch, ARewrittenFileIsReportedOnceItsWriterIsDone) {
    ScratchWorkingFolder folder("data-watch");
    std::filesystem::create_directories("data");
    ASSERT_TRUE(WriteText("data/og2.png", "first"));
    ASSERT_TRUE(WriteText("data/art1.jpg", "first"));
    cStudioDataWatch watch;
    watch.Start();
    std::int64_t now = 0;
    EXPECT_FALSE(watch.Poll(now));
    EXPECT_FALSE(watch.Poll(now += kPoll / 10)) << "polled again within the half second";

    // Seen changed: the next poll that finds it as it was reports it, once; it comes sooner.
    ASSERT_TRUE(WriteText("data/og2.png", "second, longer"));
    EXPECT_FALSE(watch.Poll(now += kPoll));
    EXPECT_FALSE(watch.Poll(now + cStudioDataWatch::kSettleNs - 1));
    ASSERT_TRUE(WriteText("data/og2.png", "third, longer still"));  // still being written
    EXPECT_FALSE(watch.Poll(now += kPoll));
    ASSERT_TRUE(watch.Poll(now += cStudioDataWatch::kSettleNs));
    EXPECT_EQ(Members(watch), std::vector<std::string>{"texOg2"});
    EXPECT_FALSE(watch.Poll(now += kPoll));

    // One file, two members.
    ASSERT_TRUE(WriteText("data/art1.jpg", "second, longer"));
    EXPECT_FALSE(watch.Poll(now += kPoll));
    ASSERT_TRUE(watch.Poll(now += kPoll));
    EXPECT_EQ(Members(watch), (std::vector<std::string>{"texArt1", "texArt1B"}));

    // Gone: nothing to load until it is back.
    std::filesystem::remove("data/og2.png");
    EXPECT_FALSE(watch.Poll(now += kPoll));
    EXPECT_FALSE(watch.Poll(now += kPoll));
    ASSERT_TRUE(WriteText("data/og2.png", "back again"));
    EXPECT_FALSE(watch.Poll(now += kPoll));
    ASSERT_TRUE(watch.Poll(now += kPoll));
    EXPECT_EQ(Members(watch), std::vector<std::string>{"texOg2"});

    // After everything was loaded by hand, what is there counts as loaded.
    ASSERT_TRUE(WriteText("data/og2.png", "by hand, then F5"));
    watch.TakeAsLoaded();
    EXPECT_FALSE(watch.Poll(now += kPoll));
    EXPECT_FALSE(watch.Poll(now += kPoll));
}

// The studio polls while it plays: with every file in place a poll allocates nothing.
TEST(StudioDataWatch, APollOfTheWholeDataFolderAllocatesNothing) {
    REQUIRE_GENERATED_DATA();
    if (!AllocationCounter::Available()) GTEST_SKIP() << "built without the counting operator new";
    const DataHome home("data-watch-alloc");
    const WorkingFolder inside(home.Path());
    cStudioDataWatch watch;
    watch.Start();
    std::int64_t now = 0;
    AllocationCounter::Arm();
    for (int i = 0; i < 4; ++i) watch.Poll(now += kPoll);
    AllocationCounter::Disarm();
    EXPECT_EQ(AllocationCounter::Count(), 0u) << AllocationCounter::Stacks();
}
