// cWorkshopScene: the test bench scene the sequencer owns and initialises but never schedules.
// Its content arrives with the scene work; until then it has no lasting effect.
#pragma once

#include "timeline/SceneSystem.h"

namespace VantorGL {

class cWorkshopScene : public cSceneSystem {};

}  // namespace VantorGL
