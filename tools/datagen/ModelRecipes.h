// The recipes of the demo's models, one builder per file the registry loads. Each fills an
// empty Model in the demo's axes (Y up) at the size and orientation its scene draws it at.
#pragma once

#include "MeshBuilder.h"
#include "Palette.h"

namespace Datagen {

// The frame the models are fitted to (curves and segments no finer than a pixel there): the
// demo's 1024 x 768 window.
constexpr int kFrameRows = 768;

// Opening and crystal scenes.
bool BuildMVLogo(Model& model);
bool BuildMVOutline(Model& model);
bool BuildCrystalMany(Model& model);
bool BuildCrystalWide(Model& model);
bool BuildCrystalRing(Model& model, int ring);  // ring 1..4
constexpr float kRingRadius[4] = {120, 175, 232, 290};  // centre lines of the four crystal rings
bool BuildRay(Model& model);
// Tunnel flight and the torus interlude.
bool BuildTunnel(Model& model);
bool BuildSpiketube(Model& model);
bool BuildCubering(Model& model, bool wide);
bool BuildTorus(Model& model);
bool BuildTorusCrystals(Model& model);
bool BuildCuball(Model& model);
bool BuildSkySphere(Model& model);
// Figure and greetings.
bool BuildHumanplantMesh(Model& model);
bool BuildHumanplantHair(Model& model);
bool BuildGreeting(Model& model, int line);  // line 1..3
// Closing canyon.
bool BuildTerGround(Model& model);
bool BuildTerWall(Model& model);
bool BuildTerCrystals(Model& model);
bool BuildTerSky(Model& model);
bool BuildTerRay(Model& model, int ray);  // ray 0..9
bool BuildCredits(Model& model);

}  // namespace Datagen
