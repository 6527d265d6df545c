// Platform on Windows: files through the wide API, GetModuleFileNameW for the program's own file,
// %LOCALAPPDATA%\quenlite for state, faces from the fonts the system registers, no sound chatter.
#include "shell/Platform.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX  // the C++ library's configuration may have said so already
#endif
#include <windows.h>

#include <cerrno>
#include <cwctype>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <vector>

namespace VantorGL {

namespace fs = std::filesystem;

namespace {

std::wstring Wide(const char* text) { return PathFromText(text).wstring(); }

// A registered font's value name without its format tag: "Arial (TrueType)" is "Arial",
// "Cambria & Cambria Math (TrueType)" names two faces of one collection.
std::wstring WithoutFormat(std::wstring name) {
    const std::size_t open = name.rfind(L" (");
    if (open != std::wstring::npos && !name.empty() && name.back() == L')') name.resize(open);
    return name;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

fs::path FontsFolder() {
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return fs::path(windows) / L"Fonts";
}

// The file of `family` as registered under `root` (the machine's fonts, or the user's own), with
// its face index in a collection. Relative names are files in the fonts folder.
bool RegisteredFont(HKEY root, const std::wstring& family, fs::path& file, int& faceIndex) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool found = false;
    for (DWORD i = 0; !found; ++i) {
        wchar_t name[512];
        DWORD nameLength = 512;
        wchar_t data[MAX_PATH * 2];
        DWORD dataBytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG read = RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes);
        if (read == ERROR_NO_MORE_ITEMS) break;
        if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
        data[dataBytes / sizeof(wchar_t)] = L'\0';
        const std::wstring faces = WithoutFormat(std::wstring(name, nameLength));
        int index = 0;
        for (std::size_t begin = 0; begin <= faces.size() && !found; ++index) {
            std::size_t end = faces.find(L" & ", begin);
            if (end == std::wstring::npos) end = faces.size();
            if (SameName(faces.substr(begin, end - begin), family)) {
                fs::path candidate(data);
                file = candidate.is_absolute() ? candidate : FontsFolder() / candidate;
                faceIndex = index;
                found = true;
            }
            begin = end + 3;
        }
    }
    RegCloseKey(key);
    return found;
}

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(PathFromText(path).c_str(), Wide(mode).c_str());
}

eFileKind FileKindOf(const std::string& path, std::int64_t* size, int* osError) {
    struct _stat64 info {};
    if (_wstat64(PathFromText(path).c_str(), &info) != 0) {
        if (osError) *osError = errno;
        return eFileKind::Missing;
    }
    if (size) *size = std::int64_t(info.st_size);
    if ((info.st_mode & _S_IFMT) == _S_IFDIR) return eFileKind::Folder;
    return (info.st_mode & _S_IFMT) == _S_IFREG ? eFileKind::Regular : eFileKind::Other;
}

bool CanWriteFile(const fs::path& path) {
    int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (fd < 0) return false;
    _close(fd);
    return true;
}

fs::path RunningProgramFile() {
    // Long paths (past MAX_PATH) come back whole once the buffer is large enough.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return fs::path(std::wstring(buffer.data(), length));
        if (buffer.size() >= 32768) return {};  // the longest path Windows has
        buffer.resize(buffer.size() * 2);
    }
}

fs::path UserStateFolder() {
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (local && fs::path(local).is_absolute()) return fs::path(local) / L"quenlite";
    return {};
}

// The family as the system registers it, else the faces that stand in for a missing one the way
// fontconfig's substitutions do: Arial and its metric twin, then the system's user interface faces.
bool FindSystemFont(const std::string& family, std::string& path, int& faceIndex) {
    const std::wstring wanted[] = {PathFromText(family).wstring(), L"Arial", L"Liberation Sans", L"Segoe UI", L"Tahoma"};
    for (const std::wstring& name : wanted) {
        if (name.empty()) continue;
        fs::path file;
        int index = 0;
        if (!RegisteredFont(HKEY_CURRENT_USER, name, file, index) && !RegisteredFont(HKEY_LOCAL_MACHINE, name, file, index))
            continue;
        std::error_code error;
        if (!fs::is_regular_file(file, error)) continue;
        path = PathText(file);
        faceIndex = index;
        return true;
    }
    return false;
}

bool SystemHasDesktop() { return true; }

double ProcessAgeMilliseconds() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0.0;
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& t) { return (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    if (ticks(now) <= ticks(created)) return 0.0;
    return double(ticks(now) - ticks(created)) / 1.0e4;  // FILETIME counts 100 ns
}

void QuietSoundSystem() {}  // SDL's Windows audio drivers print nothing of their own

void ReturnLargeBlocksWhenFreed() {}  // the Windows heap hands large blocks back by itself

}  // namespace VantorGL
