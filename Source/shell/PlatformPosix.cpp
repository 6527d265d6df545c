// Platform on Linux: POSIX files, /proc for the program's own file, the XDG state folder,
// fontconfig for faces by name, and ALSA's error handler silenced.
#include "shell/Platform.h"

#include <fontconfig/fontconfig.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <dlfcn.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace VantorGL {

namespace fs = std::filesystem;

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

eFileKind FileKindOf(const std::string& path, std::int64_t* size, int* osError) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (osError) *osError = errno;
        return eFileKind::Missing;
    }
    if (size) *size = std::int64_t(info.st_size);
    if (S_ISDIR(info.st_mode)) return eFileKind::Folder;
    return S_ISREG(info.st_mode) ? eFileKind::Regular : eFileKind::Other;
}

bool CanWriteFile(const fs::path& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

fs::path RunningProgramFile() {
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program;
}

// A relative XDG_STATE_HOME names no folder anyone could find again, so it does not count.
fs::path UserStateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && fs::path(state).is_absolute()) return fs::path(state) / "quenlite";
    const char* home = std::getenv("HOME");
    if (home && fs::path(home).is_absolute()) return fs::path(home) / ".local" / "state" / "quenlite";
    return {};
}

// fontconfig's substitutions ("Arial" to a metric twin, an unknown name to the default sans) stand
// in for a missing face.
bool FindSystemFont(const std::string& family, std::string& path, int& faceIndex) {
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);  // FW_NORMAL
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    bool found = false;
    if (FcConfigSubstitute(nullptr, pattern, FcMatchPattern)) {
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcChar8* file = nullptr;
        int index = 0;
        if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            path = reinterpret_cast<const char*>(file);
            faceIndex = index;
            found = true;
        }
        if (match) FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

bool SystemHasDesktop() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

double ProcessAgeMilliseconds() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line)) return 0.0;
    std::size_t close = line.rfind(')');  // the command name may hold spaces
    if (close == std::string::npos) return 0.0;
    std::size_t at = close + 2;
    // starttime is field 22; the text after ')' starts at field 3.
    for (int field = 3; field < 22 && at != std::string::npos; ++field) at = line.find(' ', at) + 1;
    if (at == 0 || at == std::string::npos) return 0.0;
    double startTicks = std::strtod(line.c_str() + at, nullptr);
    timespec now{};
    long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0) return 0.0;
    double nowMs = double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1.0e6;
    double ms = nowMs - startTicks * 1000.0 / double(ticksPerSecond);
    return ms > 0.0 ? ms : 0.0;
}

namespace {
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
}  // namespace

// Without a sound card ALSA's library writes a dozen lines of its own on stderr while SDL tries
// it. Its error handler is silenced in the one copy of the library SDL loads (found by name, so
// nothing links against it). The library stays loaded: it holds the handler while SDL may use it.
void QuietSoundSystem() {
    static bool done = false;
    if (done) return;
    done = true;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;  // no ALSA on this machine: nothing to silence
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&IgnoreAlsaError);
}

void ReturnLargeBlocksWhenFreed() {
#ifdef __GLIBC__
    constexpr int kLargeBlockBytes = 1 << 20;
    mallopt(M_MMAP_THRESHOLD, kLargeBlockBytes);  // a fixed threshold: no longer raised by frees
#endif
}

}  // namespace VantorGL
