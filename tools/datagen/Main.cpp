// datagen: writes every file the demo loads into one data folder, or only the files named.
// Usage: datagen [DIR] [--only NAME...]   (default "data")
#include "Datagen.h"

#include "shell/BuildInfo.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("datagen %s, Moravel - Quenlite 2010\n"
                    "usage: datagen [DIR] [--only NAME...]\n"
                    "  writes the demo's whole data folder (pictures, 3DS models, font, soundtrack) into DIR\n"
                    "  (default \"data\"), the same bytes on every run\n"
                    "  --only NAME...  writes only the files named, by file name (greeting2.3DS), path in the\n"
                    "                  folder (Ter/ray3.3DS) or registry member (mdlGreeting2), and leaves the\n"
                    "                  rest as they are; a running quenlite-studio shows them at once\n"
                    "Each file is written whole under a temporary name, then renamed into place.\n",
                    VantorGL::kQuenliteVersion);
        return 0;
    }
    std::string root = "data";
    std::vector<std::string> names;
    bool only = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (only) {
            names.push_back(arg);
        } else if (arg == "--only") {
            only = true;
        } else if (i == 1 && arg.rfind("--", 0) != 0) {
            root = arg;
        } else {
            std::fprintf(stderr, "DATAGEN: unknown argument \"%s\"\nusage: datagen [DIR] [--only NAME...]\n", arg.c_str());
            return 2;
        }
    }
    Datagen::cFileChoice choice;
    std::string error;
    if (only && names.empty()) error = "--only needs the names of the files to write";
    if (!error.empty() || (only && !choice.Choose(names, error))) {
        std::fprintf(stderr, "DATAGEN: %s\nusage: datagen [DIR] [--only NAME...]\n", error.c_str());
        return 2;
    }
    if (!Datagen::GenerateAll(root, choice)) return 1;
    if (only)
        for (const std::string& path : choice.Paths()) std::printf("wrote %s/%s\n", root.c_str(), path.c_str());
    return 0;
}
