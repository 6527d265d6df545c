// quenlite-capture: plays the demo offline (OfflineDriver: the real application object and Run
// sequence with a fixed-step clock) and records the chosen span as numbered PNG frames, a WAV soundtrack and/or a
// video through ffmpeg, or the chosen times as PNG frames or one contact sheet. Every frame from
// demo time 0 is updated (so every scene's state is what it would be); only the recorded frames
// and a few just before them are drawn, so a late moment is reached in seconds. Unless --quiet,
// it shows its progress and says where the start-up went (everything loads before the first
// frame, so that is the viewer's wait). Chosen times (--at, a contact sheet) are each reached from
// a timeline started over, so the frame at a time depends on that time alone.
#include "CaptureOptions.h"
#include "CaptureSpan.h"
#include "ContactSheet.h"
#include "offline/FrameWriter.h"
#include "ProgressLine.h"
#include "VideoPipe.h"
#include "WavWriter.h"

#include "offline/OfflineDriver.h"
#include "shell/BuildInfo.h"
#include "shell/Console.h"
#include "shell/Platform.h"
#include "shell/ProgramFolders.h"
#include "timeline/DebugSystem.h"
#include "timeline/DemoScene.h"
#include "timeline/Timeline.h"

#include <SDL2/SDL.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// A contact sheet's default: the middle of each scene window of the timeline, in time order,
// each thumbnail labelled with its scene as well as its time.
void SceneMiddles(std::vector<int>& times, std::vector<const char*>& labels) {
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    for (std::size_t i = 0; i < VantorGL::kTimelineRows; ++i) {
        times.push_back((windows[i].startMs + windows[i].endMs) / 2);
        labels.push_back(windows[i].row->label);
    }
}

// Two ways to choose frames: the span --from..--to at every step, or a sorted list of times
// (--at, or a contact sheet's scene middles, each with a label) that the clock lands on exactly.
// A span may also go to a WAV file and to ffmpeg; its soundtrack is written once the demo has
// loaded its music.
class CaptureHooks final : public VantorGL::cFrameHooks {
public:
    CaptureHooks(OfflineDriver& offline, const CaptureOptions& chosen, std::vector<int> times,
                 std::vector<const char*> timeLabels, std::string soundtrackPath)
        : driver(offline),
          application(offline.Application()),
          counter(offline.Counter()),
          options(chosen),
          wanted(std::move(times)),
          labels(std::move(timeLabels)),
          span(CaptureSpan::Of(chosen.fromMs, chosen.toMs, chosen.fps)),
          audioPath(std::move(soundtrackPath)),
          progress(stderr, ::isatty(STDERR_FILENO) != 0, wanted.empty() ? span.Frames() : int(wanted.size())) {}

    void BeforeTick() override {
        if (!soundDone) WriteSoundtrack();
        // Step short instead of past the next wanted time.
        if (!wanted.empty() && next < wanted.size())
            StepToward(counter, Elapsed(), wanted[next]);
        else
            counter.Advance();
    }

    bool ShouldDraw() override {
        if (!DrawsFrames()) return false;
        int now = Elapsed();
        if (!wanted.empty()) return next < wanted.size() && now >= wanted[next] - WarmMs(wanted[next]);
        return now >= options.fromMs - WarmMs(options.fromMs) && now <= options.toMs;
    }

    void AfterDraw() override {
        int now = Elapsed();
        if (failed) return;
        if (!wanted.empty() ? next >= wanted.size() || now < wanted[next] : now < options.fromMs || now > options.toMs)
            return;
        if (!sized) {
            SDL_GL_GetDrawableSize(application.Window(), &width, &height);
            writer.Resize(width, height);
            if (!options.sheetPath.empty()) sheet.Resize(int(wanted.size()), width, height);
            sized = true;
            if (!options.videoPath.empty() && !StartVideo()) return;
        }
        char name[32];
        if (wanted.empty())
            std::snprintf(name, sizeof name, "/%06d.png", frame);
        else
            std::snprintf(name, sizeof name, "/%06dms.png", now);
        if (options.outDir.empty())
            writer.ReadBack();
        else if (!writer.Write(options.outDir + name))
            failed = true;
        if (!options.sheetPath.empty())
            sheet.Place(int(next), writer.Rows(), now, next < labels.size() ? labels[next] : nullptr);
        if (video.Running() && !video.Write(writer.Rows(), std::size_t(width) * height * 3)) failed = true;
        ++next;
        ++written;
        if (!options.quiet) progress.Frame(written);
    }

