// Platform: the few things Linux and Windows do differently, behind one narrow seam. The program
// keeps paths as UTF-8 text; they become the system's own form (wide on Windows) only here.
// PlatformPosix.cpp and PlatformWin32.cpp implement it; the build takes the one for its target.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace VantorGL {

// Contract: the path named by UTF-8 `text` as the system spells it, and back.
std::filesystem::path PathFromText(const std::string& text);
std::string PathText(const std::filesystem::path& path);

// Contract: std::fopen for a UTF-8 path, through the wide API on Windows. `mode` as for fopen.
std::FILE* OpenFile(const std::string& path, const char* mode);

// What a path names, and for a regular file its size. On Missing `osError` holds the errno value
// that says why (ENOENT when nothing is there).
enum class eFileKind { Missing, Regular, Folder, Other };
eFileKind FileKindOf(const std::string& path, std::int64_t* size = nullptr, int* osError = nullptr);

// Contract: whether a file can be written at `path`: it is opened for writing (made when
// missing, left as it was otherwise) and closed again.
bool CanWriteFile(const std::filesystem::path& path);

// Contract: the running program's own file, or an empty path when the system does not say.
std::filesystem::path RunningProgramFile();

// Contract: the user's folder for the demo's state (the debug log when the working directory
// refuses it): $XDG_STATE_HOME/quenlite, else $HOME/.local/state/quenlite on Linux;
// %LOCALAPPDATA%\quenlite on Windows. Empty when the environment names no absolute folder.
std::filesystem::path UserStateFolder();

// Contract: a scalable, regular, upright face of `family` installed on the system ("" asks for the
// default sans), or its nearest substitute: fontconfig's match on Linux, a font in the Windows
// fonts folder on Windows. False when none is found.
bool FindSystemFont(const std::string& family, std::string& path, int& faceIndex);

// Contract: whether there is a desktop to show a window or a message box on before any video
// driver is open: $DISPLAY or $WAYLAND_DISPLAY on Linux; always on Windows.
bool SystemHasDesktop();

// Contract: how long ago, in milliseconds, the system started this process (what the start-up
// report calls the time before main); 0 when it does not say.
double ProcessAgeMilliseconds();

// Silences the chatter of the system's sound library while SDL probes it (ALSA on Linux); the
// sound module's own lines say what the viewer needs. Called once before the audio opens.
void QuietSoundSystem();

// Contract: memory blocks of a megabyte or more go back to the system as soon as they are freed,
// so the pictures and sound decoded at start-up, once handed on, leave the resident set. On
// Linux glibc's malloc otherwise raises its threshold past every large block freed and keeps
// the later ones in its heap (about 10 MB held after start-up). Nothing to do on Windows.
// Called once, before the window opens.
void ReturnLargeBlocksWhenFreed();

}  // namespace VantorGL
