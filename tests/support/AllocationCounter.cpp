// AllocationCounter: the counting global operator new/delete of the test program. Unarmed, each
// allocation costs one relaxed atomic load more than the library's own.
#include "support/AllocationCounter.h"

#include <execinfo.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <pthread.h>
#include <sstream>

namespace VantorGLTest {

namespace {

std::atomic<bool> armed{false};
pthread_t armedThread;
std::atomic<std::size_t> count{0};
std::atomic<std::size_t> bytes{0};
void* stacks[AllocationCounter::kStacksKept][AllocationCounter::kStackDepth];
int stackDepths[AllocationCounter::kStacksKept];
thread_local bool inside = false;  // backtrace itself may allocate: never count or recurse

#ifdef QUENLITE_COUNT_ALLOCATIONS
void Note(std::size_t size) {
    if (!armed.load(std::memory_order_relaxed) || inside || !pthread_equal(pthread_self(), armedThread)) return;
    inside = true;
    std::size_t index = count.fetch_add(1);
    bytes += size;
    if (index < std::size_t(AllocationCounter::kStacksKept))
        stackDepths[index] = backtrace(stacks[index], AllocationCounter::kStackDepth);
    inside = false;
}

void* Allocate(std::size_t size) {
    Note(size);
    if (size == 0) size = 1;
    for (;;) {
        if (void* p = std::malloc(size)) return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
    Note(size);
    std::size_t align = std::max(std::size_t(alignment), sizeof(void*));
    std::size_t rounded = (std::max<std::size_t>(size, 1) + align - 1) / align * align;
    if (void* p = std::aligned_alloc(align, rounded)) return p;
    throw std::bad_alloc();
}
#endif

}  // namespace

void AllocationCounter::Arm() {
    // Load the unwinder before counting: its first use allocates.
    void* warm[2];
    backtrace(warm, 2);
    count = 0;
    bytes = 0;
    armedThread = pthread_self();
    armed = true;
}

void AllocationCounter::Disarm() { armed = false; }
std::size_t AllocationCounter::Count() { return count; }
std::size_t AllocationCounter::Bytes() { return bytes; }

bool AllocationCounter::Available() {
#ifdef QUENLITE_COUNT_ALLOCATIONS
    return true;
#else
    return false;
#endif
}

std::string AllocationCounter::Stacks() {
    std::ostringstream text;
    std::size_t kept = std::min<std::size_t>(count, kStacksKept);
    for (std::size_t i = 0; i < kept; ++i) {
        text << "allocation " << i + 1 << ":\n";
        char** names = backtrace_symbols(stacks[i], stackDepths[i]);
        for (int f = 0; f < stackDepths[i]; ++f) text << "  " << (names ? names[f] : "?") << "\n";
        std::free(names);
    }
    return text.str();
}

}  // namespace VantorGLTest

#ifdef QUENLITE_COUNT_ALLOCATIONS
// The replacements: every form of global new and delete of the program.
void* operator new(std::size_t size) { return VantorGLTest::Allocate(size); }
void* operator new[](std::size_t size) { return VantorGLTest::Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return VantorGLTest::Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return operator new(size, std::nothrow); }
void* operator new(std::size_t size, std::align_val_t a) { return VantorGLTest::AllocateAligned(size, a); }
void* operator new[](std::size_t size, std::align_val_t a) { return VantorGLTest::AllocateAligned(size, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
#endif