    // What is drawn before the chosen time `ms`: the frames its frame depends on.
    int WarmMs(int ms) const { return OfflineWarmMs(options.fps, application.demo.FramesOfHistoryAt(ms)); }

    bool ShouldStop() override {
        ++frame;
        if (failed || !DrawsFrames()) return true;
        if (!wanted.empty()) {
            if (next >= wanted.size()) return true;
            // Each chosen time is reached from a timeline started afresh: landing on one time
            // shifts the step grid and draws what a straight play never draws, and neither may
            // reach the next frame.
            if (next > restartedFor) {
                restartedFor = next;
                driver.RestartTimeline();
            }
            return false;
        }
        return Elapsed() >= options.toMs;
    }

    // Closes the video's stream and waits for ffmpeg; true when there was none or it succeeded.
    bool FinishVideo() {
        progress.End();
        if (!video.Running()) return true;
        if (!options.quiet) std::fprintf(stderr, "CAPTURE: ffmpeg is finishing %s\n", options.videoPath.c_str());
        return video.Finish();
    }

    int Written() const { return written; }
    bool Failed() const { return failed; }
    // Whether every asked frame was captured (a run can end early: a closed window).
    bool AllCaptured() const { return wanted.empty() ? !DrawsFrames() || written >= span.Frames() : next >= wanted.size(); }
    const ContactSheet& Sheet() const { return sheet; }
    const CaptureSpan& Span() const { return span; }

private:
    int Elapsed() const { return driver.Elapsed(); }
    // A --wav alone needs no pictures: the run ends once the soundtrack is written.
    bool DrawsFrames() const { return !options.outDir.empty() || !options.sheetPath.empty() || !options.videoPath.empty(); }

    // The span's soundtrack from the stream the demo itself plays (decoded by the engine's own
    // music player), to --wav and, for --video, to the file ffmpeg reads (the same one when both).
    void WriteSoundtrack() {
        soundDone = true;
        if (!wanted.empty() || (options.wavPath.empty() && audioPath.empty())) return;
        const VantorGL::cPcmBuffer& music = application.demo.registry.music.Stream();
        if (music.Frames() == 0) VantorGL::ConsolePrint("CAPTURE", "the demo music did not load: the soundtrack is silent");
        const std::int64_t first = span.SpanFirstSample(), samples = span.SpanSamples();
        if (!options.wavPath.empty() && !WriteWavSpan(options.wavPath, music, first, samples)) failed = true;
        if (!audioPath.empty() && audioPath != options.wavPath && !WriteWavSpan(audioPath, music, first, samples))
            failed = true;
    }

    bool StartVideo() {
        if (width % 2 != 0 || height % 2 != 0) {
            VantorGL::ConsolePrint("CAPTURE", "the window is %dx%d: --video needs an even width and height", width,
                                   height);
            return !(failed = true);
        }
        VideoSettings settings;
        settings.width = width;
        settings.height = height;
        settings.fps = options.fps;
        settings.wavPath = audioPath;
        settings.outputPath = options.videoPath;
        if (!video.Start(FfmpegArguments(settings))) failed = true;
        return !failed;
    }

