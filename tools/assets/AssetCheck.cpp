// AssetCheck: describing single data files and checking a data folder.
#include "AssetCheck.h"

#include "assets/3DsModelSystem.h"
#include "assets/DataManifest.h"
#include "assets/DataPath.h"
#include "assets/Mp3Decoder.h"
#include "assets/PictureDecoder.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace QuenliteAssets {

using namespace VantorGL;

namespace {

bool EndsWith(const std::string& text, const char* suffix) {
    std::size_t n = std::strlen(suffix);
    return text.size() >= n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

bool ReadWhole(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return error = "no such file", false;
    if (!S_ISREG(info.st_mode)) return error = "not a regular file", false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return error = "cannot be read", false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return error = "cannot be read", false;
    return true;
}

cDataKind GuessKind(const std::string& path) {
    if (EndsWith(path, ".3ds")) return cDataKind::Model;
    if (EndsWith(path, ".mp3")) return cDataKind::Music;
    if (EndsWith(path, ".ttf") || EndsWith(path, ".otf")) return cDataKind::Font;
    return cDataKind::Picture;
}

// Each describer returns "" when the file is usable, else the reason; `out` may be null.
std::string DescribePicture(const std::string& path, std::FILE* out) {
    cDecodedPicture picture;
    std::string error;
    if (!DecodeTextureFile(path, kAssumedMaxTextureSize, picture, error)) return error;
    if (out)
        std::fprintf(out, "picture %s\n  route: %s\n  decoded: %d x %d\n  texture: %d x %d\n  alpha: %s%s\n",
                     path.c_str(), TextureRouteName(picture.route), picture.width, picture.height,
                     picture.textureWidth, picture.textureHeight, picture.fileHasAlpha ? "in file" : "none in file",
                     picture.hasTransparency ? ", some texels transparent" : "");
    return {};
}

std::string DescribeModel(const std::string& path, std::FILE* out) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ReadWhole(path, bytes, error)) return error;
    static c3DsModelSystem model;  // large and reused; the tool loads one file at a time
    model = c3DsModelSystem();
    if (!model.LoadFromMemory(bytes.data(), bytes.size(), &error)) return error.empty() ? "not a 3DS file" : error;
    c3DsModelInfo info = model.Info();
    if (out)
        std::fprintf(out,
                     "model %s\n  objects: %d\n  vertices: %d\n  faces: %d\n  groups: %d\n"
                     "  bounds: (%.2f, %.2f, %.2f) to (%.2f, %.2f, %.2f)\n  texture coordinates: %s\n",
                     path.c_str(), info.objects, info.vertices, info.faces, info.groups, info.boundsMin[0],
                     info.boundsMin[1], info.boundsMin[2], info.boundsMax[0], info.boundsMax[1], info.boundsMax[2],
                     info.hasTexCoords ? "yes" : "no");
    if (!error.empty() && out) std::fprintf(out, "  note: %s\n", error.c_str());
    if (info.objects == 0 || info.groups == 0) return "no drawable faces (no objects or no face material groups)";
    return error;  // dropped faces or bad coordinates: it draws, but the file is damaged
}

std::string DescribeMusic(const std::string& path, std::FILE* out) {
    cPcmBuffer pcm;
    std::string error;
    std::string note;
    if (!DecodeMp3File(path, pcm, error, 0, 0, &note)) return error;
    if (pcm.Frames() == 0) return "no audio";
    if (out)
        std::fprintf(out, "music %s\n  duration: %.3f s\n  rate: %d Hz\n  channels: %d\n", path.c_str(),
                     pcm.DurationSeconds(), pcm.rate, pcm.channels);
    return note;  // a stream that plays but is damaged is still a problem of the data folder
}

