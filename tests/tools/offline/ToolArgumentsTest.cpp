// Tests for the offline programs' shared command-line values: one TIME syntax that capture, bench
// and studio all read the same way, and times written back in a form they read.
#include "offline/ToolArguments.h"

#include "bench/BenchOptions.h"
#include "capture/CaptureOptions.h"
#include "studio/StudioOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// argv for a parser: the program name, then `words`.
struct Arguments {
    explicit Arguments(std::vector<std::string> words) : words(std::move(words)) {
        this->words.insert(this->words.begin(), "quenlite");
        for (std::string& word : this->words) argv.push_back(word.data());
    }
    int Count() const { return int(argv.size()); }
    std::vector<std::string> words;
    std::vector<char*> argv;
};

// What each of the three programs makes of `time` where it takes one (capture's --from, bench's
// --span, studio's --from); -1 where it refuses it.
struct ThreeReadings {
    int capture = -1, bench = -1, studio = -1;
};

ThreeReadings ReadEverywhere(const std::string& time) {
    ThreeReadings read;
    std::string error;
    CaptureOptions capture;
    Arguments captureLine({"--wav", "a.wav", "--from", time, "--to", "2:47"});
    if (ParseCaptureOptions(captureLine.Count(), captureLine.argv.data(), capture, error)) read.capture = capture.fromMs;
    BenchOptions bench;
    Arguments benchLine({"--span", time + "-" + time});
    if (ParseBenchOptions(benchLine.Count(), benchLine.argv.data(), bench, error)) read.bench = bench.spans.at(0).fromMs;
    QuenliteStudio::StudioOptions studio;
    Arguments studioLine({"--from", time});
    if (QuenliteStudio::ParseStudioOptions(studioLine.Count(), studioLine.argv.data(), studio, error))
        read.studio = studio.fromMs;
    return read;
}

}  // namespace

TEST(ToolArguments, CaptureBenchAndStudioReadOneTimeSyntax) {
    const struct {
        const char* text;
        int ms;  // -1: refused by all three
    } cases[] = {
        {"1:17.5", 77500}, {"77.5", 77500}, {"1:17.500", 77500}, {"0:00.25", 250}, {"2:47", 167000},
        {"0:10.5", 10500},  // an ordinary fraction, not the demo's own time codes (10005)
        {"1:60", -1},       {"1.5:00", -1},   {"-1", -1},        {"+1", -1},         {"1:", -1},
        {"ten", -1},        {"", -1},
    };
    for (const auto& c : cases) {
        const ThreeReadings read = ReadEverywhere(c.text);
        EXPECT_EQ(read.capture, c.ms) << "capture reads \"" << c.text << "\"";
        EXPECT_EQ(read.bench, c.ms) << "bench reads \"" << c.text << "\"";
        EXPECT_EQ(read.studio, c.ms) << "studio reads \"" << c.text << "\"";
    }
}

TEST(ToolArguments, FormattedTimesReadBackAsTheirMilliseconds) {
    char text[24];
    for (int ms : {0, 7, 999, 59999, 77500, 167000}) {
        FormatToolTime(ms, text, sizeof text);
        int back = -1;
        EXPECT_TRUE(ParseToolTime(text, back)) << text;
        EXPECT_EQ(back, ms) << text;
    }
    FormatToolTime(77500, text, sizeof text);
    EXPECT_STREQ(text, "1:17.500");
}
