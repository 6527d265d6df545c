// ProgramRun: child processes for the tests that run the real programs.
#include "support/ProgramRun.h"

#include "support/FileBytes.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace VantorGLTest {

std::string BuiltProgram(const std::string& name) { return std::string(QUENLITE_BINARY_DIR) + "/" + name; }

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& cwd, const EnvChanges& env, int timeoutSeconds) {
    ProgramResult result;
    // Output goes to files, not pipes: a chatty child can never block on a full pipe.
    char outName[] = "/tmp/quenlite-run-out-XXXXXX";
    char errName[] = "/tmp/quenlite-run-err-XXXXXX";
    int outFd = mkstemp(outName);
    int errFd = mkstemp(errName);
    if (outFd < 0 || errFd < 0) return result;

    pid_t child = fork();
    if (child == 0) {
        dup2(outFd, 1);
        dup2(errFd, 2);
        if (chdir(cwd.c_str()) != 0) _exit(126);
        for (const auto& [name, value] : env) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(outFd);
    close(errFd);
    if (child > 0) {
        int status = 0;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
        for (;;) {
            pid_t done = waitpid(child, &status, WNOHANG);
            if (done == child) break;
            if (done < 0) break;
            if (std::chrono::steady_clock::now() > deadline) {
                kill(child, SIGKILL);
                waitpid(child, &status, 0);
                result.timedOut = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    }
    result.out = ReadText(outName);
    result.err = ReadText(errName);
    unlink(outName);
    unlink(errName);
    return result;
}

std::string QuotedArguments(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) line += (line.empty() ? "'" : " '") + argument + "'";
    return line;
}

std::vector<std::string> DiagnosticLines(const std::string& text) {
    static const char* const kModules[] = {"APP",    "WINDOW", "LOG",    "GL",        "TEXTURE", "MODEL",
                                           "MUSIC",  "FONT",   "SHADER", "TARGET",    "PARTICLES", "SCENE",
                                           "CAPTURE", "DATAGEN"};
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        for (const char* module : kModules)
            if (line.rfind(std::string(module) + ": ", 0) == 0) {
                lines.push_back(line);
                break;
            }
    return lines;
}

}  // namespace VantorGLTest
