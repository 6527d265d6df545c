// StartUpTimes: the clocks the start-up report reads (steady, since process start, CPU).
#include "offline/StartUpTimes.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

double MillisecondsBetween(StartClock::time_point from, StartClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double MillisecondsSinceProcessStart() {
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

double CpuMilliseconds(clockid_t which) {
    timespec now{};
    if (clock_gettime(which, &now) != 0) return 0.0;
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1.0e6;
}
