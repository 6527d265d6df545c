// The crystal glass programs: shared vertex stage and refraction function in GLSL 1.20, the two
// ways of combining the rays, and the common Bind/Unbind over units 0 and 1.
#include "render/shaders/RefractShaders.h"

namespace VantorGL {

// View is the eye-space surface-to-eye direction; the normal map is read at 0.6 x the
// object-space normal, not at the model's texture coordinates.
static const char* const kRefractVertexSource =
    "#version 120\n"
    "varying vec3 View;\n"
    "varying vec3 N;\n"
    "varying vec3 ScreenPos;\n"
    "void main()\n"
    "{\n"
    "    vec3 ecPosition3 = (gl_ModelViewMatrix * gl_Vertex).xyz;\n"
    "    View = normalize(-ecPosition3);\n"
    "    N = normalize(gl_NormalMatrix * gl_Normal);\n"
    "    gl_TexCoord[0] = 0.6 * vec4(gl_Normal, 1.0);\n"
    "    gl_Position = ftransform();\n"
    "    ScreenPos = gl_Position.xyz;\n"
    "}\n";

// myRefract: reflection and refraction of I at n going from index a into index b, with the
// Fresnel amplitudes rs, rp folded into R and T. Past the critical angle the refracted ray's
// cosine is held at 0 (the grazing ray, R = 1, T = 0) instead of taking the root of a negative
// number, and a vanishing Fresnel denominator counts as full reflection: no NaN reaches the
// cube look-ups or the colour.
// Then: perturbed normal, three rays per kind (indices +0, +0.05, +0.1 for r, g, b; R and T of
// the blue call), rays turned back to world orientation and reversed, one channel each.
#define REFRACT_FRAGMENT_HEAD                                                              \
    "#version 120\n"                                                                       \
    "uniform sampler2D ColorMap;\n"                                                        \
    "uniform samplerCube CubeMap;\n"                                                       \
    "uniform float refraction_index;\n"                                                    \
    "uniform vec3 CrystalColor;\n"                                                         \
    "varying vec3 View;\n"                                                                 \
    "varying vec3 N;\n"                                                                    \
    "float FresnelRatio(float num, float den)\n"                                           \
    "{\n"                                                                                  \
    "    return abs(den) > 1.0e-6 ? num / den : 1.0;\n"                                    \
    "}\n"                                                                                  \
    "void myRefract(vec3 I, vec3 n, float a, float b, out vec3 reflection,\n"              \
    "               out vec3 refraction, out float R, out float T)\n"                      \
    "{\n"                                                                                  \
    "    float eta = a / b;\n"                                                             \
    "    float c1 = dot(I, n);\n"                                                          \
    "    float c2 = sqrt(max(1.0 - eta * eta * (1.0 - c1 * c1), 0.0));\n"                  \
    "    reflection = I - 2.0 * c1 * n;\n"                                                 \
    "    refraction = eta * I + (c2 - eta * c1) * n;\n"                                    \
    "    float rs = FresnelRatio(a * c1 - b * c2, a * c1 + b * c2);\n"                     \
    "    float rp = FresnelRatio(b * c1 - a * c2, b * c1 + a * c2);\n"                     \
    "    R = (rs * rs + rp * rp) / 2.0;\n"                                                 \
    "    T = ((1.0 - rs) * (1.0 - rs) + (1.0 - rp) * (1.0 - rp)) / 2.0;\n"                 \
    "}\n"                                                                                  \
    "vec3 WorldRay(vec3 ray)\n"                                                            \
    "{\n"                                                                                  \
    "    return -(gl_ModelViewMatrixTranspose * vec4(ray, 0.0)).xyz;\n"                    \
    "}\n"                                                                                  \
    "void main()\n"                                                                        \
    "{\n"                                                                                  \
    "    vec3 nN = 0.5 * (N + 2.0 * (texture2D(ColorMap, gl_TexCoord[0].xy).rgb - 0.5));\n" \
    "    vec3 reflectR, reflectG, reflectB, refractR, refractG, refractB;\n"               \
    "    float R, T;\n"                                                                    \
    "    myRefract(View, nN, 1.0, refraction_index, reflectR, refractR, R, T);\n"          \
    "    myRefract(View, nN, 1.0, refraction_index + 0.05, reflectG, refractG, R, T);\n"   \
    "    myRefract(View, nN, 1.0, refraction_index + 0.1, reflectB, refractB, R, T);\n"    \
    "    vec4 reflect_color = vec4(textureCube(CubeMap, WorldRay(reflectR)).r,\n"          \
    "                              textureCube(CubeMap, WorldRay(reflectG)).g,\n"          \
    "                              textureCube(CubeMap, WorldRay(reflectB)).b, 1.0);\n"    \
    "    vec4 refract_color = vec4(textureCube(CubeMap, WorldRay(refractR)).r,\n"          \
    "                              textureCube(CubeMap, WorldRay(refractG)).g,\n"          \
    "                              textureCube(CubeMap, WorldRay(refractB)).b, 1.0);\n"

// Fresnel weights (halved) on the two colours, then the tint.
static const char* const kCrystalRefractFragmentSource =
    REFRACT_FRAGMENT_HEAD
    "    float Th = T * 0.5;\n"
    "    float Rh = R * 0.5;\n"
    "    gl_FragColor = reflect_color * Th + refract_color * Rh + vec4(CrystalColor, 1.0);\n"
    "    gl_FragColor.a = 1.0;\n"
    "}\n";

// Plain sum, then the tint.
static const char* const kCrystalCaveRefractFragmentSource =
    REFRACT_FRAGMENT_HEAD
    "    gl_FragColor = reflect_color + refract_color + vec4(CrystalColor, 1.0);\n"
    "    gl_FragColor.a = 1.0;\n"
    "}\n";

#undef REFRACT_FRAGMENT_HEAD

// --- cRefractSurfaceShader ---

cRefractSurfaceShader::cRefractSurfaceShader(const char* className, const char* fragmentSource)
    : cShaderSystem(className, kRefractVertexSource, fragmentSource) {}

bool cRefractSurfaceShader::InitFragmentShader() {
    if (!cShaderSystem::InitFragmentShader()) return false;
    cubeMapLocation = UniformLocation("CubeMap");
    colorMapLocation = UniformLocation("ColorMap");
    refractionIndexLocation = UniformLocation("refraction_index");
    crystalColorLocation = UniformLocation("CrystalColor");
    return true;
}

void cRefractSurfaceShader::Bind(const cCamera&) const {
    UseProgram();
    SetUniform1i(cubeMapLocation, 1);
    SetUniform1i(colorMapLocation, 0);
    SetUniform1f(refractionIndexLocation, refractionIndex);
    SetUniform3f(crystalColorLocation, crystalColor.x, crystalColor.y, crystalColor.z);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, colorMapTexture);
    glActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_CUBE_MAP);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMapTexture);
}

void cRefractSurfaceShader::Unbind() {
    DisableProgram();
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// --- the two programs ---

cCrystalRefractShader::cCrystalRefractShader()
    : cRefractSurfaceShader("cCrystalRefractShader", kCrystalRefractFragmentSource) {}

cCrystalCaveRefractShader::cCrystalCaveRefractShader()
    : cRefractSurfaceShader("cCrystalCaveRefractShader", kCrystalCaveRefractFragmentSource) {}

}  // namespace VantorGL
