// datagen: the generator of the demo's data folder. Each family of files has its own unit;
// GenerateAll calls them in turn. Every generator is deterministic (fixed seeds, same bytes per run).
#pragma once

#include "FileChoice.h"

#include <string>

namespace Datagen {

// Each writes its files under `root` (the data/ folder, created beforehand) at the paths the demo
// loads, creating sub-folders as needed; of those, only the ones `choice` wants, leaving the rest
// as they are. Returns false after printing "DATAGEN: ..." on failure.
bool GeneratePictures(const std::string& root, const cFileChoice& choice = {});
bool GenerateModels(const std::string& root, const cFileChoice& choice = {});
bool GenerateFont(const std::string& root, const cFileChoice& choice = {});
bool GenerateMusic(const std::string& root, const cFileChoice& choice = {});

// Creates `root` and writes all of the above into it: every file the asset manifest and the list
// of files loaded outside the registry name, and the font's licence beside the font; or only
// the ones `choice` wants.
bool GenerateAll(const std::string& root, const cFileChoice& choice = {});

}  // namespace Datagen