    OfflineDriver& driver;
    TimedApplication& application;
    VantorGL::cFixedStepCounter& counter;
    const CaptureOptions& options;
    std::vector<int> wanted;  // sorted; empty in span mode
    std::vector<const char*> labels;  // beside each wanted time on a sheet; empty: the times alone
    std::size_t next = 0;     // the first wanted time not yet captured
    std::size_t restartedFor = 0;  // the wanted time the timeline was last started over for
    CaptureSpan span;         // span mode: the frames recorded
    std::string audioPath;    // --video: the WAV ffmpeg reads
    FrameWriter writer;
    ContactSheet sheet;
    VideoPipe video;
    ProgressLine progress;
    int width = 0, height = 0;
    bool sized = false;
    bool soundDone = false;
    bool failed = false;
    int frame = 0;  // index of the frame being made; in span mode demo time is frame * 1000 / fps
    int written = 0;
};

// Makes the folder (and those above it); false with a CAPTURE line naming it when that fails.
bool MakeFolder(const std::filesystem::path& folder) {
    if (folder.empty()) return true;
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made || !std::filesystem::is_directory(folder)) {
        VantorGL::ConsolePrint("CAPTURE", "%s: cannot create the folder", VantorGL::PathText(folder).c_str());
        return false;
    }
    return true;
}

