// GeneratedData: where the tests find the demo's own data folder, which the build generates into
// the source tree (tools/datagen), and the one check of whether it is there.
#pragma once

#include <filesystem>

namespace VantorGLTest {

// The generated data folder ("data" in the source tree).
inline std::filesystem::path GeneratedData() { return std::filesystem::path(QUENLITE_SOURCE_DIR) / "data"; }

// Whether the build has generated it: its last file, the demo music, is in place.
inline bool HaveGeneratedData() { return std::filesystem::exists(GeneratedData() / "General" / "music.mp3"); }

}  // namespace VantorGLTest

// Skips the current test when the data folder has not been generated.
#define REQUIRE_GENERATED_DATA() \
    if (!::VantorGLTest::HaveGeneratedData()) GTEST_SKIP() << "no generated data folder"
