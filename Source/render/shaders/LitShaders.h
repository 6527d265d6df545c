// The lit-surface family: per-pixel normal-mapped lighting of the textured models from two
// coloured directional lights, Blinn specular scaled by a specular map, ambient and exp2 fog.
// cNPMultiLight is the reference; the others differ by one uniform and a line of the fragment.
#pragma once

#include "render/Camera.h"
#include "render/ShaderSystem.h"
#include "render/Vector3.h"

namespace VantorGL {

// Generic vertex attribute that carries the per-vertex tangent (xyz) of a model into the lit
// programs. Location 6 aliases no conventional attribute on any driver we know of. Where no
// array feeds it, or the tangent it gives is zero or parallel to the normal, the vertex stage
// builds a tangent from the normal instead.
constexpr GLuint kTangentAttribute = 6;

// Texture units of the family: ColorMap 0, NormalMap 1, HeightMap 2, SpecularMap 3, CubeMap 4.
constexpr GLenum kLitCubeMapUnit = 4;

// The shared part of the family: fields, defaults, setters, uniform look-ups, Bind and Unbind.
// Each member class publishes what it offers (cTorbObjectShader has no Bind, only cNPMultiLight
// has fog setters).
class cLitSurfaceShader : public cShaderSystem {
public:
    // Light positions are used as directions (not relative to the vertex). Owners write them
    // directly; they reach the GPU in Bind.
    cVector3f LightPosition{10.0f, 5.0f, 2.0f};
    cVector3f LightPosition2{-10.0f, 5.0f, 2.0f};
    cVector3f LightColor{0.8f, 0.4f, 0.4f};
    cVector3f Light2Color{0.4f, 0.4f, 0.8f};

    // Binds "Tangent" to kTangentAttribute before the program links.
    bool InitVertexShader() override;
    // Links, then looks up the common names and the class's extra ones.
    bool InitFragmentShader() override;

    // Store only; the values reach the GPU in Bind. Texture setters take GL texture names; the
    // cube map goes on unit 4 (the two-light programs never sample it).
    void SetCubeMap(GLuint name) { cubeMapTexture = name; }
    void SetColorMap(GLuint name) { colorMapTexture = name; }
    void SetNormalMap(GLuint name) { normalMapTexture = name; }
    void SetHeightMap(GLuint name) { heightMapTexture = name; }
    void SetSpecularMap(GLuint name) { specularMapTexture = name; }
    // Stores 1 - x: the weight of the reflection in the reflective variants.
    void SetR(float x) { r = 1.0f - x; }
    void SetSpecPower(float x) { specPower = x; }
    void SetSpecOverdrive(float x) { specOverdrive = x; }
    // The ambient factor `Ai`.
    void SetAmbient(float x) { ambient = x; }

    // The value pushed as uniform `r` (1 minus the last SetR argument).
    float R() const { return r; }

protected:
    cLitSurfaceShader(const char* className, const char* fragmentSource);

    void SetFogDensity(float x) { fogDensity = x; }
    void SetFogColor(cVector3f color) { fogColor = color; }

    // Uses the program, sets the sampler units and pushes every common value; vEye is the
    // camera's eye. Classes push their extra uniform after this and then call BindTextures.
    void BindUniforms(const cCamera& camera) const;
    // Units 0-3: 2D texturing on, colour/normal/height/specular map bound; unit 4: cube texturing
    // on, cube map bound. Unit 4 is left active.
    void BindTextures() const;
    // Stops the program; unit 4: cube unbound and cube texturing off; units 3, 2, 1, 0: 2D
    // unbound (2D texturing stays on). Unit 0 is left active.
    void Unbind();

    // The class's one extra uniform ("Color" or "alpha"), looked up after the common names.
    const char* extraUniformName = nullptr;
    GLint extraLocation = -1;

private:
    GLuint cubeMapTexture = 0;
    GLuint colorMapTexture = 0;
    GLuint normalMapTexture = 0;
    GLuint heightMapTexture = 0;
    GLuint specularMapTexture = 0;
    float r = 0.0f;
    float specPower = 32.0f;
    float specOverdrive = 1.0f;
    float ambient = 0.2f;  // Ai

    GLint tangentLocation = -1, lightDirLocation = -1, eyeDirLocation = -1;  // attribute/varyings: -1
    GLint lightPositionLocation = -1, lightPosition2Location = -1;
    GLint normalMapLocation = -1, colorMapLocation = -1, heightMapLocation = -1;
    GLint specularMapLocation = -1, cubeMapLocation = -1, eyeLocation = -1, rLocation = -1;
    GLint specPowerLocation = -1, specOverdriveLocation = -1, ambientLocation = -1;
    GLint lightColorLocation = -1, light2ColorLocation = -1;
    GLint fogDensityLocation = -1, fogColorLocation = -1;

    float fogDensity = 0.0f;
    cVector3f fogColor{0.0f, 0.0f, 0.0f};
};

// Two-light normal-mapped surfaces with fog: the pillar room and the floor and walls of the
// workshop.
class cNPMultiLight : public cLitSurfaceShader {
public:
    cNPMultiLight();

    using cLitSurfaceShader::SetFogColor;
    using cLitSurfaceShader::SetFogDensity;
    using cLitSurfaceShader::Unbind;

    // Uses the program with every stored value and the camera's eye; binds units 0-4.
    void Bind(const cCamera& camera) const;
};

// The same program as cNPMultiLight; the registry builds it and nothing draws with it.
class cTorbObjectShader : public cLitSurfaceShader {
public:
    cTorbObjectShader();
};

// cNPMultiLight plus a constant colour added to each light's term.
class cTavikIsleObjectShader : public cLitSurfaceShader {
public:
    cTavikIsleObjectShader();

    void SetColor(cVector3f color) { Color = color; }
    using cLitSurfaceShader::Unbind;
    void Bind(const cCamera& camera) const;

    cVector3f Color{0.0f, 0.0f, 0.0f};
};

// cNPMultiLight whose output alpha is the stored alpha (the logo fades in and out).
class cMVLogoShader : public cLitSurfaceShader {
public:
    cMVLogoShader();

    // Clamps to [0, 1].
    void SetAlpha(float x) { alpha = x <= 0.0f ? 0.0f : (x >= 1.0f ? 1.0f : x); }
    float Alpha() const { return alpha; }
    using cLitSurfaceShader::Unbind;
    void Bind(const cCamera& camera) const;

private:
    float alpha = 0.0f;
};

// cNPMultiLight for the crystal rings; it declares an alpha it does not use.
class cCrystalRingShader : public cLitSurfaceShader {
public:
    cCrystalRingShader();

    // Stored as given (no clamp).
    void SetAlpha(float x) { alpha = x; }
    float Alpha() const { return alpha; }
    using cLitSurfaceShader::Unbind;
    void Bind(const cCamera& camera) const;

private:
    float alpha = 0.0f;
};

}  // namespace VantorGL
