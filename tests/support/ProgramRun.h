// ProgramRun: runs one of the built programs (quenlite, quenlite-capture, quenlite-assets) as a
// child process in a chosen working directory and environment, with a time limit, and hands back
// its exit code and what it said, so tests can watch the real program meet a broken machine.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace VantorGLTest {

struct ProgramResult {
    int exitCode = -1;     // the exit status; -1 when killed by a signal (a crash) or never started
    int signal = 0;        // the signal that ended it, 0 when it exited
    bool timedOut = false; // killed at the time limit (a hang)
    std::string out;       // its standard output
    std::string err;       // its standard error
};

// Environment changes: a value sets the variable, nullopt removes it.
using EnvChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Runs `program` (a path to an executable) with `arguments` in `cwd`, the test's environment
// changed by `env`. Kills it after `timeoutSeconds`.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& cwd, const EnvChanges& env = {}, int timeoutSeconds = 300);

// The path of a program of this build ("quenlite-capture").
std::string BuiltProgram(const std::string& name);

// The arguments as one line, each in single quotes, for failure messages.
std::string QuotedArguments(const std::vector<std::string>& arguments);

// The lines of `text` that start with "MODULE: " for any module of the engine's diagnostics.
std::vector<std::string> DiagnosticLines(const std::string& text);

}  // namespace VantorGLTest
