// AssetCheck: what quenlite-assets knows about data files: one file described, and a whole
// data folder checked against every path the demo loads.
#pragma once

#include <cstdio>
#include <string>

namespace QuenliteAssets {

// The texture size limit assumed without a GL context (the demo asks the driver at run time).
constexpr int kAssumedMaxTextureSize = 8192;

// Prints what the engine makes of one file (picture, 3DS model, MP3 or font, told apart by
// content and name). Returns 0, or 1 after "assets: FILE: reason" on stderr when the engine
// could not use it.
int DescribeFile(const std::string& path, std::FILE* out);

// Checks every file of the demo's manifest under `dataDir` (the folder the paths' leading
// "data"/"Data" stands for): present, decodable, and sane for its role. Prints one table line
// per problem and a summary. Returns the number of problems.
int CheckDataFolder(const std::string& dataDir, std::FILE* out);

// Prints every model of the manifest under `dataDir` as the engine loads it (vertices, faces,
// file bytes), their sum, and the bytes of every file in the folder. Returns the number of
// models that could not be read (each named in the table), plus one if the folder could not be
// walked.
int PrintModelSizes(const std::string& dataDir, std::FILE* out);

// One manifest path relocated under `dataDir`: "Data/Ter/ray0.3DS" with "x/data" gives
// "x/data/Ter/ray0.3DS" (separators and case still to be resolved).
std::string RelocateDataPath(const std::string& manifestPath, const std::string& dataDir);

}  // namespace QuenliteAssets
