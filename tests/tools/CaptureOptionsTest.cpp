// Tests for quenlite-capture's command line in process (what is accepted and how it is adjusted)
// and for the span arithmetic that ties frames to soundtrack samples.
#include "capture/CaptureOptions.h"
#include "capture/CaptureSpan.h"
#include "capture/ProgressLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Parses a command line given as words after the program name.
bool Parse(std::vector<std::string> words, CaptureOptions& options, std::string& error) {
    words.insert(words.begin(), "quenlite-capture");
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    return ParseCaptureOptions(int(argv.size()), argv.data(), options, error);
}

}  // namespace

TEST(CaptureOptions, SoundAndVideoAreOutputsOfTheirOwn) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--wav", "a.wav", "--from", "0:10", "--to", "11"}, options, error)) << error;
    EXPECT_EQ(options.wavPath, "a.wav");
    EXPECT_EQ(options.fromMs, 10000);
    EXPECT_EQ(options.toMs, 11000);
    EXPECT_TRUE(options.SpanMode());

    CaptureOptions both;
    ASSERT_TRUE(Parse({"--video", "Clip.MKV", "--out", "/tmp/f", "--wav", "s.wav"}, both, error)) << error;
    EXPECT_EQ(both.videoPath, "Clip.MKV");
    EXPECT_TRUE(both.note.empty());
}

TEST(CaptureOptions, ToPastTheEndIsCutToTheEndWithANote) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--wav", "a.wav", "--from", "2:40", "--to", "3:00"}, options, error)) << error;
    EXPECT_EQ(options.toMs, 167000);
    EXPECT_NE(options.note.find("2:47"), std::string::npos);
    // --from past the end has nothing left to record: refused.
    EXPECT_FALSE(Parse({"--wav", "a.wav", "--from", "2:48", "--to", "3:00"}, options, error));
}

TEST(CaptureOptions, HelpWinsOverEverythingAfterIt) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--help", "--bogus"}, options, error));
    EXPECT_TRUE(options.help);
    // The help names every option the parser knows.
    for (const char* option : {"--out", "--wav", "--video", "--from", "--to", "--fps", "--size", "--at", "--sheet",
                               "--quiet", "--help", "Exit codes", "ffmpeg"})
        EXPECT_NE(std::string(kCaptureHelp).find(option), std::string::npos) << option;
}

