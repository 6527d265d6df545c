// quenlite-studio: the demo in a window with a transport (play, pause, seek, step, loop, speed)
// and an overlay that shows where the demo is, what the music's spectrum does against the scenes'
// beat levels and what each pass costs. `quenlite` itself stays the demo and nothing else.
#include "Studio.h"
#include "StudioOptions.h"

#include "shell/BuildInfo.h"
#include "shell/ProgramFolders.h"
#include "timeline/DebugSystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

int main(int argc, char** argv) {
    QuenliteStudio::StudioOptions options;
    std::string error;
    if (!QuenliteStudio::ParseStudioOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "quenlite-studio: %s\n%sRun quenlite-studio --help for every key and option.\n",
                     error.c_str(), QuenliteStudio::kStudioUsage);
        return 2;
    }
    if (options.help) {
        std::printf("quenlite-studio %s, Moravel - Quenlite 2010\n", VantorGL::kQuenliteVersion);
        std::fputs(QuenliteStudio::kStudioHelp, stdout);
        std::printf("The data folder is looked for in %s.\n", VantorGL::PlacesText(VantorGL::DataFolderPlaces()).c_str());
        return 0;
    }

    // Pictures go where the studio was started; the demo itself plays in its data folder.
    std::error_code noWorking;
    const std::filesystem::path startedIn = std::filesystem::current_path(noWorking);
    VantorGL::EnterDataFolder("STUDIO");
    VantorGL::cDebugSystem::Instance()->Open(VantorGL::DebugLogPath().c_str());

    QuenliteStudio::cStudio studio(options, startedIn.string());
    studio.MarkMainStart();
    studio.ConfigureForDemo();
    studio.SetTitle("Quenlite studio - Moravel - Quenlite 2010");
    studio.SetFullscreen(options.fullscreen);
    studio.SetSize(options.width, options.height);
    // A display is needed; SDL's offscreen driver only when asked for by name (checks, pictures).
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    studio.AllowHeadless(driver && std::strcmp(driver, "offscreen") == 0);
    studio.Run();
    if (studio.WindowFailed()) {
        std::fprintf(stderr, "STUDIO: no window: the studio needs a display (or SDL_VIDEODRIVER=offscreen)\n");
        return 1;
    }
    return 0;
}
