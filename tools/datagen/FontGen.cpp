// datagen: the font of the data folder and the settings dialog's banner. The display font
// (DisplayFont.h) is copied under the name the demo opens, with its licence beside it.
#include "Datagen.h"
#include "Pictures.h"
#include "shell/Console.h"

#include <filesystem>

namespace Datagen {

namespace {

constexpr const char* kFontLicensePath = "/usr/share/doc/fonts-league-spartan/copyright";

bool CopyFile(const std::string& from, const std::string& to) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(to).parent_path(), error);
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot copy to %s: %s (package fonts-league-spartan)", from.c_str(),
                               to.c_str(), error.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

bool GenerateFont(const std::string& root) {
    // "Data/General/c_font.ttf": FreeType reads the OpenType (CFF) file whatever its extension.
    if (!CopyFile(kDisplayFontPath, root + "/General/c_font.ttf")) return false;
    if (!CopyFile(kFontLicensePath, root + "/General/c_font-LICENSE.txt")) return false;
    TextPainter text;
    if (!text.Open(kDisplayFontPath)) return false;
    PictureList banner;
    banner.push_back({PicturePath(VantorGL::kBannerPicturePath), PictureFormat::PngRgb, PaintBanner(text)});
    return WritePictureFiles(root, banner);
}

}  // namespace Datagen
