// The demo's one display font, which every generated text is cut or painted from: League Spartan
// Bold from the Debian package fonts-league-spartan (SIL Open Font License).
#pragma once

namespace Datagen {

constexpr const char* kDisplayFontPath = "/usr/share/fonts/opentype/league-spartan/LeagueSpartan-Bold.otf";

}  // namespace Datagen
