// datagen: writes every file the demo loads into one data folder.
// Usage: datagen [DIR]   (default "data")
#include "Datagen.h"
#include "shell/Console.h"

#include <filesystem>

int main(int argc, char** argv) {
    std::string root = argc > 1 ? argv[1] : "data";
    std::error_code error;
    std::filesystem::create_directories(root + "/General", error);
    if (error) {
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot create: %s", root.c_str(), error.message().c_str());
        return 1;
    }
    bool ok = Datagen::GeneratePictures(root) && Datagen::GenerateModels(root) && Datagen::GenerateFont(root) &&
              Datagen::GenerateMusic(root);
    return ok ? 0 : 1;
}
