// DemoHarness: the whole demo played headless inside a test process.
#include "support/DemoHarness.h"

#include "support/GeneratedData.h"
#include "support/GlTestContext.h"
#include "support/PictureWriter.h"
#include "support/ScratchFolder.h"
#include "timeline/TimeSystem.h"

#include <GL/glu.h>
#include <SDL2/SDL.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace VantorGLTest {

namespace {
// Static storage, as in the program: the demo object is large.
VantorGL::cDemoScene demoObject;
VantorGL::cFixedStepCounter counter(DemoHarness::kFps);
constexpr int kWarmFrames = 3;
DemoHarness* built = nullptr;  // the harness once Get() has made it
}  // namespace

// One harness call's hold on the process (see the header). Turns do not nest.
class DemoHarness::Turn {
public:
    explicit Turn(DemoHarness& owner) : harness(owner) {
        previousWindow = SDL_GL_GetCurrentWindow();
        previousContext = SDL_GL_GetCurrentContext();
        harness.context->MakeCurrent();
        VantorGL::cTimeSystem* process = VantorGL::cTimeSystem::Instance();
        callerClock = *process;
        if (harness.clock) *process = *harness.clock;
        callerRand = setstate(harness.randState);
    }
    ~Turn() {
        VantorGL::cTimeSystem* process = VantorGL::cTimeSystem::Instance();
        harness.clock = *process;
        *process = callerClock;
        setstate(callerRand);
        if (previousContext && previousContext != SDL_GL_GetCurrentContext())
            SDL_GL_MakeCurrent(previousWindow, previousContext);
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;

private:
    DemoHarness& harness;
    VantorGL::cTimeSystem callerClock = *VantorGL::cTimeSystem::Instance();
    char* callerRand = nullptr;
    SDL_Window* previousWindow = nullptr;
    SDL_GLContext previousContext = nullptr;
};

DemoHarness& DemoHarness::Get() {
    static DemoHarness harness;
    built = &harness;
    return harness;
}

void DemoHarness::ForgetGlErrors() {
    if (!built || !built->ok) return;
    Turn turn(*built);
    while (glGetError() != GL_NO_ERROR) {
    }
    built->firstGlError = GL_NO_ERROR;
    built->firstGlErrorAt = -1;
}

void DemoHarness::Drive(const std::function<void(VantorGL::cDemoScene&)>& work) {
    if (!ok) return;
    Turn turn(*this);
    work(*demo);
}

DemoHarness::DemoHarness() : context(std::make_unique<GlTestContext>(kWidth, kHeight)) {
    if (!context->Ok()) return;
    const std::filesystem::path source = QUENLITE_SOURCE_DIR;
    if (!HaveGeneratedData()) {
        std::fprintf(stderr, "TEST: no generated data folder under %s\n", source.c_str());
        return;
    }
    // The harness's own rand() state; initstate makes it current, so hand the caller's back.
    setstate(initstate(2010, randState, sizeof randState));
    demo = &demoObject;
    pixels.assign(std::size_t(kWidth) * kHeight * 4, 0);
    {
        Turn turn(*this);
        // The registry opens the design's relative paths ("data/Ter/ray3.3ds") while it loads.
        WorkingFolder dataHome(source);
        StartTimeline();
        demo->SetTimeWindow(VantorGL::kDemoStartCode, VantorGL::kDemoEndCode);
    }
    ok = true;
}

void DemoHarness::StartTimeline() {
    std::srand(2010);  // the scenes' random tables: the same pictures on every run
    // What the application's InitGL does around the sequencer.
    counter.SetTicks(0);
    VantorGL::cTimeSystem::Instance()->UseCounter(&counter);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    demo->Init();
    started = false;
}

void DemoHarness::Restart() {
    if (!ok) return;
    Turn turn(*this);
    demo->ResetScenes();
    StartTimeline();
}

VantorGL::cDemoScene& DemoHarness::Demo() {
    context->MakeCurrent();
    return *demo;
}

int DemoHarness::Now() const { return demo ? demo->timer.elapsed : 0; }

void DemoHarness::PlayFrame(bool draw) {
    demo->RunUpdate();
    counter.Advance();
    VantorGL::cTimeSystem::Instance()->Tick();
    if (!draw) return;
    demo->RunRender();
    GLenum error = glGetError();
    if (error != GL_NO_ERROR && firstGlError == GL_NO_ERROR) {
        firstGlError = error;
        firstGlErrorAt = demo->timer.elapsed;
    }
}

void DemoHarness::PlayFrames(int count, bool draw) {
    if (!ok) return;
    Turn turn(*this);
    for (int i = 0; i < count; ++i) PlayFrame(draw);
    started = true;
}

const std::vector<std::uint8_t>& DemoHarness::FrameAt(int ms) {
    if (!ok) return pixels;
    if (started && ms < demo->timer.elapsed) Restart();
    Turn turn(*this);
    PlayTo(ms);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void DemoHarness::PlayTo(int ms) {
    // The frame whose update sees demo time t is frame ceil(t * fps / 1000); play up to it.
    int frameStep = 1000 / kFps;
    while (!started || demo->timer.elapsed + frameStep < ms) {
        int next = started ? demo->timer.elapsed + frameStep : 0;
        bool draw = next >= ms - kWarmFrames * frameStep - 1;
        started = true;
        PlayFrame(draw);
        if (next >= ms) break;
    }
    if (demo->timer.elapsed < ms) PlayFrame(true);
}

cColourStats DemoHarness::Stats(const std::vector<std::uint8_t>& rgba) {
    cColourStats stats;
    std::size_t count = rgba.size() / 4;
    if (count == 0) return stats;
    double sum = 0, sumSquares = 0;
    std::size_t white = 0, black = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &rgba[i * 4];
        for (int c = 0; c < 3; ++c) stats.mean[c] += p[c];
        double luminance = 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
        sum += luminance;
        sumSquares += luminance * luminance;
        white += p[0] > 230 && p[1] > 230 && p[2] > 230;
        black += p[0] < 12 && p[1] < 12 && p[2] < 12;
    }
    for (double& m : stats.mean) m /= double(count);
    double mean = sum / double(count);
    stats.spread = std::sqrt(std::max(0.0, sumSquares / double(count) - mean * mean));
    stats.whiteShare = double(white) / double(count);
    stats.blackShare = double(black) / double(count);
    return stats;
}

std::string DemoHarness::KeepFrame(const std::vector<std::uint8_t>& rgba, int width, int height,
                                   const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(QUENLITE_BINARY_DIR) / "test-frames";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string path = (folder / (name + ".png")).string();
    // GL read-back is bottom row first; the file is top row first.
    std::vector<std::vector<std::uint8_t>> rows;
    for (int y = height - 1; y >= 0; --y)
        rows.emplace_back(rgba.begin() + std::ptrdiff_t(y) * width * 4, rgba.begin() + std::ptrdiff_t(y + 1) * width * 4);
    return WritePng(path, width, height, PNG_COLOR_TYPE_RGB_ALPHA, 8, rows) ? path : "(could not write " + path + ")";
}

}  // namespace VantorGLTest
