// VideoPipe on Windows: CreateProcessW with an anonymous pipe on the child's stdin, blocking
// writes, and the child's exit code. Arguments are quoted the way the C runtime splits them.
#include "VideoPipe.h"

#include "shell/Console.h"
#include "shell/Platform.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX  // the C++ library's configuration may have said so already
#endif
#include <windows.h>

#include <cstdlib>
#include <filesystem>

namespace {

HANDLE AsHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

// One argument as CommandLineToArgvW reads it back: quoted when it holds a space, a tab or a
// quote, with the backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

std::string LastErrorText() {
    wchar_t text[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, text, 512, nullptr);
    std::string line = VantorGL::PathText(std::filesystem::path(text));
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == '.')) line.pop_back();
    return line;
}

}  // namespace

std::string FindOnPath(const std::string& name, const char* searchPath) {
    if (name.empty()) return {};
    auto executable = [](const std::string& candidate) {
        if (VantorGL::FileKindOf(candidate) == VantorGL::eFileKind::Regular) return candidate;
        if (VantorGL::FileKindOf(candidate + ".exe") == VantorGL::eFileKind::Regular) return candidate + ".exe";
        return std::string();
    };
    if (name.find_first_of("/\\") != std::string::npos) return executable(name);
    std::string path = searchPath ? searchPath : "";
    std::size_t start = 0;
    while (true) {
        std::size_t semicolon = path.find(';', start);
        std::string folder = path.substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start);
        std::string found = executable((folder.empty() ? std::string(".") : folder) + "\\" + name);
        if (!found.empty()) return found;
        if (semicolon == std::string::npos) return {};
        start = semicolon + 1;
    }
}

VideoPipe::~VideoPipe() {
    if (Running()) Finish();
}

bool VideoPipe::Start(const std::vector<std::string>& arguments) {
    if (arguments.empty() || Running()) return false;
    program = arguments[0];
    const std::string found = FindOnPath(program, std::getenv("PATH"));
    if (found.empty()) {
        VantorGL::ConsolePrint("CAPTURE", "cannot start %s: no such program on PATH", program.c_str());
        return false;
    }
    // The read end is inherited as the child's stdin; the write end stays this process's own.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0) || !SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0)) {
        VantorGL::ConsolePrint("CAPTURE", "cannot make a pipe for %s: %s", program.c_str(), LastErrorText().c_str());
        if (readEnd) CloseHandle(readEnd);
        if (writeEnd) CloseHandle(writeEnd);
        return false;
    }
    std::wstring line;
    for (const std::string& a : arguments) line += (line.empty() ? L"" : L" ") + Quoted(VantorGL::PathFromText(a).wstring());
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    const std::wstring application = VantorGL::PathFromText(found).wstring();
    const BOOL started = CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(readEnd);
    if (!started) {
        VantorGL::ConsolePrint("CAPTURE", "cannot start %s: %s", program.c_str(), LastErrorText().c_str());
        CloseHandle(writeEnd);
        return false;
    }
    CloseHandle(process.hThread);
    child = reinterpret_cast<std::intptr_t>(process.hProcess);
    input = reinterpret_cast<std::intptr_t>(writeEnd);
    broken = false;
    return true;
}

bool VideoPipe::Write(const std::uint8_t* data, std::size_t bytes) {
    if (input < 0 || broken) return false;
    while (bytes > 0) {
        DWORD wrote = 0;
        const DWORD chunk = bytes > (1u << 30) ? DWORD(1u << 30) : DWORD(bytes);
        if (!WriteFile(AsHandle(input), data, chunk, &wrote, nullptr)) {
            broken = true;
            VantorGL::ConsolePrint("CAPTURE", "%s stopped taking frames: %s", program.c_str(), LastErrorText().c_str());
            return false;
        }
        data += wrote;
        bytes -= wrote;
    }
    return true;
}

bool VideoPipe::Finish() {
    if (!Running()) return false;
    if (input >= 0) CloseHandle(AsHandle(input));
    input = -1;
    HANDLE process = AsHandle(child);
    child = -1;
    DWORD code = 1;
    if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code)) {
        VantorGL::ConsolePrint("CAPTURE", "lost track of %s: %s", program.c_str(), LastErrorText().c_str());
        CloseHandle(process);
        return false;
    }
    CloseHandle(process);
    if (code == 0) return !broken;
    VantorGL::ConsolePrint("CAPTURE", "%s failed with exit status %lu", program.c_str(), static_cast<unsigned long>(code));
    return false;
}
