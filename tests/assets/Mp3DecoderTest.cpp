// Tests for DecodeMp3File: format, exact length and conversion of LAME-written files, and the
// reasons given for files that are not music.
#include "assets/Mp3Decoder.h"
#include "assets/FrequencyAnalyser.h"
#include "support/FileBytes.h"
#include "support/Mp3TestFile.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>

using VantorGL::cPcmBuffer;
using VantorGL::DecodeMp3File;
using namespace VantorGLTest;

constexpr int kMp3FrameSamples = 1152;  // one MPEG-1 Layer III frame

// Bin of the strongest magnitude in the 512 frames starting at `frame`.
static int PeakBin(const cPcmBuffer& pcm, std::int64_t frame) {
    VantorGL::cFrequencyAnalyser analyser;
    float out[VantorGL::cFrequencyAnalyser::kBins];
    analyser.Analyse(pcm.samples.data() + frame * pcm.channels, pcm.channels, out);
    return int(std::max_element(out, out + VantorGL::cFrequencyAnalyser::kBins) - out);
}

TEST(Mp3Decoder, KeepsTheFilesRateChannelsAndLength) {
    ScratchFolder folder("mp3");
    struct Case { int rate, channels; double seconds; };
    for (const Case c : {Case{44100, 1, 1.0}, Case{44100, 2, 1.5}, Case{22050, 2, 2.0}}) {
        const std::string path = folder.Path("tone.mp3");
        ASSERT_TRUE(WriteMp3(path, MakeTones({{c.seconds, 1000.0, 0.5}}, c.rate, c.channels), c.rate, c.channels));
        cPcmBuffer pcm;
        std::string error;
        ASSERT_TRUE(DecodeMp3File(path, pcm, error)) << error;
        EXPECT_EQ(pcm.rate, c.rate);
        EXPECT_EQ(pcm.channels, c.channels);
        EXPECT_NEAR(double(pcm.Frames()), c.seconds * c.rate, kMp3FrameSamples) << c.rate << " Hz";
        EXPECT_NEAR(pcm.DurationSeconds(), c.seconds, double(kMp3FrameSamples) / c.rate);
    }
}

TEST(Mp3Decoder, ConvertsOtherRatesAndMonoToDeviceFormat) {
    ScratchFolder folder("mp3");
    const std::string path = folder.Path("low.mp3");
    // 22050 Hz mono, a tone that sits on bin 20 once played at 44100 Hz (20 * 44100 / 512 Hz).
    const double hertz = 20 * 44100.0 / 512;
    ASSERT_TRUE(WriteMp3(path, MakeTones({{2.0, hertz, 0.5}}, 22050, 1), 22050, 1));
    cPcmBuffer pcm;
    std::string error;
    ASSERT_TRUE(DecodeMp3File(path, pcm, error, 44100, 2)) << error;
    EXPECT_EQ(pcm.rate, 44100);
    EXPECT_EQ(pcm.channels, 2);
    EXPECT_NEAR(pcm.DurationSeconds(), 2.0, 2.0 * kMp3FrameSamples / 44100.0);
    EXPECT_EQ(PeakBin(pcm, 44100), 20);
    EXPECT_EQ(pcm.samples[2 * 44100], pcm.samples[2 * 44100 + 1]);  // mono spread to both sides
}

