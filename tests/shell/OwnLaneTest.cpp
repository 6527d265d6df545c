// The demo stays in its lane: no part of the engine or its tools runs another program, except
// capture, which may hand its frames to ffmpeg. (That the running demo writes nothing but its log
// and the outputs asked for is checked where it plays in an empty directory: BadInputDemoTest.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(OwnLane, OnlyCaptureRunsAnotherProgram) {
    const fs::path source = QUENLITE_SOURCE_DIR;
    // Calls that start a process or a shell: system(), popen(), the exec family, spawn, fork.
    const std::regex spawn(R"((^|[^A-Za-z0-9_.>])(std::)?(system|popen|execl|execlp|execle|execv|execvp|execvpe|)"
                           R"(posix_spawnp?|fork|vfork)\s*\()");
    std::vector<std::string> found;
    int files = 0;
    for (const char* root : {"Source", "tools"}) {
        for (const auto& entry : fs::recursive_directory_iterator(source / root)) {
            const std::string extension = entry.path().extension().string();
            if (extension != ".cpp" && extension != ".h") continue;
            const std::string relative = fs::relative(entry.path(), source).string();
            ++files;
            std::ifstream in(entry.path());
            int number = 0;
            for (std::string line; std::getline(in, line);) {
                ++number;
                const std::size_t code = line.find_first_not_of(" \t");
                if (code != std::string::npos && line.compare(code, 2, "//") == 0) continue;  // a comment
                if (!std::regex_search(line.substr(0, line.find("//")), spawn)) continue;
                if (relative.rfind("tools/capture/", 0) == 0) continue;  // the ffmpeg hand-off
                found.push_back(relative + ":" + std::to_string(number) + ": " + line);
            }
        }
    }
    EXPECT_GT(files, 50) << "the source tree was not found under " << source;
    std::string list;
    for (const std::string& hit : found) list += hit + "\n";
    EXPECT_TRUE(found.empty()) << "programs started outside capture:\n" << list;
}
