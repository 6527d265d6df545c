// The lit-surface family: one vertex stage, four fragment variants assembled from shared GLSL
// pieces, and the common Bind/Unbind over texture units 0-4.
#include "render/shaders/LitShaders.h"

namespace VantorGL {

// Shared vertex stage. The tangent basis: the model's tangent (attribute 6) made perpendicular
// to the normal; where it is missing, zero or parallel to the normal, a tangent built from the
// normal and the axis least aligned with it, so normalize never sees a zero vector. EyeDir is
// taken from the clip-space position and its length drives the fog.
static const char* const kLitVertexSource =
    "#version 120\n"
    "attribute vec3 Tangent;\n"
    "uniform vec3 vEye;\n"
    "uniform vec3 LightPosition;\n"
    "uniform vec3 LightPosition2;\n"
    "uniform vec3 EyePos;\n"
    "varying vec2 texCoords;\n"
    "varying vec3 LightDir;\n"
    "varying vec3 LightDir2;\n"
    "varying vec3 EyeDir;\n"
    "varying vec3 vView;\n"
    "vec3 TangentOf(vec3 n)\n"
    "{\n"
    "    vec3 t = gl_NormalMatrix * Tangent;\n"
    "    t -= n * dot(n, t);\n"
    "    if (dot(t, t) > 1.0e-8) {\n"
    "        return normalize(t);\n"
    "    }\n"
    "    vec3 a = abs(n);\n"
    "    vec3 axis;\n"
    "    if (a.x <= a.y && a.x <= a.z) {\n"
    "        axis = vec3(1.0, 0.0, 0.0);\n"
    "    } else if (a.y <= a.z) {\n"
    "        axis = vec3(0.0, 1.0, 0.0);\n"
    "    } else {\n"
    "        axis = vec3(0.0, 0.0, 1.0);\n"
    "    }\n"
    "    return normalize(cross(n, axis));\n"
    "}\n"
    "void main()\n"
    "{\n"
    "    vec3 eyeDir = vEye - (gl_ModelViewProjectionMatrix * gl_Vertex).xyz;\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "    vView = vEye - (gl_ModelViewMatrix * gl_Vertex).xyz;\n"
    "    texCoords = gl_MultiTexCoord0.xy;\n"
    "    vec3 n = normalize(gl_NormalMatrix * gl_Normal);\n"
    "    vec3 t = TangentOf(n);\n"
    "    vec3 b = cross(n, t);\n"
    "    LightDir = normalize(vec3(dot(LightPosition, t), dot(LightPosition, b), dot(LightPosition, n)));\n"
    "    LightDir2 = normalize(vec3(dot(LightPosition2, t), dot(LightPosition2, b), dot(LightPosition2, n)));\n"
    "    vec3 v = vec3(dot(eyeDir, t), dot(eyeDir, b), dot(eyeDir, n));\n"
    "    EyeDir = normalize(v);\n"
    "    gl_FogFragCoord = length(v);\n"
    "}\n";

// Declarations and the per-light term shared by every fragment variant. Per light:
// diffuse max(N.L, 0) * colour plus Blinn specular scaled by the specular map, capped at 1.
// The height map is bound for the family but no variant displaces by it.
#define LIT_FRAGMENT_HEAD                                                          \
    "#version 120\n"                                                               \
    "uniform sampler2D ColorMap;\n"                                                \
    "uniform sampler2D NormalMap;\n"                                               \
    "uniform sampler2D HeightMap;\n"                                               \
    "uniform sampler2D SpecularMap;\n"                                             \
    "uniform float r;\n"                                                           \
    "uniform float SpecPower;\n"                                                   \
    "uniform float SpecOverdrive;\n"                                               \
    "uniform float Ai;\n"                                                          \
    "uniform vec3 LightColor;\n"                                                   \
    "uniform vec3 Light2Color;\n"                                                  \
    "uniform float FogDensity;\n"                                                  \
    "uniform vec3 FogColor;\n"                                                     \
    "varying vec2 texCoords;\n"                                                    \
    "varying vec3 LightDir;\n"                                                     \
    "varying vec3 LightDir2;\n"                                                    \
    "varying vec3 EyeDir;\n"                                                       \
    "varying vec3 vView;\n"                                                        \
    "vec3 LightTerm(vec3 N, vec3 L, vec3 color, vec3 V, float s)\n"                \
    "{\n"                                                                          \
    "    vec3 d = max(dot(N, L), 0.0) * color;\n"                                  \
    "    vec3 H = normalize(L + V);\n"                                             \
    "    float highlight = pow(clamp(dot(N, H), 0.0, 1.0), SpecPower) * SpecOverdrive * s;\n" \
    "    return min(d + vec3(highlight), vec3(1.0));\n"                            \
    "}\n"

// Start of main: fog factor exp(-(density * distance)^2), the maps and both light terms.
#define LIT_FRAGMENT_MAIN                                                          \
    "void main()\n"                                                                \
    "{\n"                                                                          \
    "    float f = FogDensity * gl_FogFragCoord;\n"                                \
    "    f = f * f;\n"                                                             \
    "    float fogFactor = clamp(pow(2.71828, -f), 0.0, 1.0);\n"                   \
    "    float s = texture2D(SpecularMap, texCoords).r;\n"                         \
    "    vec3 N = texture2D(NormalMap, texCoords).rgb * 2.0 - 1.0;\n"              \
    "    vec3 V = normalize(vView);\n"                                             \
    "    vec3 lit1 = LightTerm(N, LightDir, LightColor, V, s);\n"                  \
    "    vec3 lit2 = LightTerm(N, LightDir2, Light2Color, V, s);\n"                \
    "    vec4 T = texture2D(ColorMap, texCoords);\n"

#define LIT_FRAGMENT_PLAIN_MIX                                                     \
    "    vec4 L1 = T * Ai + vec4(lit1, 1.0) * T;\n"                                \
    "    vec4 L2 = T * Ai + vec4(lit2, 1.0) * T;\n"                                \
    "    gl_FragColor = mix(vec4(FogColor, 1.0), (L1 + L2) / 2.0, fogFactor);\n"

static const char* const kNPMultiLightFragmentSource =
    LIT_FRAGMENT_HEAD
    LIT_FRAGMENT_MAIN
    LIT_FRAGMENT_PLAIN_MIX
    "}\n";

// Each light's term gets the constant Color added.
static const char* const kTavikIsleFragmentSource =
    LIT_FRAGMENT_HEAD
    "uniform vec3 Color;\n"
    LIT_FRAGMENT_MAIN
    "    vec4 L1 = T * Ai + vec4(lit1, 1.0) * T + vec4(Color, 1.0);\n"
    "    vec4 L2 = T * Ai + vec4(lit2, 1.0) * T + vec4(Color, 1.0);\n"
    "    gl_FragColor = mix(vec4(FogColor, 1.0), (L1 + L2) / 2.0, fogFactor);\n"
    "}\n";

// The fogged colour with the stored alpha.
static const char* const kMVLogoFragmentSource =
    LIT_FRAGMENT_HEAD
    "uniform float alpha;\n"
    LIT_FRAGMENT_MAIN
    LIT_FRAGMENT_PLAIN_MIX
    "    gl_FragColor.a = alpha;\n"
    "}\n";

// Declares alpha and leaves it unused (its location is -1).
static const char* const kCrystalRingFragmentSource =
    LIT_FRAGMENT_HEAD
    "uniform float alpha;\n"
    LIT_FRAGMENT_MAIN
    LIT_FRAGMENT_PLAIN_MIX
    "}\n";

#undef LIT_FRAGMENT_HEAD
#undef LIT_FRAGMENT_MAIN
#undef LIT_FRAGMENT_PLAIN_MIX

// --- cLitSurfaceShader ---

cLitSurfaceShader::cLitSurfaceShader(const char* className, const char* fragmentSource)
    : cShaderSystem(className, kLitVertexSource, fragmentSource) {}

bool cLitSurfaceShader::InitVertexShader() {
    if (!cShaderSystem::InitVertexShader()) return false;
    // Takes effect when InitFragmentShader links the program.
    glBindAttribLocationARB(program, kTangentAttribute, "Tangent");
    return true;
}

bool cLitSurfaceShader::InitFragmentShader() {
    if (!cShaderSystem::InitFragmentShader()) return false;
    // "Tangent", "LightDir" and "EyeDir" are an attribute and varyings, not uniforms: -1.
    tangentLocation = UniformLocation("Tangent");
    lightDirLocation = UniformLocation("LightDir");
    eyeDirLocation = UniformLocation("EyeDir");
    lightPositionLocation = UniformLocation("LightPosition");
    lightPosition2Location = UniformLocation("LightPosition2");
    normalMapLocation = UniformLocation("NormalMap");
    colorMapLocation = UniformLocation("ColorMap");
    heightMapLocation = UniformLocation("HeightMap");
    specularMapLocation = UniformLocation("SpecularMap");
    cubeMapLocation = UniformLocation("CubeMap");
    eyeLocation = UniformLocation("vEye");
    rLocation = UniformLocation("r");
    specPowerLocation = UniformLocation("SpecPower");
    specOverdriveLocation = UniformLocation("SpecOverdrive");
    ambientLocation = UniformLocation("Ai");
    lightColorLocation = UniformLocation("LightColor");
    light2ColorLocation = UniformLocation("Light2Color");
    fogDensityLocation = UniformLocation("FogDensity");
    fogColorLocation = UniformLocation("FogColor");
    if (extraUniformName) extraLocation = UniformLocation(extraUniformName);
    return true;
}

void cLitSurfaceShader::BindUniforms(const cCamera& camera) const {
    UseProgram();
    SetUniform1i(cubeMapLocation, 4);
    SetUniform1i(specularMapLocation, 3);
    SetUniform1i(heightMapLocation, 2);
    SetUniform1i(normalMapLocation, 1);
    SetUniform1i(colorMapLocation, 0);
    SetUniform3f(eyeLocation, float(camera.eye.x()), float(camera.eye.y()), float(camera.eye.z()));
    SetUniform3f(lightPositionLocation, LightPosition.x, LightPosition.y, LightPosition.z);
    SetUniform3f(lightPosition2Location, LightPosition2.x, LightPosition2.y, LightPosition2.z);
    SetUniform3f(lightColorLocation, LightColor.x, LightColor.y, LightColor.z);
    SetUniform3f(light2ColorLocation, Light2Color.x, Light2Color.y, Light2Color.z);
    // The tangent comes from attribute 6 (or the normal), never from here: a no-op at -1.
    SetUniform3f(tangentLocation, 0.0f, 0.0f, 0.0f);
    SetUniform1f(rLocation, r);
    SetUniform1f(specPowerLocation, specPower);
    SetUniform1f(specOverdriveLocation, specOverdrive);
    SetUniform1f(ambientLocation, ambient);
    SetUniform1f(fogDensityLocation, fogDensity);
    SetUniform3f(fogColorLocation, fogColor.x, fogColor.y, fogColor.z);
}

void cLitSurfaceShader::BindTextures() const {
    const GLuint maps[4] = {colorMapTexture, normalMapTexture, heightMapTexture, specularMapTexture};
    for (int unit = 0; unit < 4; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, maps[unit]);
    }
    glActiveTexture(GL_TEXTURE0 + kLitCubeMapUnit);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMapTexture);
}

