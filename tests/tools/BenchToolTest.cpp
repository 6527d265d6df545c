// Tests for quenlite-bench's command line: every bad argument is a usage message and exit 2; a
// short span gives one JSON object a machine can read, with an entry for every timeline scene.
#include "timeline/Timeline.h"

#include "support/JsonValue.h"
#include "support/ProgramRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace VantorGLTest;

namespace {

// Runs quenlite-bench in the test's working directory.
ProgramResult RunBench(const std::vector<std::string>& arguments) {
    return RunProgram(BuiltProgram("quenlite-bench"), arguments, std::filesystem::current_path());
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
