// Tests for quenlite-bench's command line: every bad argument is a usage message and exit 2; a
// short span gives one JSON object a machine can read, with an entry for every timeline scene.
#include "timeline/Timeline.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace {

std::string BenchCommand(const std::string& arguments) {
    return std::string(QUENLITE_BINARY_DIR) + "/quenlite-bench " + arguments;
}

int RunBench(const std::string& arguments) {
    int status = std::system((BenchCommand(arguments) + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the bench and returns its standard output; `exitCode` gets its exit status.
std::string RunBenchOutput(const std::string& arguments, int& exitCode) {
    std::string output;
    FILE* pipe = popen((BenchCommand(arguments) + " 2>/dev/null").c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer;
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), got);
    int status = pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

// A light look at JSON: one object, brackets balanced outside strings, and every value that is
// not a string, object, array, null or boolean reads whole as a number.
void ExpectJsonShape(const std::string& json) {
    std::size_t first = json.find_first_not_of(" \n");
    std::size_t last = json.find_last_not_of(" \n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(json[first], '{');
    EXPECT_EQ(json[last], '}');
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        char c = json[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
            ASSERT_GE(depth, 0) << "closes before it opens at " << i;
            if (depth == 0) {
                EXPECT_EQ(i, last) << "text after the object";
            }
        } else if (c == ':' || c == ',') {
            std::size_t at = json.find_first_not_of(" \n", i + 1);
            if (at == std::string::npos) continue;
            char v = json[at];
            if (v == '"' || v == '{' || v == '[' || json.compare(at, 4, "null") == 0 ||
                json.compare(at, 4, "true") == 0 || json.compare(at, 5, "false") == 0)
                continue;
            char* end = nullptr;
            std::strtod(json.c_str() + at, &end);
            EXPECT_NE(end, json.c_str() + at) << "not a number at " << at << ": " << json.substr(at, 20);
            while (end && *end == ' ') ++end;
            EXPECT_TRUE(end && (*end == ',' || *end == '}' || *end == ']' || *end == '\n'))
                << "number runs into text at " << at << ": " << json.substr(at, 20);
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_FALSE(inString);
}

}  // namespace

TEST(BenchTool, BadArgumentsGiveUsageAndExitCode2) {
    const char* bad[] = {
        "--bogus",
        "--span",           // value missing
        "--span 5",         // no TO
        "--span 3-2",       // backwards
        "--span 1-200",     // past the end of the demo
        "--span -1-2",
        "--span a-b",
        "--every 0",
        "--every ten",
        "--size 1024",
        "--size 8x8",
        "--size 64x48x2",
    };
    for (const char* arguments : bad) EXPECT_EQ(RunBench(arguments), 2) << arguments;
}

TEST(BenchTool, ShortSpanGivesJsonPerScene) {
    int exitCode = -1;
    std::string json = RunBenchOutput("--span 1-1.2 --json --size 64x48", exitCode);
    ASSERT_EQ(exitCode, 0) << json;
    ExpectJsonShape(json);
    EXPECT_NE(json.find("\"selvoHills\""), std::string::npos);
    EXPECT_NE(json.find("\"median\""), std::string::npos);
    EXPECT_NE(json.find("\"renderer\""), std::string::npos);
    // 1.0 to 1.2 s at 30 fps: frames at 1000, 1033, ..., 1200, all in the first scene.
    EXPECT_NE(json.find("{\"name\": \"selvoHills\", \"draw\": {\"frames\": 7,"), std::string::npos) << json;
    // Every row of the timeline has its entry, named and labelled as the table says.
    for (const VantorGL::sTimelineRow& row : VantorGL::kTimeline) {
        EXPECT_NE(json.find(std::string("{\"name\": \"") + row.member + "\""), std::string::npos) << row.member;
        EXPECT_NE(json.find(std::string("\"label\": \"") + row.label + "\"}"), std::string::npos) << row.label;
    }
}
