// The generator against the demo's manifest: a folder it writes holds every file the demo loads,
// at the path the demo spells, and nothing the demo does not load.
#include "Datagen.h"

#include "assets/DataManifest.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

TEST(DatagenManifest, WritesEveryFileTheDemoLoadsAndNothingElse) {
    VantorGLTest::ScratchFolder scratch("datagen-manifest");
    const fs::path& root = scratch.Path();
    ASSERT_TRUE(Datagen::GenerateAll(root.string()));

    // The font's licence travels beside the font; nothing loads it.
    std::set<std::string> loaded = {"General/c_font-LICENSE.txt"};
    for (std::span<const VantorGL::cDataFile> list : {VantorGL::AssetManifest(), VantorGL::FilesOutsideRegistry()})
        for (const VantorGL::cDataFile& file : list) loaded.insert(VantorGL::PathInDataFolder(file.path));
    std::set<std::string> written;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        if (!entry.is_directory()) written.insert(fs::relative(entry.path(), root).generic_string());
    EXPECT_EQ(written, loaded);
}
