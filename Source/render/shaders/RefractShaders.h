// The crystal glass programs: the view ray is reflected and refracted (with a slightly different
// index per colour channel) at a normal-mapped surface, both rays look up the scene's cube map,
// and the two colours are combined with Fresnel factors (or plainly summed) plus a crystal tint.
#pragma once

#include "render/Camera.h"
#include "render/ShaderSystem.h"
#include "render/Vector3.h"

namespace VantorGL {

// Fields, setters, uniform look-ups and Bind/Unbind of the two refraction programs.
// Units: ColorMap (a normal map, read at the object-space normal) 0, CubeMap 1.
class cRefractSurfaceShader : public cShaderSystem {
public:
    // Links, then looks up CubeMap, ColorMap, refraction_index, CrystalColor.
    bool InitFragmentShader() override;

    // Store only; the values reach the GPU in Bind.
    void SetCubeMap(GLuint name) { cubeMapTexture = name; }
    void SetColorMap(GLuint name) { colorMapTexture = name; }
    // Index of the red channel; green and blue use +0.05 and +0.1.
    void SetRefractionIndex(float x) { refractionIndex = x; }
    // Added to the result after the weighting.
    void SetCrystalColor(cVector3f color) { crystalColor = color; }

    // Uses the program, CubeMap = 1, ColorMap = 0, pushes the index and the tint; unit 0: colour
    // map with 2D texturing on; unit 1: cube map with cube texturing on. Unit 1 is left active.
    // The camera is not used (the eye-space view ray needs none).
    void Bind(const cCamera& camera) const;
    // Stops the program; unit 1: cube unbound and cube texturing off; unit 0: 2D unbound.
    // Unit 0 is left active.
    void Unbind();

protected:
    cRefractSurfaceShader(const char* className, const char* fragmentSource);

private:
    GLuint colorMapTexture = 0;
    GLuint cubeMapTexture = 0;
    float refractionIndex = 1.0f;
    cVector3f crystalColor{0.0f, 0.0f, 0.0f};
    GLint cubeMapLocation = -1, colorMapLocation = -1;
    GLint refractionIndexLocation = -1, crystalColorLocation = -1;
};

// Fresnel-weighted glass: reflection x T/2 + refraction x R/2 + tint.
class cCrystalRefractShader : public cRefractSurfaceShader {
public:
    cCrystalRefractShader();
};

// Unweighted glass for the cave: reflection + refraction + tint.
class cCrystalCaveRefractShader : public cRefractSurfaceShader {
public:
    cCrystalCaveRefractShader();
};

}  // namespace VantorGL
