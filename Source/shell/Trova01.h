// Trova01: the demo's application object. It fills in the window system's hooks: the loading
// screen, the post-loading set-up that lets the sequencer load and prepare everything, and the
// per-frame drivers of the sequencer. One static instance per program.
#pragma once

#include "assets/MusicSystem.h"
#include "assets/TextureSystem.h"
#include "shell/GlErrorReport.h"
#include "shell/WindowsSystem.h"
#include "timeline/DemoScene.h"

class Trova01 : public VantorGL::cWindowsSystem {
public:
    void Release() override {}
    bool InitGL() override;
    bool LoadStep() override;
    bool UpdateFrame() override;
    bool DrawFrame() override;
    bool IsDone() override;

    // The sequencer's timeline from 0:00.0 again in this process and context, nothing reloaded:
    // what InitGL does around the sequencer, after the scenes are put back (cDemoScene::Restart).
    // The process clock's counter must already read the time the demo starts from.
    void RestartDemo();

    // The entry point's configuration: fullscreen 1024 x 768 x 32, planes 0.1 to 10000, no dialog.
    void ConfigureForDemo();

    VantorGL::cMusicSystem loadingMusic;      // the loading tune, looping until the demo music runs
    VantorGL::cTextureSystem loadingPicture;  // drawn once and left on screen while loading
    VantorGL::cDemoScene demo;
    VantorGL::cGlErrorReport glErrors;  // debug builds: GL errors said on stderr, once per code

    // Where LoadStep reads the context's OpenGL version (libepoxy's count: 21 for 2.1). A seam:
    // tests put an older driver's answer here to watch the refusal.
    int (*glVersion)() = DefaultGlVersion;

private:
    static int DefaultGlVersion();
};

namespace VantorGL {

// The single OpenGL version check: below `required` (21 for 2.1, as libepoxy counts) it shows
// "OpenGL 2.1 not supported.. lol" over the window and ends the process with exit code 1,
// through FatalError (under a test's handler it returns and loading goes on).
void CheckOpenGLVersion(int version, int required = 21);

}  // namespace VantorGL
