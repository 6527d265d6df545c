// cVector3 and cVector3f: the two plain vector value types of the renderer. cVector3 (double)
// carries camera positions into gluLookAt; cVector3f (float) carries particle and grid data.
#pragma once

namespace VantorGL {

// Double-precision 3-vector, copied by value. A default-constructed vector means "not set yet"
// and reads as zero, so copying one is never undefined.
class cVector3 {
public:
    cVector3() = default;
    cVector3(double x, double y, double z) : vx(x), vy(y), vz(z) {}

    double x() const { return vx; }
    double y() const { return vy; }
    double z() const { return vz; }

private:
    double vx = 0.0, vy = 0.0, vz = 0.0;
};

// Single-precision 3-vector with the few operations the particles and the grid need.
// The components stay public fields: the grid hands &v.x straight to glNormal3fv/glVertex3fv.
class cVector3f {
public:
    float x, y, z;

    cVector3f() : x(0.0f), y(0.0f), z(0.0f) {}
    cVector3f(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    void SetX(float v) { x = v; }
    void SetY(float v) { y = v; }
    void SetZ(float v) { z = v; }
    void Set(float x_, float y_, float z_) { x = x_; y = y_; z = z_; }
    float GetX() const { return x; }
    float GetY() const { return y; }
    float GetZ() const { return z; }

    // a - b as a new vector.
    cVector3f operator-(const cVector3f& b) const { return cVector3f(x - b.x, y - b.y, z - b.z); }
    // v * s as a new vector.
    cVector3f operator*(float s) const { return cVector3f(x * s, y * s, z * s); }
    // In-place add; returns the sum.
    cVector3f& operator+=(const cVector3f& w) {
        x += w.x;
        y += w.y;
        z += w.z;
        return *this;
    }

    // The three floats as an array for the glXxx3fv calls.
    const float* Data() const { return &x; }
};

static_assert(sizeof(cVector3f) == 3 * sizeof(float), "cVector3f is passed to GL as float[3]");

}  // namespace VantorGL
