// The suite's main: GoogleTest's usual one, plus, in sanitizer builds, the leak check run right
// after the last test instead of at exit.
//
// Why not at exit: the at-exit check runs last of all, after every library's destructors and
// exit handlers (the GL driver's among them) have run, and there its tracer now and then faulted
// on a range it was scanning ("Tracer caught signal 11"): the test failed with no report at all.
// Right after the last test nothing has been torn down yet, and what a test leaked is exactly as
// unreachable as it would be at exit. __lsan_do_leak_check() also turns the at-exit check off,
// and ends the process with a failing status when it finds a leak.
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
    return result;
}
