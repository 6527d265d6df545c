// DamagedData: the ways a data file can be broken on a machine nobody tested (gone, empty, cut
// short, overwritten in the middle, another format under the right name, a folder or a pipe in
// its place, unreadable), applied to one file of a scratch copy (see ScratchFolder.h).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace VantorGLTest {

enum class eDamage { Missing, Empty, Truncated, CorruptMiddle, WrongFormat, Folder, Pipe, Unreadable };

// Every damage, in the order above.
const std::vector<eDamage>& AllDamages();
const char* DamageName(eDamage damage);

// Breaks `file` (which must exist unless the damage does not need it) in place. WrongFormat puts
// the bytes of `otherFormat` there. CorruptMiddle overwrites 256 bytes from the middle with a
// fixed noise pattern (0xFF-heavy, the way a bad sector or a broken copy reads). Unreadable is
// chmod 000. Returns false when the damage could not be made.
bool Damage(const std::filesystem::path& file, eDamage damage, const std::filesystem::path& otherFormat = {});

// True when chmod 000 does not stop this process from reading (running as root).
bool ReadsThroughPermissions();

// Copies the generated data folder of the source tree to `target` (which becomes the data/
// folder, spelled as generated). False when there is no generated data.
bool CopyGeneratedData(const std::filesystem::path& target);

// Names and sizes of every entry under `folder`, relative, sorted: a fingerprint that shows any
// file made, removed or rewritten to another size.
std::vector<std::string> ListTree(const std::filesystem::path& folder);

}  // namespace VantorGLTest