std::string DescribeFont(const std::string& path, std::FILE* out) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return "FreeType could not start";
    FT_Face face = nullptr;
    std::string problem;
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        problem = "not a font FreeType can read";
    } else {
        if (!FT_IS_SCALABLE(face)) problem = "not an outline font";
        // FreeType reads glyphs only when asked: damage inside the glyph data shows up here.
        long unreadable = 0;
        for (long glyph = 0; glyph < face->num_glyphs; ++glyph)
            unreadable += FT_Load_Glyph(face, FT_UInt(glyph), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0;
        if (problem.empty() && unreadable > 0)
            problem = std::to_string(unreadable) + " of " + std::to_string(face->num_glyphs) + " glyphs cannot be read";
        if (out)
            std::fprintf(out, "font %s\n  family: %s\n  style: %s\n  glyphs: %ld\n  units per em: %d\n",
                         path.c_str(), face->family_name ? face->family_name : "?",
                         face->style_name ? face->style_name : "?", long(face->num_glyphs), int(face->units_per_EM));
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return problem;
}

std::string Inspect(const std::string& path, cDataKind kind, std::FILE* out) {
    // Only regular files go to the decoders: a pipe in the folder would block the check forever.
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return "no such file";
    if (S_ISDIR(info.st_mode)) return "is a folder";
    if (!S_ISREG(info.st_mode)) return "not a regular file";
    switch (kind) {
        case cDataKind::Model: return DescribeModel(path, out);
        case cDataKind::Music: return DescribeMusic(path, out);
        case cDataKind::Font: return DescribeFont(path, out);
        default: return DescribePicture(path, out);
    }
}

}  // namespace

int DescribeFile(const std::string& path, std::FILE* out) {
    std::string problem = Inspect(path, GuessKind(path), out);
    if (problem.empty()) return 0;
    std::fprintf(stderr, "assets: %s: %s\n", path.c_str(), problem.c_str());
    return 1;
}

std::string RelocateDataPath(const std::string& manifestPath, const std::string& dataDir) {
    std::size_t cut = manifestPath.find_first_of("/\\");
    std::string rest = cut == std::string::npos ? manifestPath : manifestPath.substr(cut);
    return dataDir + rest;
}

int CheckDataFolder(const std::string& dataDir, std::FILE* out) {
    int problems = 0;
    std::size_t files = 0;
    for (std::span<const cDataFile> list : {AssetManifest(), FilesOutsideRegistry()}) {
        for (const cDataFile& file : list) {
            ++files;
            std::string path = ResolveDataPath(RelocateDataPath(file.path, dataDir));
            std::string problem = path.empty() ? "path longer than 260 characters" : Inspect(path, file.kind, nullptr);
            if (problem.empty()) continue;
            if (problems++ == 0) std::fprintf(out, "%-36s %-24s %s\n", "FILE", "USED BY", "PROBLEM");
            std::fprintf(out, "%-36s %-24s %s\n", file.path, file.user, problem.c_str());
        }
    }
    if (problems == 0)
        std::fprintf(out, "check: %s: all %zu files the demo loads are present and usable\n", dataDir.c_str(), files);
    else
        std::fprintf(out, "check: %s: %d of %zu files have problems\n", dataDir.c_str(), problems, files);
    return problems;
}

int PrintModelSizes(const std::string& dataDir, std::FILE* out) {
    static c3DsModelSystem model;  // large and reused; one file at a time
    int unreadable = 0;
    std::uintmax_t modelBytes = 0;
    std::size_t vertices = 0, faces = 0;
    std::fprintf(out, "%-36s %9s %9s %10s\n", "MODEL", "VERTICES", "FACES", "BYTES");
    for (const cDataFile& file : AssetManifest()) {
        if (file.kind != cDataKind::Model) continue;
        const std::string path = ResolveDataPath(RelocateDataPath(file.path, dataDir));
        std::vector<std::uint8_t> bytes;
        std::string error;
        model = c3DsModelSystem();
        if (path.empty() || !ReadWhole(path, bytes, error) || !model.LoadFromMemory(bytes.data(), bytes.size(), &error)) {
            std::fprintf(out, "%-36s %s\n", file.path, error.empty() ? "not a 3DS file" : error.c_str());
            ++unreadable;
            continue;
        }
        const c3DsModelInfo info = model.Info();
        std::fprintf(out, "%-36s %9d %9d %10zu\n", file.path, info.vertices, info.faces, bytes.size());
        vertices += std::size_t(info.vertices);
        faces += std::size_t(info.faces);
        modelBytes += bytes.size();
    }
    std::fprintf(out, "%-36s %9zu %9zu %10ju\n", "models", vertices, faces, modelBytes);
    // The folder's total counts every file in it, the demo's or not.
    std::error_code error;
    std::uintmax_t total = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(dataDir, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
        if (it->is_regular_file(error)) total += it->file_size(error);
    if (error) {
        std::fprintf(stderr, "assets: %s: %s\n", dataDir.c_str(), error.message().c_str());
        return unreadable + 1;
    }
    std::fprintf(out, "%-36s %9s %9s %10ju\n", "data folder", "", "", total);
    return unreadable;
}

}  // namespace QuenliteAssets
