// The glass figure scene's moving camera as the figure sees it: the scene scales the figure by
// 150 and turns it by sceneClock degrees about y, so the greetings (drawn in the figure's frame)
// meet the camera on this path. The camera, the figure's scale and the script points come from
// the scene itself; a test holds the rest (the turn, the clock) to what the scene draws.
#pragma once

#include "MeshBuilder.h"
#include "scenes/TavikIsleScene.h"
#include "timeline/Timeline.h"

#include <cmath>

namespace Datagen {

// The figure's placement in the scene: world = kFigureScale * turn(sceneClock degrees about y) * p.
constexpr double kFigureScale = VantorGL::cTavikIsleScene::kFigureScale;
// sceneClock advances by 0.01 per millisecond of a member's own time.
constexpr double kSceneClockPerMs = 0.01;

// When the moving camera shows which greeting, in demo milliseconds.
inline const int kFigureFirstMemberFromMs = VantorGL::TimelineStartMs("tavikIsleFirst");  // its clock starts
constexpr const int* kFigureGreetingFromMs = VantorGL::cTavikIsleScene::kGreetingFromMs;  // 1, 2, 3; none
inline const int kFigureSecondMemberFromMs = VantorGL::TimelineStartMs("tavikIsleSecond");  // its own clock from 0
inline const int kFigureSecondMemberToMs = VantorGL::TimelineEndMs("tavikIsleSecond");

// The view of the projection: 45 degrees vertically at 4:3.
constexpr double kFigureViewFovyDegrees = 45, kFigureViewAspect = 4.0 / 3.0;

// Scene clock of the first member at demo time `ms`.
inline double FirstMemberClockAt(int ms) { return (ms - kFigureFirstMemberFromMs) * kSceneClockPerMs; }

// A point of the scene (world units) in the figure's frame at `sceneClock`.
inline Vec3 WorldToFigure(double sceneClock, double x, double y, double z) {
    const double a = sceneClock * 3.14159265358979323846 / 180, ca = std::cos(a), sa = std::sin(a);
    return {float((x * ca - z * sa) / kFigureScale), float(y / kFigureScale), float((x * sa + z * ca) / kFigureScale)};
}

// A point of the figure's frame in the scene (world units) at `sceneClock`.
inline Vec3 FigureToWorld(double sceneClock, Vec3 p) {
    const double a = sceneClock * 3.14159265358979323846 / 180, ca = std::cos(a), sa = std::sin(a);
    return {float(kFigureScale * (p.x * ca + p.z * sa)), float(kFigureScale * p.y),
            float(kFigureScale * (-p.x * sa + p.z * ca))};
}

struct FigureView {
    Vec3 eye, centre;  // in the figure's frame (model units); the up vector stays (0, 1, 0)
};

// The moving camera (cameraMode 1) at `sceneClock`, in the figure's frame.
inline FigureView MovingCameraInFigure(double c) {
    VantorGL::cVector3 eye, centre;
    VantorGL::cTavikIsleScene::MovingView(c, eye, centre);
    FigureView v;
    v.eye = WorldToFigure(c, eye.x(), eye.y(), eye.z());
    v.centre = WorldToFigure(c, centre.x(), centre.y(), centre.z());
    return v;
}

}  // namespace Datagen
