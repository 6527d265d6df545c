// Pictures: every picture of the data folder, painted in code. Pictures are painted in groups
// (a material's diffuse, normal and specular maps share one height field); each group returns
// its files with the path under the data root, the format and the painted image.
#pragma once

#include "Image.h"
#include "Paint.h"
#include "PaintText.h"

#include "FileChoice.h"

#include "assets/DataManifest.h"

#include <string>
#include <vector>

namespace Datagen {

constexpr int kJpegQuality = 90;

struct PictureFile {
    std::string path;  // relative to the data root, '/' separated, case as the demo spells it
    PictureFormat format = PictureFormat::Jpeg;
    Image image;
    bool dither = true;  // off for normal maps and exact-value pictures
};

using PictureList = std::vector<PictureFile>;

// Pictures are named by the registry member they fill, as the models are; the asset manifest
// holds their paths. R::texOg2 gives "og2.png".
using R = VantorGL::cResources;
using TextureMember = VantorGL::cTextureSystem R::*;
// The path under the data root of the picture that fills `member`; empty (after a DATAGEN
// message) when the manifest has no picture for it.
std::string PicturePath(TextureMember member);
// The path under the data root of a picture loaded outside the registry
// (VantorGL::kLoadingPicturePath and the like).
std::string PicturePath(const char* manifestPath);

struct PictureGroup {
    const char* name;
    PictureList (*paint)(TextPainter& text);
};

// The groups in the order datagen writes them.
const std::vector<PictureGroup>& PictureGroups();

// The encoded bytes of one picture (PNG or JPEG at kJpegQuality); empty on encoder failure.
std::vector<uint8_t> EncodePicture(const PictureFile& file);
// Encodes and writes each file under root that `choice` wants. False after printing
// "DATAGEN: ..." on failure.
bool WritePictureFiles(const std::string& root, const PictureList& files, const cFileChoice& choice = {});
// Opens the display font and writes every group under root (the files `choice` wants).
bool WriteAllPictures(const std::string& root, const cFileChoice& choice = {});

// The settings dialog's 280 x 45 banner (written with the font).
Image PaintBanner(TextPainter& text);

// Group painters (one per source file family).
PictureList PaintScreenPictures(TextPainter& text);   // og2, og3, fade picture, title, loading
PictureList PaintPrintPictures(TextPainter& text);    // scroll text, newspaper, backdrop
PictureList PaintMaskPictures(TextPainter& text);     // blur masks, ray, flat normal
PictureList PaintPillarPictures(TextPainter& text);   // pillar room set, workshop specular
PictureList PaintCanyonPictures(TextPainter& text);   // Ter floor and wall sets
PictureList PaintCrystalPictures(TextPainter& text);  // crystal diffuse and normal map
PictureList PaintMetalPictures(TextPainter& text);    // chrome, sphere metal, plant template
PictureList PaintSkyPictures(TextPainter& text);      // art1 nebula

// The group logo "MV" as polygons in a 2 x 1 box (x right, y up, origin bottom left).
std::vector<std::vector<Vec2>> MVLogoShape();

}  // namespace Datagen
