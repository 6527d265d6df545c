// Tests for quenlite-capture's sound and video: the WAV writer, the ffmpeg argument vector and
// pipe, and the tool end to end with a stand-in ffmpeg (a script that records its arguments and
// counts the bytes on its stdin), with no ffmpeg at all, and with one that fails.
#include "capture/CaptureSpan.h"
#include "capture/VideoPipe.h"
#include "capture/WavWriter.h"

#include "assets/Mp3Decoder.h"

#include "support/FileBytes.h"
#include "support/GeneratedData.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace VantorGLTest;

namespace {

struct Wav {
    bool ok = false;
    int format = 0, channels = 0, rate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::uint32_t riffSize = 0, dataSize = 0;
    std::vector<std::int16_t> samples;
};

std::uint32_t Le(const std::string& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | std::uint8_t(bytes[at + i]);
    return value;
}

// Reads a canonical 44-byte-header WAV file as WavWriter writes it.
Wav ReadWav(const fs::path& path) {
    Wav wav;
    const std::string bytes = ReadText(path);
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 8, "WAVEfmt ") != 0 ||
        bytes.compare(36, 4, "data") != 0)
        return wav;
    wav.riffSize = Le(bytes, 4, 4);
    wav.format = int(Le(bytes, 20, 2));
    wav.channels = int(Le(bytes, 22, 2));
    wav.rate = int(Le(bytes, 24, 4));
    wav.byteRate = int(Le(bytes, 28, 4));
    wav.blockAlign = int(Le(bytes, 32, 2));
    wav.bits = int(Le(bytes, 34, 2));
    wav.dataSize = Le(bytes, 40, 4);
    if (wav.dataSize != bytes.size() - 44 || wav.riffSize != bytes.size() - 8) return wav;
    for (std::size_t at = 44; at + 1 < bytes.size(); at += 2) wav.samples.push_back(std::int16_t(Le(bytes, at, 2)));
    wav.ok = true;
    return wav;
}

void WriteScript(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\nPATH=/usr/bin:/bin\n" << body;
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
}

// Runs quenlite-capture in a data home of its own (its debug.log goes with the folder) with PATH
// set as given.
ProgramResult RunCapture(const std::vector<std::string>& arguments, const std::string& path) {
    const DataHome home("capture-video");
    return RunProgram(BuiltProgram("quenlite-capture"), arguments, home.Path(), {{"PATH", path}});
}


}  // namespace

TEST(CaptureWav, HeaderAndSamplesOfAStretchWithSilenceOutside) {
    VantorGL::cPcmBuffer pcm;
    pcm.rate = 44100;
    pcm.channels = 2;
    for (int n = 0; n < 100; ++n) {
        pcm.samples.push_back(std::int16_t(n * 300 - 15000));
        pcm.samples.push_back(std::int16_t(-n));
    }
    ScratchFolder scratch("capture-wav");
    const fs::path& folder = scratch.Path();
    // Frames -5..144: five before the stream, all 100, fifty past its end.
    ASSERT_TRUE(WriteWavSpan((folder / "a.wav").string(), pcm, -5, 150));
    Wav wav = ReadWav(folder / "a.wav");
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.format, 1);
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_EQ(wav.byteRate, 44100 * 4);
    EXPECT_EQ(wav.blockAlign, 4);
    EXPECT_EQ(wav.bits, 16);
    ASSERT_EQ(wav.samples.size(), 300u);
    for (int f = 0; f < 150; ++f) {
        int source = f - 5;
        bool inside = source >= 0 && source < 100;
        EXPECT_EQ(wav.samples[2 * f], inside ? pcm.samples[2 * source] : 0) << f;
        EXPECT_EQ(wav.samples[2 * f + 1], inside ? pcm.samples[2 * source + 1] : 0) << f;
    }
    // No music at all: a silent file of the asked length; nothing asked: a header alone.
    ASSERT_TRUE(WriteWavSpan((folder / "b.wav").string(), VantorGL::cPcmBuffer{}, 0, 20000));
    Wav silent = ReadWav(folder / "b.wav");
    ASSERT_TRUE(silent.ok);
    EXPECT_EQ(silent.samples.size(), 40000u);
    EXPECT_EQ(silent.rate, 44100);
    EXPECT_EQ(std::count(silent.samples.begin(), silent.samples.end(), 0), 40000);
    ASSERT_TRUE(WriteWavSpan((folder / "c.wav").string(), pcm, 0, 0));
    EXPECT_TRUE(ReadWav(folder / "c.wav").ok);
    // A folder that is not there: false, no crash.
    EXPECT_FALSE(WriteWavSpan((folder / "none" / "d.wav").string(), pcm, 0, 10));
}

