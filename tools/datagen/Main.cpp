// datagen: writes every file the demo loads into one data folder.
// Usage: datagen [DIR]   (default "data")
#include "Datagen.h"

#include "shell/BuildInfo.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("datagen %s, Moravel - Quenlite 2010\n"
                    "usage: datagen [DIR]\n"
                    "  writes the demo's whole data folder (pictures, 3DS models, font, soundtrack) into DIR\n"
                    "  (default \"data\"), the same bytes on every run\n",
                    VantorGL::kQuenliteVersion);
        return 0;
    }
    return Datagen::GenerateAll(argc > 1 ? argv[1] : "data") ? 0 : 1;
}
