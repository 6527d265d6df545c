// StartUpTimes: the clocks the start-up report reads (steady, since process start, CPU).
#include "offline/StartUpTimes.h"

#include "shell/Platform.h"

#include <ctime>

double MillisecondsBetween(StartClock::time_point from, StartClock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double MillisecondsSinceProcessStart() { return VantorGL::ProcessAgeMilliseconds(); }

double CpuMilliseconds(clockid_t which) {
    timespec now{};
    if (clock_gettime(which, &now) != 0) return 0.0;
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1.0e6;
}
