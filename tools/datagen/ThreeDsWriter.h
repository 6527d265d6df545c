// Writes a datagen Model as a 3DS file holding exactly the chunks the demo's loader reads:
// main > editor > materials (name, diffuse colour), then objects > mesh > vertices, mapping
// coordinates (unless left out), faces (with a flags word) > face material groups.
#pragma once

#include "MeshBuilder.h"

#include <string>
#include <vector>

namespace Datagen {

// Serialises `model`. Positions are in the demo's axes and go out as file (x, -z, y), which the
// loader turns back into (x, y, z). Objects with more than 65535 vertices or faces are split
// into several objects ("name", "name.1", ...). Every face lands in the group of its material.
// Without `mapping` no object carries mapping coordinates (the vertices stay as they are).
std::vector<unsigned char> EncodeThreeDs(const Model& model, bool mapping = true);

// Encodes and writes `model` to `path`; on failure prints "DATAGEN: <path>: ..." and returns false.
bool WriteThreeDs(const std::string& path, const Model& model, bool mapping = true);

}  // namespace Datagen
