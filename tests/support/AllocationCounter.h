// AllocationCounter: counts C++ heap allocations (global operator new) made by one thread while
// armed, for the steady-state tests: the frame loop must allocate nothing once every scene has
// had its first frame. The test binary replaces the global operator new and delete with counting
// versions (AllocationCounter.cpp, built only into the test program). malloc called from C
// libraries (Mesa, libpng, SDL) is not seen; only operator new is.
#pragma once

#include <cstddef>
#include <string>

namespace VantorGLTest {

class AllocationCounter {
public:
    static constexpr int kStacksKept = 4;  // call stacks kept of the first allocations counted
    static constexpr int kStackDepth = 24;

    // Starts counting the calling thread's allocations from zero.
    static void Arm();
    // Stops counting; the counts stay readable.
    static void Disarm();
    static std::size_t Count();
    static std::size_t Bytes();
    // The kept call stacks as text (symbolised where the binary allows), for a failure message.
    static std::string Stacks();
    // False when the binary was built without the counting operator new (Count stays 0).
    static bool Available();
};

}  // namespace VantorGLTest
