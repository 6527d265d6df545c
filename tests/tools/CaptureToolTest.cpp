// Tests for quenlite-capture's command line: every bad argument is a usage message and exit 2;
// a good one renders the asked span.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

int RunCapture(const std::string& arguments) {
    std::string command = std::string(QUENLITE_BINARY_DIR) + "/quenlite-capture " + arguments + " >/dev/null 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(CaptureTool, BadArgumentsGiveUsageAndExitCode2) {
    const char* bad[] = {
        "",                                     // no --out
        "--out",                                // value missing
        "--out /tmp/x --fps 0",                 // fps out of range
        "--out /tmp/x --fps ten",
        "--out /tmp/x --from 1:75",             // seconds past 59
        "--out /tmp/x --from -3",
        "--out /tmp/x --from 0:20 --to 0:10",   // backwards
        "--out /tmp/x --from 3:00",             // after the end
        "--out /tmp/x --size 1024",
        "--out /tmp/x --size 0x0",
        "--out /tmp/x --bogus",
    };
    for (const char* arguments : bad) EXPECT_EQ(RunCapture(arguments), 2) << arguments;
}

TEST(CaptureTool, WritesOneFramePerStepOfTheSpan) {
    namespace fs = std::filesystem;
    fs::path out = fs::temp_directory_path() / ("capture-" + std::to_string(::getpid()));
    fs::remove_all(out);
    // 0:01 to 0:01.5 at 10 fps: demo times 1000, 1100, ..., 1500.
    ASSERT_EQ(RunCapture("--out " + out.string() + " --from 0:01 --to 1.5 --fps 10 --size 64x48 --quiet"), 0);
    int pngs = 0;
    for (auto& entry : fs::directory_iterator(out)) pngs += entry.path().extension() == ".png";
    EXPECT_EQ(pngs, 6);
    EXPECT_TRUE(fs::exists(out / "000010.png"));
    EXPECT_TRUE(fs::exists(out / "000015.png"));
    fs::remove_all(out);
}