TEST(CaptureVideo, FfmpegArgumentsDescribeTheRawStreamAndTheCodecs) {
    VideoSettings settings;
    settings.width = 1280;
    settings.height = 720;
    settings.fps = 60;
    settings.wavPath = "/tmp/q.wav";
    settings.outputPath = "-odd:name.mp4";
    const std::vector<std::string> args = FfmpegArguments(settings);
    // The value after the n-th (from 0) occurrence of `flag`, "" when there is none.
    auto after = [&](const std::string& flag, int n = 0) -> std::string {
        for (std::size_t i = 0; i + 1 < args.size(); ++i)
            if (args[i] == flag && n-- == 0) return args[i + 1];
        return "";
    };
    ASSERT_FALSE(args.empty());
    EXPECT_EQ(args.front(), "ffmpeg");
    // The raw input is exactly what the frame writer sends down the pipe.
    EXPECT_EQ(after("-f"), "rawvideo");
    EXPECT_EQ(after("-pixel_format"), "rgb24");
    EXPECT_EQ(after("-video_size"), "1280x720");
    EXPECT_EQ(after("-framerate"), "60");
    EXPECT_EQ(after("-i", 0), "pipe:0");
    // Paths go through the file: protocol, so a name with a dash or a colon stays a file name.
    EXPECT_EQ(after("-i", 1), "file:/tmp/q.wav");
    EXPECT_EQ(args.back(), "file:-odd:name.mp4");
    // Both streams are in the output; H.264 in the 4:2:0 layout every player takes.
    EXPECT_EQ(after("-map", 0), "0:v:0");
    EXPECT_EQ(after("-map", 1), "1:a:0");
    EXPECT_EQ(after("-c:v"), "libx264");
    EXPECT_EQ(after("-pix_fmt"), "yuv420p");
    EXPECT_EQ(after("-movflags"), "+faststart");  // MP4: the index first, so it streams
    // Matroska has no use for the QuickTime index flag.
    settings.outputPath = "clip.mkv";
    const std::vector<std::string> matroska = FfmpegArguments(settings);
    EXPECT_EQ(matroska.back(), "file:clip.mkv");
    EXPECT_EQ(std::find(matroska.begin(), matroska.end(), "-movflags"), matroska.end());
}

TEST(CaptureVideo, FindOnPathTakesTheFirstExecutable) {
    ScratchFolder scratch("capture-path");
    const fs::path& folder = scratch.Path();
    fs::create_directories(folder / "a");
    fs::create_directories(folder / "b");
    fs::create_directories(folder / "c" / "tool");  // a folder of that name is no program
    std::ofstream(folder / "a" / "tool") << "not executable";
    WriteScript(folder / "b" / "tool", "exit 0\n");
    std::string path = (folder / "c").string() + ":" + (folder / "a").string() + ":" + (folder / "b").string();
    EXPECT_EQ(FindOnPath("tool", path.c_str()), (folder / "b" / "tool").string());
    EXPECT_EQ(FindOnPath("tool", (folder / "a").string().c_str()), "");
    EXPECT_EQ(FindOnPath("tool", ""), "");
    EXPECT_EQ(FindOnPath("sh", nullptr), "/bin/sh");
}

namespace {
// SIGPIPE ignored while the guard lives (as the capture tool does), the old handler back after.
class IgnoreBrokenPipes {
public:
    IgnoreBrokenPipes() : previous(std::signal(SIGPIPE, SIG_IGN)) {}
    ~IgnoreBrokenPipes() { std::signal(SIGPIPE, previous); }
    IgnoreBrokenPipes(const IgnoreBrokenPipes&) = delete;
    IgnoreBrokenPipes& operator=(const IgnoreBrokenPipes&) = delete;

private:
    void (*previous)(int);
};
}  // namespace

TEST(CaptureVideo, PipeReportsAProgramThatFailsOrStopsReading) {
    IgnoreBrokenPipes ignore;
    std::vector<std::uint8_t> frame(1 << 20, 7);  // bigger than a pipe's buffer
    {
        VideoPipe counting;
        ScratchFolder scratch("capture-pipe");
        const fs::path& folder = scratch.Path();
        ASSERT_TRUE(counting.Start({"sh", "-c", "wc -c > '" + (folder / "n").string() + "'"}));
        EXPECT_TRUE(counting.Write(frame.data(), frame.size()));
        EXPECT_TRUE(counting.Write(frame.data(), 5));
        EXPECT_TRUE(counting.Finish());
        EXPECT_EQ(std::stol(ReadText(folder / "n")), long(frame.size()) + 5);
    }
    {
        VideoPipe quitting;  // reads a little, then leaves: a broken pipe, not a hang
        ASSERT_TRUE(quitting.Start({"sh", "-c", "head -c 10 >/dev/null"}));
        EXPECT_FALSE(quitting.Write(frame.data(), frame.size()) && quitting.Write(frame.data(), frame.size()));
        EXPECT_FALSE(quitting.Finish());
    }
    {
        VideoPipe failing;
        ASSERT_TRUE(failing.Start({"sh", "-c", "cat >/dev/null; exit 3"}));
        EXPECT_TRUE(failing.Write(frame.data(), 100));
        EXPECT_FALSE(failing.Finish());
    }
    VideoPipe missing;
    EXPECT_FALSE(missing.Start({"quenlite-no-such-program-anywhere"}));
    EXPECT_FALSE(missing.Finish());
}