void cLitSurfaceShader::Unbind() {
    DisableProgram();
    glActiveTexture(GL_TEXTURE0 + kLitCubeMapUnit);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glDisable(GL_TEXTURE_CUBE_MAP);
    for (int unit = 3; unit >= 0; --unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

// --- the family members ---

cNPMultiLight::cNPMultiLight() : cLitSurfaceShader("cNPMultiLight", kNPMultiLightFragmentSource) {}

void cNPMultiLight::Bind(const cCamera& camera) const {
    BindUniforms(camera);
    BindTextures();
}

cTorbObjectShader::cTorbObjectShader()
    : cLitSurfaceShader("cTorbObjectShader", kNPMultiLightFragmentSource) {}

cTavikIsleObjectShader::cTavikIsleObjectShader()
    : cLitSurfaceShader("cTavikIsleObjectShader", kTavikIsleFragmentSource) {
    extraUniformName = "Color";
}

void cTavikIsleObjectShader::Bind(const cCamera& camera) const {
    BindUniforms(camera);
    SetUniform3f(extraLocation, Color.x, Color.y, Color.z);
    BindTextures();
}

cMVLogoShader::cMVLogoShader() : cLitSurfaceShader("cMVLogoShader", kMVLogoFragmentSource) {
    extraUniformName = "alpha";
}

void cMVLogoShader::Bind(const cCamera& camera) const {
    BindUniforms(camera);
    SetUniform1f(extraLocation, alpha);
    BindTextures();
}

cCrystalRingShader::cCrystalRingShader()
    : cLitSurfaceShader("cCrystalRingShader", kCrystalRingFragmentSource) {
    extraUniformName = "alpha";
}

void cCrystalRingShader::Bind(const cCamera& camera) const {
    BindUniforms(camera);
    SetUniform1f(extraLocation, alpha);
    BindTextures();
}

}  // namespace VantorGL
