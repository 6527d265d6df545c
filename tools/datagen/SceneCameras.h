// The cameras of the canyon and torus scenes as the generator fits their models to them, in the
// generator's vectors. Every number comes from the scenes and the timeline themselves.
#pragma once

#include "MeshBuilder.h"
#include "scenes/CucumberCampingScene.h"
#include "scenes/Route21Scene.h"
#include "timeline/Timeline.h"

namespace Datagen {

inline Vec3 ToVec3(const VantorGL::cVector3& v) { return {float(v.x()), float(v.y()), float(v.z())}; }

// The canyon (drawn unscaled): the eye slides from its place at the scene's start to its place at
// the end of the demo, looking at the credits.
using VantorGL::cCucumberCampingScene;
inline const Vec3 kCanyonEyeStart = ToVec3(cCucumberCampingScene::EyeAt(0.0));
inline const Vec3 kCanyonEyeEnd = ToVec3(cCucumberCampingScene::EyeAt(
    (VantorGL::kDemoEndMs - VantorGL::TimelineStartMs("cucumberCamping")) * cCucumberCampingScene::kClockPerMs));
inline const Vec3 kCanyonTarget{cCucumberCampingScene::kCreditsX, cCucumberCampingScene::kCreditsY,
                                cCucumberCampingScene::kCreditsZ};

// The torus interlude's eye and viewing direction in model units (the scene scales its models).
using VantorGL::cRoute21Scene;
inline const Vec3 kTorusEye{cRoute21Scene::kEyeX / cRoute21Scene::kModelScale,
                            cRoute21Scene::kEyeY / cRoute21Scene::kModelScale,
                            cRoute21Scene::kEyeZ / cRoute21Scene::kModelScale};
inline const Vec3 kTorusViewAxis = Normalize(Vec3{cRoute21Scene::kLookAtX - cRoute21Scene::kEyeX,
                                                  cRoute21Scene::kLookAtY - cRoute21Scene::kEyeY,
                                                  cRoute21Scene::kLookAtZ - cRoute21Scene::kEyeZ});

}  // namespace Datagen
