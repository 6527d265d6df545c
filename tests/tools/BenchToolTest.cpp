// Tests for quenlite-bench's command line: every bad argument is a usage message and exit 2; a
// short span gives one JSON object a machine can read, with an entry for every timeline scene,
// and with --passes each scene's named passes, whose GPU times fit inside its frames.
#include "timeline/Timeline.h"

#include "support/JsonValue.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace VantorGLTest;

namespace {

// Runs quenlite-bench in a data home of its own, wherever the tests were started.
ProgramResult RunBench(const std::vector<std::string>& arguments) {
    const DataHome home("bench");
    return RunProgram(BuiltProgram("quenlite-bench"), arguments, home.Path());
}

}  // namespace

TEST(BenchTool, BadArgumentsGiveUsageAndExitCode2) {
    const std::vector<std::string> bad[] = {
        {"--bogus"},
        {"--span"},                               // value missing
        {"--span", "5"},                          // no TO
        {"--span", "3-2"},                        // backwards
        {"--span", "1-200"},                      // past the end of the demo
        {"--span", "-1-2"},
        {"--span", "a-b"},
        {"--every", "0"},
        {"--every", "ten"},
        {"--size", "1024"},
        {"--size", "8x8"},
        {"--size", "64x48x2"},
    };
    for (const std::vector<std::string>& arguments : bad) EXPECT_EQ(RunBench(arguments).exitCode, 2) << QuotedArguments(arguments);
}

TEST(BenchTool, ShortSpanGivesJsonPerScene) {
    ProgramResult run = RunBench({"--span", "1-1.2", "--json", "--size", "64x48"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    JsonValue json;
    std::string error;
    ASSERT_TRUE(ParseJson(run.out, json, error)) << error << "\n" << run.out;
    ASSERT_EQ(json.kind, JsonValue::eKind::Object) << run.out;
    ASSERT_NE(json.Find("renderer"), nullptr);
    EXPECT_EQ(json.Find("renderer")->kind, JsonValue::eKind::String);
    const JsonValue* scenes = json.Find("scenes");
    ASSERT_TRUE(scenes && scenes->kind == JsonValue::eKind::Array && !scenes->items.empty()) << run.out;
    // 1.0 to 1.2 s at 30 fps: frames at 1000, 1033, ..., 1200, all in the first scene.
    const JsonValue& first = scenes->items[0];
    ASSERT_TRUE(first.Find("name") && first.Find("draw")) << run.out;
    EXPECT_EQ(first.Find("name")->text, "selvoHills");
    const JsonValue* frames = first.Find("draw")->Find("frames");
    ASSERT_NE(frames, nullptr);
    EXPECT_EQ(frames->number, 7);
    const JsonValue* median = first.Find("draw")->Find("median");
    ASSERT_NE(median, nullptr);
    EXPECT_EQ(median->kind, JsonValue::eKind::Number);
    EXPECT_EQ(first.Find("passes"), nullptr) << "passes are timed only when asked for";
    // Every row of the timeline has its entry, named and labelled as the table says.
    for (const VantorGL::sTimelineRow& row : VantorGL::kTimeline) {
        const JsonValue* entry = nullptr;
        for (const JsonValue& scene : scenes->items)
            if (scene.Find("name") && scene.Find("name")->text == row.member) entry = &scene;
        ASSERT_NE(entry, nullptr) << row.member;
        ASSERT_NE(entry->Find("label"), nullptr) << row.member;
        EXPECT_EQ(entry->Find("label")->text, row.label) << row.member;
    }
}

TEST(BenchTool, PassesListTheSceneStepsWithinTheFrameTime) {
    ProgramResult run = RunBench({"--span", "1-1.2", "--passes", "--json", "--size", "64x48"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    if (run.err.find("BENCH: ") != std::string::npos && run.err.find("timer queries") != std::string::npos)
        GTEST_SKIP() << run.err;
    JsonValue json;
    std::string error;
    ASSERT_TRUE(ParseJson(run.out, json, error)) << error << "\n" << run.out;
    const JsonValue* scenes = json.Find("scenes");
    ASSERT_TRUE(scenes && !scenes->items.empty()) << run.out;
    const JsonValue& first = scenes->items[0];  // selvoHills, as above
    const JsonValue* passes = first.Find("passes");
    ASSERT_TRUE(passes && passes->Find("each") && passes->Find("sum")) << run.out;
    const JsonValue& each = *passes->Find("each");
    ASSERT_GE(each.items.size(), 4u) << run.out;  // content, two blurs, present, overlays...
    double sum = 0.0;
    bool sequencerOverlay = false;
    for (const JsonValue& pass : each.items) {
        ASSERT_TRUE(pass.Find("name") && pass.Find("median") && pass.Find("frames")) << run.out;
        EXPECT_FALSE(pass.Find("name")->text.empty());
        EXPECT_EQ(pass.Find("frames")->number, 7) << pass.Find("name")->text;  // every pass in every frame
        EXPECT_GE(pass.Find("median")->number, 0.0) << pass.Find("name")->text;
        EXPECT_LT(pass.Find("median")->number, 1000.0) << pass.Find("name")->text << ": not milliseconds";
        sum += pass.Find("median")->number;
        sequencerOverlay |= pass.Find("name")->text == "sequencer overlay";
    }
    EXPECT_TRUE(sequencerOverlay) << "the sequencer's own overlay is timed with the scene's passes";
    EXPECT_GT(sum, 0.0) << "the scene's passes drew and took no time at all: the timer reads nothing";
    EXPECT_NEAR(passes->Find("sum")->number, sum, 0.01);
    // How the sum compares with the frame time is the bench's report, not a check: times on a
    // shared machine prove nothing.
}
