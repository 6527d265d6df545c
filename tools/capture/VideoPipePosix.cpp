// VideoPipe on Linux: posix_spawnp with a pipe on stdin, blocking writes, and the child's exit status.
#include "VideoPipe.h"

#include "shell/Console.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

std::string FindOnPath(const std::string& name, const char* searchPath) {
    if (name.empty()) return {};
    auto executable = [](const std::string& candidate) {
        struct stat info {};
        return ::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(candidate.c_str(), X_OK) == 0;
    };
    if (name.find('/') != std::string::npos) return executable(name) ? name : std::string();
    std::string path = searchPath ? searchPath : "/bin:/usr/bin";
    std::size_t start = 0;
    while (true) {
        std::size_t colon = path.find(':', start);
        std::string folder = path.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
        if (executable(candidate)) return candidate;
        if (colon == std::string::npos) return {};
        start = colon + 1;
    }
}

VideoPipe::~VideoPipe() {
    if (Running()) Finish();
}

bool VideoPipe::Start(const std::vector<std::string>& arguments) {
    if (arguments.empty() || Running()) return false;
    program = arguments[0];
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        VantorGL::ConsolePrint("CAPTURE", "cannot make a pipe for %s: %s", program.c_str(), std::strerror(errno));
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    // The child gets the read end as stdin (dup2 clears close-on-exec there); both original ends
    // close at exec. It starts with default signal handling whatever this process ignores.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    int spawned = posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(ends[0]);
    if (spawned != 0) {
        ::close(ends[1]);
        VantorGL::ConsolePrint("CAPTURE", "cannot start %s: %s", program.c_str(), std::strerror(spawned));
        return false;
    }
    child = pid;
    input = ends[1];
    broken = false;
    return true;
}

bool VideoPipe::Write(const std::uint8_t* data, std::size_t bytes) {
    if (input < 0 || broken) return false;
    while (bytes > 0) {
        ssize_t wrote = ::write(input, data, bytes);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            broken = true;
            VantorGL::ConsolePrint("CAPTURE", "%s stopped taking frames: %s", program.c_str(), std::strerror(errno));
            return false;
        }
        data += wrote;
        bytes -= std::size_t(wrote);
    }
    return true;
}

bool VideoPipe::Finish() {
    if (!Running()) return false;
    if (input >= 0) ::close(input);
    input = -1;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    child = -1;
    if (waited < 0) {
        VantorGL::ConsolePrint("CAPTURE", "lost track of %s: %s", program.c_str(), std::strerror(errno));
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return !broken;
    if (WIFEXITED(status))
        VantorGL::ConsolePrint("CAPTURE", "%s failed with exit status %d", program.c_str(), WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
        VantorGL::ConsolePrint("CAPTURE", "%s was ended by signal %d (%s)", program.c_str(), WTERMSIG(status),
                               strsignal(WTERMSIG(status)));
    return false;
}
