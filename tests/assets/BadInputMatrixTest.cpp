// The bad-input matrix at the loaders: for each kind of file the demo loads (picture by the PNG
// route and by the picture route, 3DS model, MP3 music, font) and each way a file can be broken,
// the loader gives its designed fallback (texture 0, empty model, silent music with a flat
// spectrum, a substitute or empty font) and says exactly one line on stderr naming the file. BMP
// and GIF, which the picture route reads by content, have rows of their own.
#include "assets/3DsModelSystem.h"
#include "assets/FontSystem.h"
#include "assets/MusicSystem.h"
#include "assets/PictureDecoder.h"
#include "assets/TextureSystem.h"
#include "support/DamagedData.h"
#include "support/FixedClock.h"
#include "support/GeneratedData.h"
#include "support/GlTestContext.h"
#include "support/PictureWriter.h"
#include "support/ScratchFolder.h"
#include "timeline/TimeSystem.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace VantorGLTest;

namespace {

// What one load did: whether the designed fallback (or, for a stream that still plays, the
// partial result) came out, and everything said on stderr meanwhile.
struct LoadOutcome {
    bool fellBack = false;
    std::string said;
};

struct FileKind {
    const char* name;
    const char* demoPath;    // as the demo spells it
    const char* dataFile;    // the same file under the generated data/ folder
    const char* otherFile;   // a file of another format, for "wrong format"
    const char* module;      // the tag its one line starts with
    std::function<bool(const std::string&)> load;  // true: the designed fallback came out
};

bool LoadTextureFallsBack(const std::string& path) {
    VantorGL::cTextureSystem texture;
    texture.Load(path.c_str());
    return texture.texture == 0;
}

bool LoadModelFallsBack(const std::string& path) {
    c3DsModelSystem model;
    model.Load(path.c_str());
    return model.objects.empty() && model.Info().faces == 0;
}

bool LoadMusicFallsBack(const std::string& path) {
    // The fixed-step clock keeps the player off the sound device: only the file is on trial.
    FixedClock clock(30);
    VantorGL::cMusicSystem music;
    music.SetFile(path);
    bool opened = music.Open();
    music.Play();
    music.AnalyseSpectrum();
    bool flat = true;
    for (int i = 0; i < VantorGL::cMusicSystem::kSpectrumSize; ++i) flat = flat && music.SpectrumValue(i) == 0.0f;
    music.Stop();
    return !opened && flat;
}

// The 'M' advance of the generated font itself, to tell a substitute from it; 0 without the file.
float GeneratedFontAdvance() {
    const fs::path good = GeneratedData() / "General" / "c_font.ttf";
    if (!fs::exists(good)) return 0.0f;
    VantorGL::cFontSystem font;
    font.CreateOutlineGlyphs(good.string(), "Action Force Normal", -26);
    return font.glyphMetrics[int('M')].gmfCellIncX;
}

// The registry's outline font: a bad file falls back to fontconfig's substitute for the face, as
// the design's font mapper would, so the glyphs are still there to print (an 'M' advances), and
// they are the substitute's, not the generated font's.
bool LoadFontFallsBack(const std::string& path) {
    VantorGL::cFontSystem font;
    font.CreateOutlineGlyphs(path, "Action Force Normal", -26);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);  // printing must be harmless whatever was built
    font.PrintCentered("Moravel");
    glEndList();
    glDeleteLists(list, 1);
    const float advance = font.glyphMetrics[int('M')].gmfCellIncX;
    return font.outlineBase != 0 && advance > 0.0f && advance != GeneratedFontAdvance();
}

