// HasCurrentGlContext over SDL, which owns every context of the program.
#include "render/GlContext.h"

#include <SDL2/SDL.h>

namespace VantorGL {

bool HasCurrentGlContext() { return SDL_GL_GetCurrentContext() != nullptr; }

}  // namespace VantorGL
