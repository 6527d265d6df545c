// Platform: the parts of the seam that read the same on every system.
#include "shell/Platform.h"

namespace VantorGL {

std::filesystem::path PathFromText(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace VantorGL
