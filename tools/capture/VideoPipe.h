// VideoPipe: quenlite-capture's line to the ffmpeg program. The tool builds ffmpeg's argument
// vector itself and spawns it without a shell; raw RGB frames go down a pipe to its stdin, the
// span's soundtrack comes from a WAV file written before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What ffmpeg needs to know about the stream and where it goes.
struct VideoSettings {
    int width = 0, height = 0;  // frame size in pixels; both even for yuv420p
    int fps = 30;
    std::string wavPath;     // the soundtrack of exactly the frames that follow
    std::string outputPath;  // .mp4, .mkv or .mov: ffmpeg picks the container by the ending
};

// The full argument vector, program name first: rawvideo rgb24 frames of the given size and rate
// on stdin and the WAV as inputs; H.264 (libx264, yuv420p) and AAC out. File names go as
// "file:..." so that a name with a colon or a leading dash is never read as a protocol or option.
std::vector<std::string> FfmpegArguments(const VideoSettings& settings);

// The first executable regular file called `name` in the colon-separated `searchPath` (the value
// of PATH; nullptr means the system's default path). An empty entry means the current folder, as
// for execvp. Empty when there is none. On Windows the list is separated by semicolons and
// `name` may go without its ".exe".
std::string FindOnPath(const std::string& name, const char* searchPath);

class VideoPipe {
public:
    VideoPipe() = default;
    ~VideoPipe();  // a pipe still open is closed and its program waited for
    VideoPipe(const VideoPipe&) = delete;
    VideoPipe& operator=(const VideoPipe&) = delete;

    // Spawns arguments[0] (looked up on PATH by posix_spawnp) with a pipe on its stdin; stdout and
    // stderr are shared with this process. False with a "CAPTURE: ..." line when it cannot start.
    // The caller ignores SIGPIPE, so a program that quits early shows up as a write error.
    bool Start(const std::vector<std::string>& arguments);

    // Writes all of `bytes` to the program's stdin. False (one "CAPTURE: ..." line, the first
    // time) when the pipe is broken or closed: the program has stopped reading.
    bool Write(const std::uint8_t* data, std::size_t bytes);

    // Closes stdin (end of stream) and waits for the program. True when it exited with status 0;
    // otherwise one "CAPTURE: ..." line naming the status or signal. False when never started.
    bool Finish();

    bool Running() const { return child > 0; }

private:
    // The child and the write end of the pipe to its stdin: a process id and a file descriptor
    // on Linux, two handles on Windows; -1 when there is none.
    std::intptr_t child = -1;
    std::intptr_t input = -1;
    bool broken = false;
    std::string program;  // for messages
};