// Whether `path` can be written, found out before minutes of rendering: its folder is made, and
// the file is opened for writing without truncating it (and removed again if it is new).
bool CheckWritable(const std::string& path) {
    const std::filesystem::path file = VantorGL::PathFromText(path);
    if (!MakeFolder(file.parent_path())) return false;
    const bool existed = VantorGL::FileKindOf(path) != VantorGL::eFileKind::Missing;
    errno = 0;
    if (!VantorGL::CanWriteFile(file)) {
        VantorGL::ConsolePrint("CAPTURE", "%s: cannot write: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    std::error_code kept;
    if (!existed) std::filesystem::remove(file, kept);
    return true;
}

// A file removed when this goes out of scope (the temporary soundtrack of --video).
struct TemporaryFile {
    std::string path;
    ~TemporaryFile() {
        std::error_code kept;
        if (!path.empty()) std::filesystem::remove(VantorGL::PathFromText(path), kept);
    }
};

// Moves into the data folder (the files asked for still go below the folder the run started
// in), checks ffmpeg for a video and that every output can be written, and names the soundtrack
// ffmpeg reads (`audioPath`: --wav's file, or `soundtrack`, a file of its own). False, with its
// CAPTURE line said, when the run cannot write what it was asked for.
bool PrepareOutputs(CaptureOptions& options, TemporaryFile& soundtrack, std::string& audioPath) {
    std::error_code noWorking;
    const std::filesystem::path startedIn = std::filesystem::current_path(noWorking);
    VantorGL::EnterDataFolder("CAPTURE");
    if (!noWorking && std::filesystem::current_path(noWorking) != startedIn) {
        for (std::string* path : {&options.outDir, &options.sheetPath, &options.wavPath, &options.videoPath})
            if (!path->empty() && VantorGL::PathFromText(*path).is_relative())
                *path = VantorGL::PathText(startedIn / VantorGL::PathFromText(*path));
    }

    if (!options.videoPath.empty()) {
        if (FindOnPath("ffmpeg", std::getenv("PATH")).empty()) {
            VantorGL::ConsolePrint("CAPTURE", "ffmpeg is not installed; --video needs it (apt-get install ffmpeg)");
            return false;
        }
#ifdef SIGPIPE
        // ffmpeg quitting early must be a write error here, not the end of this process.
        std::signal(SIGPIPE, SIG_IGN);
#endif
    }
    if (!MakeFolder(options.outDir)) return false;
    if (!options.sheetPath.empty() && !MakeFolder(std::filesystem::path(options.sheetPath).parent_path())) return false;
    if (!options.wavPath.empty() && !CheckWritable(options.wavPath)) return false;
    if (!options.videoPath.empty() && !CheckWritable(options.videoPath)) return false;
    if (!options.videoPath.empty()) {
        // ffmpeg reads the soundtrack from --wav when there is one, else from a file of its own.
        if (!options.wavPath.empty()) {
            audioPath = options.wavPath;
        } else {
            std::error_code noTemp;
            std::filesystem::path folder = std::filesystem::temp_directory_path(noTemp);
            if (noTemp) folder = "/tmp";
            soundtrack.path = audioPath = (folder / ("quenlite-capture-" + std::to_string(::getpid()) + ".wav")).string();
            if (!CheckWritable(audioPath)) return false;
        }
    }
    return true;
}

// The files written, one CAPTURE line each (the sheet has its own, once it is written).
void ReportWritten(const CaptureOptions& options, const CaptureHooks& hooks) {
    const CaptureSpan& span = hooks.Span();
    if (!options.outDir.empty())
        std::fprintf(stderr, "CAPTURE: %d frames in %s\n", hooks.Written(), options.outDir.c_str());
    if (!options.wavPath.empty())
        std::fprintf(stderr, "CAPTURE: soundtrack of %d frames (%lld samples at 44100 Hz) in %s\n", span.Frames(),
                     static_cast<long long>(span.SpanSamples()), options.wavPath.c_str());
    if (!options.videoPath.empty())
        std::fprintf(stderr, "CAPTURE: video of %d frames at %d fps in %s\n", hooks.Written(), options.fps,
                     options.videoPath.c_str());
}

}  // namespace

static TimedApplication application;

int main(int argc, char** argv) {
    application.MarkMainStart();
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quenlite-capture: %s\n%sRun quenlite-capture --help for every option.\n", error.c_str(),
                     kCaptureUsage);
        return 2;
    }
    if (options.help) {
        std::printf("quenlite-capture %s, Moravel - Quenlite 2010\n", VantorGL::kQuenliteVersion);
        std::fputs(kCaptureHelp, stdout);
        std::printf("The data folder is looked for in %s.\n", VantorGL::PlacesText(VantorGL::DataFolderPlaces()).c_str());
        return 0;
    }
    if (!options.note.empty()) VantorGL::ConsolePrint("CAPTURE", "%s", options.note.c_str());

    TemporaryFile soundtrack;
    std::string audioPath;
    if (!PrepareOutputs(options, soundtrack, audioPath)) return 1;
    OfflineDriver driver(application, options.fps);
    application.demo.registry.boundedPasses = !options.unbounded;
    // A sheet alone leaves no files but itself, so no debug.log then.
    if (!options.outDir.empty()) VantorGL::cDebugSystem::Instance()->Open((options.outDir + "/debug.log").c_str());

    std::vector<int> times = options.atMs;
    std::vector<const char*> labels;
    if (times.empty() && !options.sheetPath.empty()) SceneMiddles(times, labels);
    CaptureHooks hooks(driver, options, std::move(times), std::move(labels), audioPath);
    const bool ran = driver.Run(hooks, options.width, options.height);
    const bool videoOk = hooks.FinishVideo();
    if (!ran) return 1;
    if (!options.quiet) application.ReportStartUp(stderr, "CAPTURE");
    if (hooks.Failed() || !videoOk) {
        if (!options.videoPath.empty()) VantorGL::ConsolePrint("CAPTURE", "%s is not complete", options.videoPath.c_str());
        return 1;
    }
    if (!hooks.AllCaptured()) {
        VantorGL::ConsolePrint("CAPTURE", "the demo stopped after %d of the asked frames", hooks.Written());
        return 1;
    }
    if (!options.quiet) ReportWritten(options, hooks);
    if (!options.sheetPath.empty() && !hooks.Sheet().Write(options.sheetPath)) return 1;
    if (!options.sheetPath.empty() && !options.quiet)
        std::fprintf(stderr, "CAPTURE: contact sheet of %d frames in %s (%dx%d)\n", hooks.Written(),
                     options.sheetPath.c_str(), hooks.Sheet().Layout().width, hooks.Sheet().Layout().height);
    return 0;
}
