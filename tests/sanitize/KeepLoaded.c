/* KeepLoaded: preloaded by scripts/sanitize only. Every library opened with dlopen stays mapped
 * until exit (RTLD_NODELETE), so LeakSanitizer can still name the library that allocated memory
 * it kept: the GL driver and its compiler are unloaded before the leak check otherwise, and
 * their leftovers show up as "<unknown module>", which no suppression can match. */
#define _GNU_SOURCE
#include <dlfcn.h>

void* dlopen(const char* file, int flags) {
    static void* (*next)(const char*, int);
    if (!next) next = (void* (*)(const char*, int))dlsym(RTLD_NEXT, "dlopen");
    return next(file, flags | RTLD_NODELETE);
}