std::vector<FileKind> Kinds() {
    return {
        {"PNG route", "data\\og2.png", "og2.png", "art1.jpg", "TEXTURE", LoadTextureFallsBack},
        {"picture route", "data\\art1.jpg", "art1.jpg", "General/loading.mp3", "TEXTURE", LoadTextureFallsBack},
        {"3DS model", "Data/mvlogo.3DS", "mvlogo.3DS", "og2.png", "MODEL", LoadModelFallsBack},
        {"MP3 music", "data/General/loading.mp3", "General/loading.mp3", "art1.jpg", "MUSIC", LoadMusicFallsBack},
        {"font", "Data/General/c_font.ttf", "General/c_font.ttf", "mvlogo.3DS", "FONT", LoadFontFallsBack},
    };
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

LoadOutcome LoadDamaged(const FileKind& kind, const std::string& path) {
    testing::internal::CaptureStderr();
    LoadOutcome outcome;
    outcome.fellBack = kind.load(path);
    outcome.said = testing::internal::GetCapturedStderr();
    return outcome;
}

// One line, tagged with the loader's module, naming the file.
void ExpectOneLineNaming(const FileKind& kind, const LoadOutcome& outcome, const std::string& fileName,
                         const std::string& context) {
    std::vector<std::string> lines = Lines(outcome.said);
    ASSERT_EQ(lines.size(), 1u) << context << ": said\n" << outcome.said;
    EXPECT_EQ(lines[0].rfind(std::string(kind.module) + ": ", 0), 0u) << context << ": " << lines[0];
    EXPECT_NE(lines[0].find(fileName), std::string::npos) << context << ": " << lines[0];
}

// Damage that leaves a file the loader can still partly use: the loader keeps what it can and
// says what is wrong in its one line.
bool StillUsable(const FileKind& kind, VantorGLTest::eDamage damage) {
    std::string module = kind.module;
    if (damage == eDamage::Truncated) return module == "MUSIC";  // plays up to where it stops
    // Bad numbers zeroed; frames resynchronised; the glyphs that cannot be read drawn empty.
    if (damage == eDamage::CorruptMiddle) return module == "MODEL" || module == "MUSIC" || module == "FONT";
    return false;
}

}  // namespace

TEST(BadInputMatrix, EveryKindInEveryStateFallsBackWithOneLine) {
    GlTestContext gl(64, 48);
    REQUIRE_GL(gl);
    REQUIRE_GENERATED_DATA();
    const fs::path generated = GeneratedData();
    ScratchFolder scratch("matrix");
    int tried = 0;
    for (const FileKind& kind : Kinds()) {
        for (eDamage damage : AllDamages()) {
            std::string context = std::string(kind.name) + ", " + DamageName(damage);
            if (damage == eDamage::Unreadable) continue;  // its own test below: root reads through it
            // Each case gets its own file name, so no cache (the glyph cache) remembers another.
            fs::path file = scratch.Path() / (std::to_string(tried) + "_" + fs::path(kind.dataFile).filename().string());
            fs::copy_file(generated / kind.dataFile, file);
            ASSERT_TRUE(Damage(file, damage, generated / kind.otherFile)) << context;
            LoadOutcome outcome = LoadDamaged(kind, file.string());
            ++tried;
            ExpectOneLineNaming(kind, outcome, file.filename().string(), context);
            if (!StillUsable(kind, damage)) {
                EXPECT_TRUE(outcome.fellBack) << context;
            }
            std::printf("[matrix] %-14s %-15s %s", kind.name, DamageName(damage), outcome.said.c_str());
        }
        // A path over the 260 characters the loaders accept is refused, not truncated or overflowed.
        std::string longPath = scratch.Path().string() + "/" + std::string(270, 'd') + "/" + kind.dataFile;
        LoadOutcome outcome = LoadDamaged(kind, longPath);
        ++tried;
        std::vector<std::string> lines = Lines(outcome.said);
        ASSERT_EQ(lines.size(), 1u) << kind.name << ", long path: said\n" << outcome.said;
        EXPECT_NE(lines[0].find("260"), std::string::npos) << lines[0];
        EXPECT_TRUE(outcome.fellBack) << kind.name << ", long path";
    }
    std::printf("[matrix] %d inputs tried at the loaders\n", tried);
}

