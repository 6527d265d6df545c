# The libraries of the Windows build as the imported targets the Linux build gets from pkg-config,
# so every target links the same names on both. Included by CMakeLists.txt for WIN32 only.
set(QUENLITE_MINGW_LIB ${QUENLITE_MINGW_PREFIX}/lib)
set(QUENLITE_MINGW_INCLUDE ${QUENLITE_MINGW_PREFIX}/include)
if(NOT EXISTS ${QUENLITE_MINGW_PREFIX}/.complete)
  message(FATAL_ERROR "The Windows libraries are not built in '${QUENLITE_MINGW_PREFIX}': run scripts/windows-deps")
endif()

# One imported static library with its headers and the system libraries it needs.
function(quenlite_windows_library name archive includes)
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${QUENLITE_MINGW_LIB}/${archive}
                        INTERFACE_INCLUDE_DIRECTORIES "${includes}" INTERFACE_LINK_LIBRARIES "${ARGN}")
endfunction()

# SDL2 with SDL2main: WinMain for the window programs, UTF-8 arguments for every program.
quenlite_windows_library(quenlite_sdl2main libSDL2main.a "${QUENLITE_MINGW_INCLUDE};${QUENLITE_MINGW_INCLUDE}/SDL2")
quenlite_windows_library(quenlite_sdl2 libSDL2.a "${QUENLITE_MINGW_INCLUDE};${QUENLITE_MINGW_INCLUDE}/SDL2"
  user32 gdi32 winmm imm32 ole32 oleaut32 version uuid advapi32 setupapi shell32)
add_library(PkgConfig::SDL2 INTERFACE IMPORTED)
set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_LINK_LIBRARIES "mingw32;quenlite_sdl2main;quenlite_sdl2")
# libepoxy built static: its symbols are this program's own, not a DLL's imports.
quenlite_windows_library(PkgConfig::EPOXY libepoxy.a ${QUENLITE_MINGW_INCLUDE} opengl32)
set_property(TARGET PkgConfig::EPOXY PROPERTY INTERFACE_COMPILE_DEFINITIONS "EPOXY_PUBLIC=extern")
quenlite_windows_library(PkgConfig::PNG libpng16.a ${QUENLITE_MINGW_INCLUDE} ${QUENLITE_MINGW_LIB}/libz.a)
quenlite_windows_library(PkgConfig::FREETYPE libfreetype.a ${QUENLITE_MINGW_INCLUDE}/freetype2 ${QUENLITE_MINGW_LIB}/libz.a)
quenlite_windows_library(JPEG::JPEG libjpeg.a ${QUENLITE_MINGW_INCLUDE})
quenlite_windows_library(PkgConfig::KISSFFT libkissfft-float.a ${QUENLITE_MINGW_INCLUDE}/kissfft)
quenlite_windows_library(PkgConfig::STB libstb.a ${QUENLITE_MINGW_INCLUDE}/stb)
quenlite_windows_library(PkgConfig::IMGUI libimgui.a ${QUENLITE_MINGW_INCLUDE}/imgui quenlite_sdl2 opengl32 imm32)
# mpg123 (LGPL): linked through its import library, shipped as its DLL.
add_library(PkgConfig::MPG123 SHARED IMPORTED GLOBAL)
set_target_properties(PkgConfig::MPG123 PROPERTIES IMPORTED_IMPLIB ${QUENLITE_MINGW_LIB}/libmpg123.dll.a
                      IMPORTED_LOCATION ${QUENLITE_MINGW_PREFIX}/bin/libmpg123-0.dll
                      INTERFACE_INCLUDE_DIRECTORIES ${QUENLITE_MINGW_INCLUDE})
# GL and GLU are Windows' own DLLs; fonts come from the system's fonts folder, not fontconfig.
# The Windows GLU header needs CALLBACK from the Windows headers, which GL code does not include.
add_library(PkgConfig::GLU INTERFACE IMPORTED)
set_target_properties(PkgConfig::GLU PROPERTIES INTERFACE_LINK_LIBRARIES "glu32;opengl32"
                      INTERFACE_COMPILE_DEFINITIONS "CALLBACK=__stdcall")
add_library(PkgConfig::OPENGL INTERFACE IMPORTED)
set_target_properties(PkgConfig::OPENGL PROPERTIES INTERFACE_LINK_LIBRARIES opengl32)
add_library(PkgConfig::FONTCONFIG INTERFACE IMPORTED)

# The compiler's runtime goes into each program (GCC's runtime library exception allows it), so
# the only DLL the programs import beyond Windows' own is mpg123's.
add_link_options(-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic)
set(QUENLITE_WINDOWS_DLLS ${QUENLITE_MINGW_PREFIX}/bin/libmpg123-0.dll)
# The programs in the build tree run under Wine with their DLL beside them.
file(COPY ${QUENLITE_WINDOWS_DLLS} DESTINATION ${CMAKE_BINARY_DIR})
# Paths go to the system as UTF-16 (shell/Platform.h); the Windows headers' text functions too.
# M_PI and its kin, which glibc gives without asking; printf with the C99 conversions (%zu, %lld)
# through mingw-w64's own implementation rather than the old system one.
add_compile_definitions(UNICODE _UNICODE _USE_MATH_DEFINES __USE_MINGW_ANSI_STDIO=1)
# GCC checks format(printf) against the system printf's conversions on Windows, where %zu is
# "unknown"; the Linux build checks the same format strings against C99.
add_compile_options(-Wno-format)
