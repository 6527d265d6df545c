# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads, for std::thread).
# The libraries come from scripts/windows-deps, whose cache folder is QUENLITE_MINGW_PREFIX; left
# unset, the script names it (the folder keyed by the installed library versions).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUENLITE_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUENLITE_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUENLITE_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${QUENLITE_MINGW_HOST}-windres)

if(NOT QUENLITE_MINGW_PREFIX)
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-deps --print
                  OUTPUT_VARIABLE QUENLITE_MINGW_PREFIX OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
set(QUENLITE_MINGW_PREFIX ${QUENLITE_MINGW_PREFIX} CACHE PATH "The cross-built libraries (scripts/windows-deps)")
# Checks compiled while configuring read this file again: they get the folder, not another lookup.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUENLITE_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${QUENLITE_MINGW_HOST} ${QUENLITE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config answers for the cross-built libraries only, never the machine's own.
set(ENV{PKG_CONFIG_LIBDIR} ${QUENLITE_MINGW_PREFIX}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
# Test programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