// A data folder whose music is missing: the --wav still holds the span, in silence, and says why.
TEST(CaptureTool, WavWithoutTheMusicIsTheSpanInSilenceWithItsLines) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder scratch("capture-nomusic");
    const fs::path& folder = scratch.Path();
    // The generated data through links, all of it but General/music.mp3.
    fs::create_directories(folder / "data" / "General");
    for (const auto& entry : fs::directory_iterator(GeneratedData()))
        if (entry.path().filename() != "General") fs::create_symlink(entry.path(), folder / "data" / entry.path().filename());
    for (const auto& entry : fs::directory_iterator(GeneratedData() / "General"))
        if (entry.path().filename() != "music.mp3")
            fs::create_symlink(entry.path(), folder / "data" / "General" / entry.path().filename());
    ProgramResult run = RunProgram(BuiltProgram("quenlite-capture"),
                                   {"--wav", (folder / "s.wav").string(), "--from", "0:10", "--to", "0:11", "--fps",
                                    "30", "--size", "64x48", "--quiet"},
                                   folder, {{"SDL_VIDEODRIVER", "offscreen"}});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("MUSIC: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("music.mp3"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("CAPTURE: the demo music did not load: the soundtrack is silent\n"), std::string::npos)
        << run.err;
    const Wav wav = ReadWav(folder / "s.wav");
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.samples.size(), std::size_t(31 * 1470 * 2)) << "frames 300..330, as with the music";
    EXPECT_EQ(std::count(wav.samples.begin(), wav.samples.end(), std::int16_t(0)), std::ptrdiff_t(wav.samples.size()));
}

