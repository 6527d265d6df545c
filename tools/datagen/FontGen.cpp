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
    // Copied under a name of its own, then renamed into place, as WriteBytes does.
    const std::string temporary = to + kTemporarySuffix;
    std::filesystem::copy_file(from, temporary, std::filesystem::copy_options::overwrite_existing, error);
    if (!error) std::filesystem::rename(temporary, to, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        VantorGL::ConsolePrint("DATAGEN", "%s: cannot copy to %s: %s (package fonts-league-spartan)", from.c_str(),
                               to.c_str(), error.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

bool GenerateFont(const std::string& root, const cFileChoice& choice) {
    // "Data/General/c_font.ttf": FreeType reads the OpenType (CFF) file whatever its extension.
    std::string font;
    for (const VantorGL::cDataFile& row : VantorGL::AssetManifest())
        if (row.kind == VantorGL::cDataKind::Font) font = VantorGL::PathInDataFolder(row.path);
    if (choice.Wants(font) && !CopyFile(kDisplayFontPath, root + "/" + font)) return false;
    if (choice.Wants(kFontLicenseFile) && !CopyFile(kFontLicensePath, root + "/" + kFontLicenseFile)) return false;
    const std::string bannerPath = PicturePath(VantorGL::kBannerPicturePath);
    if (!choice.Wants(bannerPath)) return true;
    TextPainter text;
    if (!text.Open(kDisplayFontPath)) return false;
    PictureList banner;
    banner.push_back({bannerPath, PictureFormat::PngRgb, PaintBanner(text)});
    return WritePictureFiles(root, banner);
}

}  // namespace Datagen
