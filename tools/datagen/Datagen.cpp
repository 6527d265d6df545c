// datagen: the whole data folder, one family of files after another.
#include "Datagen.h"

#include "shell/Console.h"

#include <filesystem>

namespace Datagen {

bool GenerateAll(const std::string& root) {
    std::error_code error;
    std::filesystem::create_directories(root + "/General", error);
    if (error) {
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot create: %s", root.c_str(), error.message().c_str());
        return false;
    }
    return GeneratePictures(root) && GenerateModels(root) && GenerateFont(root) && GenerateMusic(root);
}

}  // namespace Datagen