TEST(CaptureTool, WavHoldsTheEngineDecodersSamplesOfTheSpan) {
    REQUIRE_GENERATED_DATA();
    ScratchFolder scratch("capture-wavtool");
    const fs::path& folder = scratch.Path();
    ProgramResult run = RunCapture(
        {"--wav", (folder / "s.wav").string(), "--from", "0:10", "--to", "0:11", "--fps", "30", "--size", "64x48", "--quiet"},
        std::getenv("PATH"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    Wav wav = ReadWav(folder / "s.wav");
    ASSERT_TRUE(wav.ok);
    EXPECT_EQ(wav.rate, 44100);
    EXPECT_EQ(wav.channels, 2);
    // Frames 300..330 (31 of them) at 1470 samples each, from 10 s into the music.
    ASSERT_EQ(wav.samples.size(), std::size_t(31 * 1470 * 2));
    VantorGL::cPcmBuffer music;
    std::string error;
    ASSERT_TRUE(VantorGL::DecodeMp3File(std::string(QUENLITE_SOURCE_DIR) + "/data/General/music.mp3", music, error,
                                        44100, 2))
        << error;
    ASSERT_GE(music.Frames(), 441000 + 31 * 1470);
    std::vector<std::int16_t> expected(music.samples.begin() + 441000 * 2,
                                       music.samples.begin() + (441000 + 31 * 1470) * 2);
    EXPECT_TRUE(wav.samples == expected);
    EXPECT_GT(std::count_if(expected.begin(), expected.end(), [](std::int16_t s) { return s != 0; }), 1000);

    // Past the end of the music the soundtrack is silence; a --to past the demo is cut with a note.
    run = RunCapture({"--wav", (folder / "end.wav").string(), "--from", "2:46", "--to", "9:00", "--fps", "10", "--size",
                      "64x48", "--quiet"},
                     std::getenv("PATH"));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("2:47"), std::string::npos) << run.err;
    Wav end = ReadWav(folder / "end.wav");
    ASSERT_TRUE(end.ok);
    EXPECT_EQ(end.samples.size(), std::size_t(11 * 4410 * 2));  // frames 1660..1670
    for (std::size_t i = 0; i < end.samples.size(); i += 2) {
        std::int64_t frame = 1660 * 4410 + std::int64_t(i / 2);
        std::int16_t want = frame < music.Frames() ? music.samples[std::size_t(frame) * 2] : 0;
        if (end.samples[i] != want) {
            ADD_FAILURE() << "sample " << frame;
            break;
        }
    }
}

TEST(CaptureTool, VideoPipesEveryFrameToFfmpegWithTheSoundtrack) {
    ScratchFolder scratch("capture-fake");
    const fs::path& folder = scratch.Path();
    fs::path bin = folder / "bin";
    fs::create_directories(bin);
    // The stand-in keeps its arguments and a copy of the soundtrack, and counts stdin's bytes.
    WriteScript(bin / "ffmpeg",
                "dir=$(dirname \"$0\")\n"
                "printf '%s\\n' \"$@\" > \"$dir/args.txt\"\n"
                "for a in \"$@\"; do case \"$a\" in file:*.wav) cp \"${a#file:}\" \"$dir/sound.wav\";; esac; done\n"
                "wc -c > \"$dir/bytes.txt\"\n");
    fs::path video = folder / "out" / "clip.mp4";
    // 0:01 to 0:01.2 at 10 fps: frames 10, 11, 12.
    ProgramResult run = RunCapture(
        {"--video", video.string(), "--from", "0:01", "--to", "1.2", "--fps", "10", "--size", "64x48", "--quiet"},
        bin.string());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(std::stol(ReadText(bin / "bytes.txt")), 3L * 64 * 48 * 3);
    std::string args = ReadText(bin / "args.txt");
    EXPECT_NE(args.find("-video_size\n64x48\n-framerate\n10\n-i\npipe:0\n"), std::string::npos) << args;
    EXPECT_NE(args.find("\nfile:" + video.string() + "\n"), std::string::npos) << args;
    // The soundtrack ffmpeg got covers exactly the three frames, and is gone afterwards.
    Wav sound = ReadWav(bin / "sound.wav");
    ASSERT_TRUE(sound.ok);
    EXPECT_EQ(sound.samples.size(), std::size_t(3 * 4410 * 2));
    std::size_t wavAt = args.find("file:/");
    ASSERT_NE(wavAt, std::string::npos);
    std::string wavPath = args.substr(wavAt + 5, args.find('\n', wavAt) - wavAt - 5);
    EXPECT_FALSE(fs::exists(wavPath)) << wavPath;
}

TEST(CaptureTool, VideoWithoutOrWithAFailingFfmpegSaysSo) {
    ScratchFolder scratch("capture-noffmpeg");
    const fs::path& folder = scratch.Path();
    fs::path empty = folder / "empty";
    fs::create_directories(empty);
    ProgramResult run = RunCapture({"--video", (folder / "v.mp4").string(), "--size", "64x48"}, empty.string());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("CAPTURE: ffmpeg is not installed; --video needs it (apt-get install ffmpeg)"),
              std::string::npos)
        << run.err;
    // Nothing rendered: no start-up report, no frames.
    EXPECT_EQ(run.err.find("start-up"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(folder / "v.mp4"));

    // An ffmpeg that refuses its input at once, and one that stops reading after a little: each a
    // message and exit 1, never a hang. Frames of 256x192 overflow a pipe's buffer.
    fs::path bin = folder / "bin";
    fs::create_directories(bin);
    for (const char* body : {"echo 'ffmpeg: no such codec' >&2\nexit 1\n", "head -c 100 >/dev/null\n"}) {
        WriteScript(bin / "ffmpeg", body);
        run = RunCapture({"--video", (folder / "v.mp4").string(), "--from", "1", "--to", "1.3", "--fps", "10", "--size",
                          "256x192", "--quiet"},
                         bin.string());
        EXPECT_EQ(run.exitCode, 1) << body;
        EXPECT_NE(run.err.find("v.mp4 is not complete"), std::string::npos) << run.err;
    }
}

TEST(CaptureTool, UnwritableOutputsAreNamedBeforeRendering) {
    ScratchFolder scratch("capture-unwritable");
    const fs::path& folder = scratch.Path();
    fs::path bin = folder / "bin";
    fs::create_directories(bin);
    WriteScript(bin / "ffmpeg", "cat >/dev/null\n");
    const std::string path = bin.string() + ":/usr/bin:/bin";
    const std::string blocked = "/dev/null/quenlite";  // under a file: no folder can be made there
    for (const auto& [option, file] : {std::pair{"--out", "/frames"}, std::pair{"--wav", "/s.wav"},
                                       std::pair{"--video", "/v.mp4"}, std::pair{"--sheet", "/s.png"}}) {
        ProgramResult run = RunCapture({option, blocked + file, "--size", "64x48"}, path);
        EXPECT_EQ(run.exitCode, 1) << option;
        EXPECT_NE(run.err.find(blocked), std::string::npos) << run.err;
    }
    // A folder where the file should be.
    ProgramResult run = RunCapture({"--wav", folder.string(), "--size", "64x48"}, path);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("CAPTURE: " + folder.string()), std::string::npos) << run.err;
}