// A BMP or a GIF under a JPEG's name loads by its content; cut short, with a header the decoder
// refuses, or with a header claiming more pixels than any texture, it falls back with one line
// that says which.
TEST(BadInputMatrix, BmpAndGifOnThePictureRouteFallBackWithOneLine) {
    GlTestContext gl(64, 48);
    REQUIRE_GL(gl);
    ScratchFolder scratch("matrix-bmp-gif");
    const fs::path bmp = scratch.Path() / "good-bmp.jpg", gif = scratch.Path() / "good-gif.jpg";
    std::vector<std::uint8_t> rgb(32 * 32 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = std::uint8_t(i * 29);
    ASSERT_TRUE(WriteBmp(bmp.string(), 32, 32, 24, rgb));
    const std::vector<PngPaletteEntry> palette = {{0, 0, 0}, {200, 40, 40}, {40, 200, 40}, {40, 40, 200}};
    std::vector<std::uint8_t> indices(32 * 32);
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = std::uint8_t(i * 5 % 4);
    ASSERT_TRUE(WriteGif(gif.string(), 32, 32, palette, {indices, indices}));
    const FileKind kind{"picture route", "", "", "", "TEXTURE", LoadTextureFallsBack};

    // Header fields: BMP planes at 26, width and height at 18 and 22; the GIF screen's sides at
    // 6 and 8, its first frame's width at 13 + 12 (colour table) + 8 (control block) + 5.
    struct Row {
        const fs::path* good;
        const char* damage;
        std::function<void(std::vector<std::uint8_t>&)> apply;
        const char* reason;
    };
    auto put = [](std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes[at + i] = std::uint8_t(value >> (8 * i));
    };
    auto half = [](std::vector<std::uint8_t>& bytes) { bytes.resize(bytes.size() / 2); };
    const std::vector<Row> rows = {
        {&bmp, "truncated", half, "truncated BMP file"},
        {&bmp, "corrupt header", [&](auto& b) { put(b, 26, 7, 2); }, "corrupt BMP header"},
        {&bmp, "huge claimed", [&](auto& b) { put(b, 18, 60000, 4), put(b, 22, 60000, 4); },
         "picture size 60000x60000 not supported"},
        {&gif, "truncated", half, "truncated GIF file"},
        {&gif, "corrupt header", [&](auto& b) { put(b, 38, 0xffff, 2); }, "corrupt GIF: bad Image Descriptor"},
        {&gif, "huge claimed", [&](auto& b) { put(b, 6, 0xffff, 2), put(b, 8, 0xffff, 2); },
         "picture size 65535x65535 not supported"},
    };
    for (const fs::path* good : {&bmp, &gif}) {
        LoadOutcome outcome = LoadDamaged(kind, good->string());
        EXPECT_FALSE(outcome.fellBack) << good->filename();
        EXPECT_EQ(outcome.said, "") << good->filename();
    }
    int n = 0;
    for (const Row& row : rows) {
        const std::string format = row.good == &bmp ? "BMP" : "GIF", context = format + ", " + row.damage;
        std::vector<std::uint8_t> bytes = ReadBytes(row.good->string());
        row.apply(bytes);
        const fs::path file = scratch.Path() / (std::to_string(n++) + "_" + format + ".jpg");
        ASSERT_TRUE(WriteBytes(file.string(), bytes));
        LoadOutcome outcome = LoadDamaged(kind, file.string());
        ExpectOneLineNaming(kind, outcome, file.filename().string(), context);
        EXPECT_NE(outcome.said.find(row.reason), std::string::npos) << context << ": " << outcome.said;
        EXPECT_TRUE(outcome.fellBack) << context;
        std::printf("[matrix] %-14s %-15s %s", format.c_str(), row.damage, outcome.said.c_str());
    }
}

// No data folder at all, the demo's own spellings: every loader falls back and names its file.
TEST(BadInputMatrix, NoDataFolderAtAll) {
    GlTestContext gl(64, 48);
    REQUIRE_GL(gl);
    ScratchFolder empty("nodata");
    {
        WorkingFolder inside(empty.Path());
        for (const FileKind& kind : Kinds()) {
            LoadOutcome outcome = LoadDamaged(kind, kind.demoPath);
            ExpectOneLineNaming(kind, outcome, fs::path(kind.dataFile).filename().string(), kind.name);
            EXPECT_TRUE(outcome.fellBack) << kind.name;
        }
    }
    EXPECT_TRUE(ListTree(empty.Path()).empty()) << "a loader wrote into the working directory";
}

TEST(BadInputMatrix, UnreadableFileWhereChmodStopsReads) {
    if (ReadsThroughPermissions()) GTEST_SKIP() << "running as root: chmod 000 does not stop reads";
    GlTestContext gl(64, 48);
    REQUIRE_GL(gl);
    REQUIRE_GENERATED_DATA();
    const fs::path generated = GeneratedData();
    ScratchFolder scratch("unreadable");
    for (const FileKind& kind : Kinds()) {
        fs::path file = scratch.Path() / fs::path(kind.dataFile).filename();
        fs::copy_file(generated / kind.dataFile, file);
        ASSERT_TRUE(Damage(file, eDamage::Unreadable));
        LoadOutcome outcome = LoadDamaged(kind, file.string());
        ExpectOneLineNaming(kind, outcome, file.filename().string(), kind.name);
        EXPECT_TRUE(outcome.fellBack) << kind.name;
    }
}

// As root chmod 000 stops nothing, so the same loads run in a child that has given up root (the
// user "nobody"): the files are then as unreadable as on any user's machine. The child goes
// through the same loaders; its copy of the parent's context takes the texture loader's state
// change (a refused file never reaches an upload).
TEST(BadInputMatrix, UnreadableFileAsAnUnprivilegedUser) {
    if (!ReadsThroughPermissions()) GTEST_SKIP() << "not root: the test above covers it";
    REQUIRE_GENERATED_DATA();
    const fs::path generated = GeneratedData();
    ScratchFolder scratch("unreadable-root");
    fs::permissions(scratch.Path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    GlTestContext gl(64, 48);
    REQUIRE_GL(gl);
    std::vector<fs::path> files;
    for (const FileKind& kind : Kinds()) {
        files.push_back(scratch.Path() / fs::path(kind.dataFile).filename());
        fs::copy_file(generated / kind.dataFile, files.back());
        ASSERT_TRUE(Damage(files.back(), eDamage::Unreadable));
    }
    const fs::path said = scratch.Path() / "said.txt";
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::FILE* out = std::fopen(said.c_str(), "w");
        if (!out) _exit(2);
        dup2(fileno(out), 2);
        constexpr uid_t kNobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(77);
        int failures = 0;
        for (int route = 0; route < 2; ++route) failures += !LoadTextureFallsBack(files[route].string());
        failures += !LoadModelFallsBack(files[2].string());
        failures += !LoadMusicFallsBack(files[3].string());
        VantorGL::sFontSource source;
        VantorGL::ResolveFontSource(files[4].string(), "Action Force Normal", source);
        failures += source.path == files[4].string();
        std::fflush(stderr);
        _exit(failures);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "the child crashed";
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot become the user nobody here";
    const std::string text = ReadText(said);
    EXPECT_EQ(WEXITSTATUS(status), 0) << text;
    std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), Kinds().size()) << text;  // one line for each file, nothing more
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].rfind(std::string(Kinds()[i].module) + ": ", 0), 0u) << lines[i];
        EXPECT_NE(lines[i].find(files[i].filename().string()), std::string::npos) << lines[i];
        if (i < 2) {
            EXPECT_NE(lines[i].find("ermission"), std::string::npos) << "the read, refused: " << lines[i];
        }
        std::printf("[matrix] %-14s %-15s %s\n", Kinds()[i].name, "unreadable", lines[i].c_str());
    }
}
