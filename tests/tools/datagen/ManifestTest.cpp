// The generator against the demo's manifest: a folder it writes holds every file the demo loads,
// at the path the demo spells, and nothing the demo does not load; a run for chosen files
// (--only) writes those, whole and the same bytes, and leaves every other file alone.
#include "Datagen.h"

#include "assets/DataManifest.h"
#include "support/FileBytes.h"
#include "support/GeneratedData.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(DatagenManifest, WritesEveryFileTheDemoLoadsAndNothingElse) {
    VantorGLTest::ScratchFolder scratch("datagen-manifest");
    const fs::path& root = scratch.Path();
    ASSERT_TRUE(Datagen::GenerateAll(root.string()));

    // The font's licence travels beside the font; nothing loads it.
    std::set<std::string> loaded = {Datagen::kFontLicenseFile};
    for (std::span<const VantorGL::cDataFile> list : {VantorGL::AssetManifest(), VantorGL::FilesOutsideRegistry()})
        for (const VantorGL::cDataFile& file : list) loaded.insert(VantorGL::PathInDataFolder(file.path));
    std::set<std::string> written;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory()) written.insert(fs::relative(entry.path(), root).generic_string());
    EXPECT_EQ(written, loaded);
}

namespace {

std::set<std::string> FilesUnder(const fs::path& root) {
    std::set<std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory()) files.insert(fs::relative(entry.path(), root).generic_string());
    return files;
}

}  // namespace

TEST(DatagenManifest, ChosenFilesAreWrittenWholeAndTheRestLeftAlone) {
    REQUIRE_GENERATED_DATA();
    VantorGLTest::ScratchFolder scratch("datagen-only");
    const fs::path& root = scratch.Path();
    ASSERT_TRUE(VantorGLTest::WriteText(root / "og3.png", "not chosen"));
    // By file name, by path in the folder and by registry member, case aside.
    Datagen::cFileChoice choice;
    std::string error;
    ASSERT_TRUE(choice.Choose({"GREETING2.3ds", "Ter/ray3.3DS", "texOg2", "og2.png"}, error)) << error;
    EXPECT_EQ(choice.Paths(), (std::vector<std::string>{"greeting2.3DS", "og2.png", "Ter/ray3.3DS"}));
    ASSERT_TRUE(Datagen::GenerateAll(root.string(), choice));
    EXPECT_EQ(FilesUnder(root), (std::set<std::string>{"og2.png", "og3.png", "greeting2.3DS", "Ter/ray3.3DS"}))
        << "no temporary file stays behind, and nothing more is written";
    for (const std::string& path : choice.Paths())
        EXPECT_EQ(VantorGLTest::ReadBytes(root / path), VantorGLTest::ReadBytes(VantorGLTest::GeneratedData() / path))
            << path;
    EXPECT_EQ(VantorGLTest::ReadText(root / "og3.png"), "not chosen");

    // A file two members share is one file; a name of nothing is refused, choosing nothing.
    ASSERT_TRUE(choice.Choose({"texArt1B"}, error)) << error;
    EXPECT_EQ(choice.Paths(), std::vector<std::string>{"art1.jpg"});
    EXPECT_FALSE(choice.WantsKind(VantorGL::cDataKind::Model));
    EXPECT_FALSE(choice.Choose({"og2.png", "greeting4.3DS"}, error));
    EXPECT_NE(error.find("\"greeting4.3DS\""), std::string::npos) << error;
    EXPECT_TRUE(choice.Paths().empty());
}
