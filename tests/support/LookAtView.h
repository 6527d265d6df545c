// LookAtView: where a world point lands in a frame drawn through gluLookAt under gluPerspective,
// worked out on the CPU, for tests that ask where something shows (greetings, credits, the sky).
#pragma once

#include <cmath>

namespace VantorGLTest {

class LookAtView {
public:
    // The view of gluLookAt(eye, centre, up) through gluPerspective(fovyDegrees, aspect, ...).
    LookAtView(const double eye[3], const double centre[3], const double up[3], double fovyDegrees, double aspect)
        : tanHalf(std::tan(fovyDegrees * kPi / 360.0)), aspect(aspect) {
        for (int k = 0; k < 3; ++k) from[k] = eye[k], forward[k] = centre[k] - eye[k];
        Normalise(forward);
        Cross(forward, up, side);
        Normalise(side);
        Cross(side, forward, above);
    }

    // Normalised device x and y (-1 to 1 across the view, y up) of world point p; false unless p
    // lies more than `nearest` in front of the eye.
    bool Ndc(const double p[3], double& x, double& y, double nearest) const {
        const double d[3] = {p[0] - from[0], p[1] - from[1], p[2] - from[2]};
        const double depth = Dot(d, forward);
        if (depth <= nearest) return false;
        x = Dot(d, side) / (depth * tanHalf * aspect);
        y = Dot(d, above) / (depth * tanHalf);
        return true;
    }
    // The same in pixels of a width x height frame (y up from the bottom row, as GL stores it).
    bool Pixel(const double p[3], int width, int height, double& x, double& y, double nearest) const {
        if (!Ndc(p, x, y, nearest)) return false;
        x = (x + 1) / 2 * width;
        y = (y + 1) / 2 * height;
        return true;
    }
    const double* Eye() const { return from; }

private:
    static constexpr double kPi = 3.14159265358979323846;
    static double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
    static void Cross(const double a[3], const double b[3], double out[3]) {
        out[0] = a[1] * b[2] - a[2] * b[1], out[1] = a[2] * b[0] - a[0] * b[2], out[2] = a[0] * b[1] - a[1] * b[0];
    }
    static void Normalise(double a[3]) {
        const double length = std::sqrt(Dot(a, a));
        for (int k = 0; k < 3; ++k) a[k] /= length;
    }

    double from[3], forward[3], side[3], above[3];
    double tanHalf, aspect;
};

}  // namespace VantorGLTest
