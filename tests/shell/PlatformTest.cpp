// Tests for the platform seam, the same on Linux and Windows: UTF-8 paths reach the system whole
// (non-ASCII names, long names), files open in binary mode, the program knows its own file, and
// a face asked for by name resolves to a font file that exists.
#include "shell/Platform.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// Bytes a text-mode stream would change on Windows: CR LF, a lone LF, Ctrl-Z, a NUL.
constexpr char kBinaryBytes[] = "a\r\nb\nc\x1a" "d\0e";
constexpr std::size_t kBinaryLength = sizeof kBinaryBytes - 1;

}  // namespace

TEST(Platform, PathsKeepNonAsciiNamesBothWays) {
    const std::string name = "Bj\xc3\xb8rn \xe2\x80\x94 \xe6\xb0\xb7";  // "Bjørn — 氷" in UTF-8
    EXPECT_EQ(VantorGL::PathText(VantorGL::PathFromText(name)), name);
    EXPECT_EQ(VantorGL::PathText(VantorGL::PathFromText("data/General/x.png")), "data/General/x.png");
}

TEST(Platform, OpensNonAsciiAndLongPathsInBinaryMode) {
    VantorGLTest::ScratchFolder scratch("platform");
    ASSERT_FALSE(scratch.Path().empty());
    const std::string folder = VantorGL::PathText(scratch.Path()) + "/\xc3\x86r\xc3\xb8 \xc3\xbcn\xc3\xaf" "c\xc3\xb8" "d\xc3\xa9";
    fs::create_directories(VantorGL::PathFromText(folder));
    // A name long enough to take the whole path to 250 characters, near the 260 the loaders accept.
    ASSERT_LT(folder.size(), 200u);
    const std::string file = folder + "/" + std::string(250 - folder.size() - 5, 'x') + ".bin";

    std::FILE* out = VantorGL::OpenFile(file, "wb");
    ASSERT_NE(out, nullptr) << file;
    EXPECT_EQ(std::fwrite(kBinaryBytes, 1, kBinaryLength, out), kBinaryLength);
    std::fclose(out);

    std::int64_t size = -1;
    EXPECT_EQ(VantorGL::FileKindOf(file, &size), VantorGL::eFileKind::Regular);
    EXPECT_EQ(size, std::int64_t(kBinaryLength)) << "written as text, not bytes";
    std::FILE* in = VantorGL::OpenFile(file, "rb");
    ASSERT_NE(in, nullptr);
    char back[32] = {};
    EXPECT_EQ(std::fread(back, 1, sizeof back, in), kBinaryLength);
    std::fclose(in);
    EXPECT_EQ(std::memcmp(back, kBinaryBytes, kBinaryLength), 0);

    EXPECT_EQ(VantorGL::FileKindOf(folder), VantorGL::eFileKind::Folder);
    int osError = 0;
    EXPECT_EQ(VantorGL::FileKindOf(folder + "/missing", nullptr, &osError), VantorGL::eFileKind::Missing);
    EXPECT_EQ(osError, ENOENT);
    EXPECT_EQ(VantorGL::OpenFile(folder + "/missing", "rb"), nullptr);
    EXPECT_TRUE(VantorGL::CanWriteFile(VantorGL::PathFromText(folder + "/log.txt")));
    EXPECT_FALSE(VantorGL::CanWriteFile(VantorGL::PathFromText(folder + "/no folder/log.txt")));
}

TEST(Platform, KnowsItsOwnProgramFile) {
    const fs::path program = VantorGL::RunningProgramFile();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(fs::is_regular_file(program)) << VantorGL::PathText(program);
    EXPECT_EQ(program.stem(), "quenlite_tests");
}

// "Arial" is on no Debian machine: the system's substitute (Liberation Sans, its metric twin, on
// Linux through fontconfig and under Wine through the fonts it registers) stands in.
TEST(Platform, FindsAFaceOrItsSubstituteByName) {
    std::string path;
    int faceIndex = -1;
    ASSERT_TRUE(VantorGL::FindSystemFont("Arial", path, faceIndex));
    EXPECT_TRUE(fs::is_regular_file(VantorGL::PathFromText(path))) << path;
    EXPECT_GE(faceIndex, 0);
}

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// A large block freed goes back to the system, the second one too: glibc's own threshold would
// rise past the first and keep the second in its heap.
TEST(Platform, LargeBlocksGoBackToTheSystemWhenFreed) {
    VantorGL::ReturnLargeBlocksWhenFreed();
    constexpr std::size_t kBlock = std::size_t(3) << 20;
    for (int round = 0; round < 2; ++round) {
        const std::size_t before = mallinfo2().hblkhd;
        void* volatile block = std::malloc(kBlock);
        ASSERT_NE(block, nullptr);
        EXPECT_GE(mallinfo2().hblkhd, before + kBlock) << "round " << round << ": the block came from the heap";
        std::free(block);
        EXPECT_EQ(mallinfo2().hblkhd, before) << "round " << round;
    }
}
#endif
