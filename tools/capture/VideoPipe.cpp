// VideoPipe: ffmpeg's argument vector, the same on every system. Starting the program and the
// pipe are the system's: VideoPipePosix.cpp (posix_spawnp) and VideoPipeWin32.cpp (CreateProcessW).
#include "VideoPipe.h"

#include <strings.h>

std::vector<std::string> FfmpegArguments(const VideoSettings& s) {
    std::vector<std::string> args = {
        "ffmpeg", "-hide_banner", "-nostats", "-loglevel", "error", "-y",
        // Input 0: the frames, top row first, exactly as the tool reads them back.
        "-f", "rawvideo", "-pixel_format", "rgb24",
        "-video_size", std::to_string(s.width) + "x" + std::to_string(s.height),
        "-framerate", std::to_string(s.fps), "-i", "pipe:0",
        // Input 1: the soundtrack of the same span.
        "-i", "file:" + s.wavPath,
        "-map", "0:v:0", "-map", "1:a:0",
        "-c:v", "libx264", "-preset", "medium", "-crf", "18", "-pix_fmt", "yuv420p",
        "-c:a", "aac", "-b:a", "192k",
    };
    const std::string& out = s.outputPath;
    const bool quickTime = out.size() >= 4 && (strcasecmp(out.c_str() + out.size() - 4, ".mp4") == 0 ||
                                              strcasecmp(out.c_str() + out.size() - 4, ".mov") == 0);
    if (quickTime) {
        // The index up front: the file plays while it is still being downloaded.
        args.push_back("-movflags");
        args.push_back("+faststart");
    }
    args.push_back("file:" + out);
    return args;
}