TEST(Mp3Decoder, RefusesWhatIsNotMusicWithAReason) {
    ScratchFolder folder("mp3");
    cPcmBuffer pcm;
    pcm.samples.assign(10, 1);
    std::string error;
    EXPECT_FALSE(DecodeMp3File(folder.Path("missing.mp3"), pcm, error));
    EXPECT_NE(error.find("cannot open file"), std::string::npos) << error;
    EXPECT_TRUE(pcm.samples.empty());

    for (const std::string& content : {std::string(), std::string("this is not an mp3 file\n")}) {
        const std::string path = folder.Path("text.mp3");
        std::ofstream(path) << content;
        error.clear();
        EXPECT_FALSE(DecodeMp3File(path, pcm, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(pcm.Frames(), 0);
    }
}

TEST(Mp3Decoder, TruncatedFileKeepsTheFramesBeforeTheCut) {
    ScratchFolder folder("mp3");
    const std::string path = folder.Path("cut.mp3");
    ASSERT_TRUE(WriteMp3(path, MakeTones({{2.0, 1000.0, 0.5}}, 44100, 2), 44100, 2));
    const std::string bytes = ReadText(path);
    ASSERT_TRUE(WriteText(path, bytes.substr(0, bytes.size() / 2)));
    cPcmBuffer pcm;
    std::string error;
    ASSERT_TRUE(DecodeMp3File(path, pcm, error)) << error;
    EXPECT_GT(pcm.DurationSeconds(), 0.5);
    EXPECT_LT(pcm.DurationSeconds(), 1.5);
}

// Damage that still decodes is noted, never confused with a whole file: the note is empty for
// intact LAME files at every rate, says "ends early" for one cut in half and names the frame
// counts when a frame header is overwritten.
TEST(Mp3Decoder, NotesStreamsThatAreCutShortOrDamaged) {
    ScratchFolder folder("mp3");
    for (int rate : {44100, 22050}) {
        const std::string path = folder.Path("whole.mp3");
        ASSERT_TRUE(WriteMp3(path, MakeTones({{3.0, 440.0, 0.5}}, rate, 2), rate, 2));
        cPcmBuffer pcm;
        std::string error, note = "stale";
        ASSERT_TRUE(DecodeMp3File(path, pcm, error, 44100, 2, &note)) << error;
        EXPECT_EQ(note, "") << rate << " Hz";
    }
    const std::string path = folder.Path("cut.mp3");
    ASSERT_TRUE(WriteMp3(path, MakeTones({{3.0, 440.0, 0.5}}, 44100, 2), 44100, 2));
    const std::string bytes = ReadText(path);
    ASSERT_TRUE(WriteText(path, bytes.substr(0, bytes.size() / 2)));
    cPcmBuffer pcm;
    std::string error, note;
    ASSERT_TRUE(DecodeMp3File(path, pcm, error, 0, 0, &note)) << error;
    EXPECT_NEAR(pcm.DurationSeconds(), 1.5, 0.1);  // what is there still plays
    EXPECT_EQ(note.rfind("stream ends early: ", 0), 0u) << note;

    // A run of 0xFF over the middle frame header: the decoder resynchronises; the count differs.
    const std::string damaged = folder.Path("damaged.mp3");
    std::string overwritten = bytes;
    std::size_t header = overwritten.find("\xff\xfb", overwritten.size() / 2);
    ASSERT_NE(header, std::string::npos);
    for (std::size_t i = header; i < header + 64; ++i) overwritten[i] = '\xff';
    ASSERT_TRUE(WriteText(damaged, overwritten));
    ASSERT_TRUE(DecodeMp3File(damaged, pcm, error, 0, 0, &note)) << error;
    EXPECT_FALSE(note.empty());
}

// Found by the MP3 fuzz target: single MPEG-2.5 frames whose Info tag libmpg123 trusts while it
// converts the rate, counting the converted length frame by frame for half a minute and more.
// They announce billions of frames (with an encoder delay; without one, which a damaged LAME part
// leaves unknown; with no audio the plain decoder finds after it) or an encoder delay and padding
// longer than the stream. The tag is ignored as damaged; what decodes, decodes as plain audio.
TEST(Mp3Decoder, ADamagedTagIsIgnoredWhenConverting) {
    for (const char* name : {"mp3-info-tag-claims-billions-of-frames.mp3",
                             "mp3-info-tag-without-delay-claims-billions-of-frames.mp3",
                             "mp3-info-tag-without-audio-claims-billions-of-frames.mp3",
                             "mp3-info-tag-announces-no-samples.mp3"}) {
        const std::string path = std::string(QUENLITE_SOURCE_DIR) + "/tests/assets/inputs/" + name;
        cPcmBuffer pcm;
        std::string error, note;
        // The fault was a decode that took a minute: give it far more than it needs (a few
        // milliseconds) and end the test program, saying so, rather than hang CTest.
        auto decoding = std::async(std::launch::async, [&] { return DecodeMp3File(path, pcm, error, 44100, 2, &note); });
        if (decoding.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
            std::fprintf(stderr, "TEST: %s still decoding after 30 s\n", name);
            std::fflush(stderr);
            std::_Exit(1);
        }
        const bool decoded = decoding.get();
        EXPECT_EQ(note.rfind("damaged stream: its header announces ", 0), 0u) << name << ": " << note;
        // Each still holds a frame or two of audio: what decodes plays, and not for long.
        EXPECT_TRUE(decoded) << name << ": " << error;
        EXPECT_GT(pcm.Frames(), 0u) << name;
        EXPECT_LT(pcm.DurationSeconds(), 5.0) << name;
    }
}
