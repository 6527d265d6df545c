// PictureSet: the list of picture groups and the writer that puts them in the data folder.
#include "Pictures.h"

#include "Paint.h"
#include "shell/Console.h"

namespace Datagen {

const std::vector<PictureGroup>& PictureGroups() {
    static const std::vector<PictureGroup> groups = {
        {"screens", PaintScreenPictures}, {"prints", PaintPrintPictures},   {"masks", PaintMaskPictures},
        {"pillar room", PaintPillarPictures}, {"canyon", PaintCanyonPictures}, {"crystal", PaintCrystalPictures},
        {"metal", PaintMetalPictures},      {"sky", PaintSkyPictures},
    };
    return groups;
}

std::string PicturePath(TextureMember member) {
    for (const VantorGL::cDataFile& row : VantorGL::AssetManifest()) {
        auto* filled = std::get_if<TextureMember>(&row.member);
        if (filled && *filled == member) return VantorGL::PathInDataFolder(row.path);
    }
    VantorGL::ConsolePrint("DATAGEN", "a picture the asset manifest does not name");
    return {};
}

std::string PicturePath(const char* manifestPath) { return VantorGL::PathInDataFolder(manifestPath); }

std::vector<uint8_t> EncodePicture(const PictureFile& file) {
    switch (file.format) {
        case PictureFormat::Jpeg: return EncodeJpeg(file.image, kJpegQuality, file.dither);
        case PictureFormat::PngRgb: return EncodePng(file.image, false, file.dither);
        case PictureFormat::PngRgba: return EncodePng(file.image, true, file.dither);
    }
    return {};
}

bool WritePictureFiles(const std::string& root, const PictureList& files, const cFileChoice& choice) {
    for (const PictureFile& file : files) {
        if (file.path.empty()) return false;  // not in the manifest: said by PicturePath
        if (!choice.Wants(file.path)) continue;
        if (!WriteBytes(root + "/" + file.path, EncodePicture(file))) return false;
    }
    return true;
}

bool WriteAllPictures(const std::string& root, const cFileChoice& choice) {
    TextPainter text;
    if (!text.Open(kDisplayFontPath)) return false;
    for (const PictureGroup& group : PictureGroups()) {
        if (!WritePictureFiles(root, group.paint(text), choice)) return false;
    }
    return true;
}

std::vector<std::vector<Vec2>> MVLogoShape() {
    // A geometric M (two stems joined by a notched chevron) and a V, with chamfered inner
    // corners; 2 units wide and 1 high.
    return {
        {{0.00f, 0.00f}, {0.00f, 1.00f}, {0.25f, 1.00f}, {0.50f, 0.60f}, {0.75f, 1.00f}, {1.00f, 1.00f},
         {1.00f, 0.00f}, {0.78f, 0.00f}, {0.78f, 0.62f}, {0.50f, 0.18f}, {0.22f, 0.62f}, {0.22f, 0.00f}},
        {{1.08f, 1.00f}, {1.32f, 1.00f}, {1.54f, 0.36f}, {1.76f, 1.00f}, {2.00f, 1.00f}, {1.66f, 0.00f},
         {1.42f, 0.00f}},
    };
}

}  // namespace Datagen
