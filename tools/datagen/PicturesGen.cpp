// datagen: pictures of the data folder. The painting lives in Picture*.cpp, part of the
// datagen_core library, which the tests link as well.
#include "Datagen.h"
#include "Pictures.h"

namespace Datagen {

bool GeneratePictures(const std::string& root, const cFileChoice& choice) { return WriteAllPictures(root, choice); }

}  // namespace Datagen
