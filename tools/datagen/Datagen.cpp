// datagen: the whole data folder, one family of files after another.
#include "Datagen.h"

#include "shell/Console.h"

#include <filesystem>

namespace Datagen {

bool GenerateAll(const std::string& root, const cFileChoice& choice) {
    std::error_code error;
    std::filesystem::create_directories(root + "/General", error);
    if (error) {
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot create: %s", root.c_str(), error.message().c_str());
        return false;
    }
    // A family none of whose files is wanted is not made at all: painting and synthesis take long.
    using VantorGL::cDataKind;
    return (!choice.WantsKind(cDataKind::Picture) || GeneratePictures(root, choice)) &&
           (!choice.WantsKind(cDataKind::Model) || GenerateModels(root, choice)) &&
           GenerateFont(root, choice) && (!choice.WantsKind(cDataKind::Music) || GenerateMusic(root, choice));
}

}  // namespace Datagen