TEST(CaptureOptions, BadCombinationsSayWhy) {
    struct Case {
        std::vector<std::string> words;
        const char* reason;
    } cases[] = {
        {{}, "nothing to write"},
        {{"--fps", "30"}, "nothing to write"},
        {{"--wav", "a.wav", "--at", "1"}, "span"},
        {{"--video", "a.mp4", "--sheet", "s.png"}, "span"},
        {{"--at", "1"}, "nothing to write"},  // moments go to --sheet or --out only
        {{"--video", "a.avi"}, ".mp4"},
        {{"--video", "a"}, ".mp4"},
        {{"--video", "a.mp4", "--size", "101x100"}, "even"},
        {{"--video", "a.mp4", "--size", "100x75"}, "even"},
        {{"--wav", "a.wav", "--from", "0:20", "--to", "0:10"}, "after --to"},
        {{"--wav", "a.wav", "--fps", "0"}, "--fps"},
        {{"--wav", "a.wav", "--fps", "100000"}, "--fps"},
        {{"--wav", ""}, "--wav"},
        {{"--video", "a.mp4", "--from", "0.101", "--to", "0.12", "--fps", "10"}, "no frame"},  // between 0.1 and 0.2
    };
    for (const Case& c : cases) {
        CaptureOptions options;
        std::string error;
        EXPECT_FALSE(Parse(c.words, options, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    // Odd sizes are fine for PNG frames; only the H.264 video needs even ones.
    CaptureOptions options;
    std::string error;
    EXPECT_TRUE(Parse({"--out", "/tmp/x", "--size", "101x75"}, options, error)) << error;
}

TEST(CaptureSpan, FramesAndSamplesOfASpan) {
    // 0:10 to 0:11 at 30 fps: frames 300..330, both ends included, 1470 samples each.
    CaptureSpan span = CaptureSpan::Of(10000, 11000, 30);
    EXPECT_EQ(span.firstFrame, 300);
    EXPECT_EQ(span.lastFrame, 330);
    EXPECT_EQ(span.Frames(), 31);
    EXPECT_EQ(span.SpanFirstSample(), 441000);
    EXPECT_EQ(span.SpanSamples(), 31 * 1470);

    // At 7 fps the frames lie at truncated milliseconds (142, 285, ...) and the samples at
    // rounded ones: 6300 per frame exactly; at 60 fps 735.
    CaptureSpan seven = CaptureSpan::Of(100, 300, 7);
    EXPECT_EQ(seven.firstFrame, 1);  // 142 ms
    EXPECT_EQ(seven.lastFrame, 2);   // 285 ms; frame 3 is at 428
    EXPECT_EQ(seven.FrameTimeMs(2), 285);

    // Frames that do not divide 44100 evenly still tile the soundtrack without gaps or overlap.
    CaptureSpan odd = CaptureSpan::Of(0, 1000, 23);
    for (int n = 0; n < 23; ++n) {
        std::int64_t length = odd.FirstSample(n + 1) - odd.FirstSample(n);
        EXPECT_TRUE(length == 1917 || length == 1918) << n;  // 44100 / 23 = 1917.4
    }
    EXPECT_EQ(odd.FirstSample(23), 44100);

    // A span between two frames holds none.
    EXPECT_EQ(CaptureSpan::Of(101, 120, 10).Frames(), 0);
    EXPECT_EQ(CaptureSpan::Of(101, 120, 10).SpanSamples(), 0);
    // The end of the demo at any rate is a frame of its own.
    for (int fps : {1, 7, 24, 30, 60, 240}) {
        CaptureSpan whole = CaptureSpan::Of(0, 167000, fps);
        EXPECT_EQ(whole.FrameTimeMs(whole.lastFrame), 167000) << fps;
    }
}

TEST(CaptureProgress, LineTellsDoneRateAndTimeLeft) {
    char line[128];
    FormatProgress(line, sizeof line, 120, 301, 4.2);
    EXPECT_STREQ(line, "CAPTURE: 120/301 frames, 4.2 fps, 0:43 left");
    FormatProgress(line, sizeof line, 1, 5011, 0.0);
    EXPECT_STREQ(line, "CAPTURE: 1/5011 frames, 0.0 fps, ? left");
    FormatProgress(line, sizeof line, 10, 5011, 1.0);
    EXPECT_STREQ(line, "CAPTURE: 10/5011 frames, 1.0 fps, 1:23:21 left");
}

TEST(CaptureProgress, PlainLinesEveryFewSecondsAndTheLast) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    ASSERT_NE(out, nullptr);
    ProgressLine progress(out, false, 100);
    auto t0 = ProgressLine::Clock::time_point{} + std::chrono::hours(1);
    for (int done = 1; done <= 100; ++done) progress.Frame(done, t0 + std::chrono::milliseconds(200) * done);
    std::fclose(out);
    std::string printed(text, size);
    std::free(text);
    // 20 s of frames: the first, one every 5 s, and the last; every line whole, no \r.
    int lines = 0;
    for (char c : printed) lines += c == '\n';
    EXPECT_GE(lines, 4);
    EXPECT_LE(lines, 6);
    EXPECT_EQ(printed.find('\r'), std::string::npos);
    EXPECT_NE(printed.find("100/100 frames, 5.0 fps, 0:00 left\n"), std::string::npos);
}

// On a terminal: one line rewritten in place a few times a second, each rewrite clearing what a
// longer one left, and a newline only once the last frame is in (or the run ends early).
TEST(CaptureProgress, OnATerminalOneLineIsRewrittenInPlace) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    ASSERT_NE(out, nullptr);
    auto t0 = ProgressLine::Clock::time_point{} + std::chrono::hours(1);
    {
        ProgressLine progress(out, true, 100);
        for (int done = 1; done <= 100; ++done) progress.Frame(done, t0 + std::chrono::milliseconds(200) * done);
        progress.End();  // after the last frame: nothing more
        ProgressLine cut(out, true, 100);
        for (int done = 1; done <= 10; ++done) cut.Frame(done, t0 + std::chrono::milliseconds(200) * done);
        cut.End();
    }
    std::fclose(out);
    const std::string printed(text, size);
    std::free(text);
    const std::size_t firstEnd = printed.find('\n');
    ASSERT_NE(firstEnd, std::string::npos) << printed;
    const std::string whole = printed.substr(0, firstEnd);
    const auto rewrites = std::count(whole.begin(), whole.end(), '\r');
    EXPECT_GE(rewrites, 40) << "every 250 ms over 20 s";
    EXPECT_LE(rewrites, 100) << "not every frame";
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\033'), rewrites) << "a rewrite that leaves a longer line's end";
    const std::string last = "\rCAPTURE: 100/100 frames, 5.0 fps, 0:00 left\033[K";
    ASSERT_GE(whole.size(), last.size());
    EXPECT_EQ(whole.substr(whole.size() - last.size()), last);
    // The run cut short ends its line too: two lines in all.
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2) << printed;
    EXPECT_EQ(printed.back(), '\n');
}
