// The post-processing programs: GLSL 1.20 sources beside their uniform look-ups and the
// Bind/Unbind steps that put the sources and masks on their texture units.
#include "render/shaders/PostShaders.h"

namespace VantorGL {

// The vertex stage of the screen-quad passes. It also hands on the vertex colour, so the base's
// fallback fragment stage (cGaussianBlurShader, or a bare InitFragmentShader of the map shader)
// links against it and shows what it promises.
static const char* const kPostVertexSource =
    "#version 120\n"
    "varying vec2 texCoords;\n"
    "varying vec4 color;\n"
    "void main()\n"
    "{\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "    texCoords = gl_MultiTexCoord0.xy;\n"
    "    color = gl_Color;\n"
    "}\n";

// Masked 3 x 3 Gaussian (weights 1 2 1 / 2 4 2 / 1 2 1 over 16) with a bloom threshold; the
// taps are BlurFactor pixels apart.
static const char* const kGaussianMapFragmentSource =
    "#version 120\n"
    "uniform sampler2D sampler0;\n"
    "uniform sampler2D sampler1;\n"
    "uniform float BlurFactor;\n"
    "uniform float width;\n"
    "uniform float height;\n"
    "uniform float alpha;\n"
    "uniform float bloom;\n"
    "varying vec2 texCoords;\n"
    "void main()\n"
    "{\n"
    "    float step_w = BlurFactor / width;\n"
    "    float step_h = BlurFactor / height;\n"
    "    vec4 sum = vec4(0.0);\n"
    "    sum += texture2D(sampler0, texCoords + vec2(-step_w, -step_h)) * (1.0 / 16.0);\n"
    "    sum += texture2D(sampler0, texCoords + vec2(0.0, -step_h)) * (2.0 / 16.0);\n"
    "    sum += texture2D(sampler0, texCoords + vec2(step_w, -step_h)) * (1.0 / 16.0);\n"
    "    sum += texture2D(sampler0, texCoords + vec2(-step_w, 0.0)) * (2.0 / 16.0);\n"
    "    sum += texture2D(sampler0, texCoords) * (4.0 / 16.0);\n"
    "    sum += texture2D(sampler0, texCoords + vec2(step_w, 0.0)) * (2.0 / 16.0);\n"
    "    sum += texture2D(sampler0, texCoords + vec2(-step_w, step_h)) * (1.0 / 16.0);\n"
    "    sum += texture2D(sampler0, texCoords + vec2(0.0, step_h)) * (2.0 / 16.0);\n"
    "    sum += texture2D(sampler0, texCoords + vec2(step_w, step_h)) * (1.0 / 16.0);\n"
    "    sum = clamp((sum - bloom) / (1.0 - bloom), 0.0, 1.0);\n"
    "    sum.a = alpha * sum.a;\n"
    "    vec4 real = texture2D(sampler0, texCoords);\n"
    "    float m = texture2D(sampler1, texCoords).r;\n"
    "    gl_FragColor = mix(real, sum, m);\n"
    "}\n";

// The radial blur works on coordinates relative to the centre.
static const char* const kRadialBlurVertexSource =
    "#version 120\n"
    "uniform vec2 center;\n"
    "varying vec2 texCoords;\n"
    "void main()\n"
    "{\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "    texCoords = gl_MultiTexCoord0.xy - center;\n"
    "}\n";

// Tap i of n samples at scale start + scale * i / (n - 1). A single tap samples at `start`
// (the weight would divide by zero), and no taps at all give transparent black.
static const char* const kRadialBlurFragmentSource =
    "#version 120\n"
    "uniform sampler2D sampler0;\n"
    "uniform vec2 center;\n"
    "uniform int iterations;\n"
    "uniform float start;\n"
    "uniform float scale;\n"
    "uniform float alpha;\n"
    "varying vec2 texCoords;\n"
    "void main()\n"
    "{\n"
    "    float n = float(iterations);\n"
    "    float last = max(n - 1.0, 1.0);\n"
    "    vec4 sum = vec4(0.0);\n"
    "    for (int i = 0; i < iterations; i++) {\n"
    "        float s = start + scale * (float(i) / last);\n"
    "        sum += texture2D(sampler0, texCoords * s + center);\n"
    "    }\n"
    "    sum /= max(n, 1.0);\n"
    "    sum.a = alpha * sum.a;\n"
    "    gl_FragColor = sum;\n"
    "}\n";

// Alpha 1 up to v = BlurFactor - 0.01, 0 beyond BlurFactor + 0.01, smoothstep between.
// sampler0 is declared for the owners' sake and never sampled.
static const char* const kShadowCageFragmentSource =
    "#version 120\n"
    "uniform sampler2D sampler0;\n"
    "uniform float BlurFactor;\n"
    "varying vec2 texCoords;\n"
    "void main()\n"
    "{\n"
    "    float minLim = BlurFactor - 0.01;\n"
    "    float maxLim = BlurFactor + 0.01;\n"
    "    float a;\n"
    "    if (texCoords.y <= minLim) {\n"
    "        a = 1.0;\n"
    "    } else if (texCoords.y > maxLim) {\n"
    "        a = 0.0;\n"
    "    } else {\n"
    "        float t = clamp((texCoords.y - maxLim) / (minLim - maxLim), 0.0, 1.0);\n"
    "        a = t * t * (3.0 - 2.0 * t);\n"
    "    }\n"
    "    gl_FragColor = vec4(0.0, 0.0, 0.0, a);\n"
    "}\n";

// Polar distortions of the picture around its middle. Programs 0-6 work on radius and angle and
// rebuild the point from them; 8-10 work on the point or the colour. P = PSParameters.
static const char* const kDistortFragmentSource =
    "#version 120\n"
    "uniform sampler2D sampler0;\n"
    "uniform vec4 PSParameters;\n"
    "uniform int distortProgram;\n"
    "uniform float alpha;\n"
    "varying vec2 texCoords;\n"
    "void main()\n"
    "{\n"
    "    vec4 P = PSParameters;\n"
    "    vec2 n = 2.0 * texCoords - 1.0;\n"
    "    float r = length(n);\n"
    "    float phi = atan(n.y, n.x);\n"
    "    if (distortProgram == 0) {\n"
    "        r = pow(r, P.x / P.y) * P.z;\n"
    "    } else if (distortProgram == 1) {\n"
    "        phi += (P.x - smoothstep(P.y, P.z, r)) * P.z;\n"
    "    } else if (distortProgram == 2) {\n"
    "        r = min(r, P.x);\n"
    "    } else if (distortProgram == 3) {\n"
    "        r = r * smoothstep(P.x, P.y, r);\n"
    "    } else if (distortProgram == 4) {\n"
    "        r = P.x * r - r * smoothstep(P.y, P.z, r);\n"
    "    } else if (distortProgram == 5) {\n"
    "        r = r * r / sqrt(P.x);\n"
    "    } else if (distortProgram == 6) {\n"
    "        vec2 s = sign(n);\n"
    "        vec2 a = abs(n);\n"
    "        n = s * (P.x * a + P.y * smoothstep(P.z, P.w, a) * a);\n"
    "    } else if (distortProgram == 8) {\n"
    "        n.x = n.x * sign(n.x);\n"
    "    } else if (distortProgram == 10) {\n"
    "        n.x += sin(n.y * P.x) / P.y * P.z;\n"
    "    }\n"
    "    if (distortProgram < 7) {\n"
    "        n = vec2(r * cos(phi), r * sin(phi));\n"
    "    }\n"
    "    vec4 c = texture2D(sampler0, n / 2.0 + 0.5);\n"
    "    if (distortProgram == 9) {\n"
    "        float grey = (c.r + c.g + c.b) / 3.0;\n"
    "        float band = (P.x <= grey && grey <= P.y) ? 1.0 : 0.0;\n"
    "        c = mix(c, vec4(band), P.z);\n"
    "    }\n"
    "    gl_FragColor = vec4(c.rgb, alpha);\n"
    "}\n";

// --- cGaussianMapShader ---

cGaussianMapShader::cGaussianMapShader()
    : cShaderSystem("cGaussianMapShader", kPostVertexSource, nullptr) {}

bool cGaussianMapShader::InitMap(int w, int h) {
    width = float(w);
    height = float(h);
    if (!CompileFragmentShaderAndLink(kGaussianMapFragmentSource)) return false;
    sampler0Location = UniformLocation("sampler0");
    sampler1Location = UniformLocation("sampler1");
    blurFactorLocation = UniformLocation("BlurFactor");
    widthLocation = UniformLocation("width");
    heightLocation = UniformLocation("height");
    alphaLocation = UniformLocation("alpha");
    bloomLocation = UniformLocation("bloom");
    return true;
}

void cGaussianMapShader::Bind() {
    UseProgram();
    SetUniform1i(sampler0Location, 0);
    SetUniform1i(sampler1Location, 1);
    SetUniform1f(blurFactorLocation, blurFactor);
    SetUniform1f(widthLocation, width);
    SetUniform1f(heightLocation, height);
    SetUniform1f(alphaLocation, alpha);
    SetUniform1f(bloomLocation, bloom);
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, sourceTexture);
    glActiveTexture(GL_TEXTURE1);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, blurMapTexture);
}

void cGaussianMapShader::Unbind() {
    DisableProgram();
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// --- cGaussianBlurShader ---

cGaussianBlurShader::cGaussianBlurShader()
    : cShaderSystem("cGaussianBlurShader", kPostVertexSource, nullptr) {}

// --- cRadialBlurShader ---

cRadialBlurShader::cRadialBlurShader()
    : cShaderSystem("cRadialBlurShader", kRadialBlurVertexSource, kRadialBlurFragmentSource) {}

bool cRadialBlurShader::InitFragmentShader() {
    if (!cShaderSystem::InitFragmentShader()) return false;
    sampler0Location = UniformLocation("sampler0");
    centerLocation = UniformLocation("center");
    iterationsLocation = UniformLocation("iterations");
    startLocation = UniformLocation("start");
    scaleLocation = UniformLocation("scale");
    alphaLocation = UniformLocation("alpha");
    return true;
}

void cRadialBlurShader::Bind() {
    UseProgram();
    SetUniform1i(sampler0Location, 0);
    SetUniform2f(centerLocation, center[0], center[1]);
    SetUniform1i(iterationsLocation, iterations);
    SetUniform1f(startLocation, start);
    SetUniform1f(scaleLocation, scale);
    SetUniform1f(alphaLocation, alpha);
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, sourceTexture);
}

void cRadialBlurShader::Unbind() {
    DisableProgram();
    glActiveTexture(GL_TEXTURE0);
}

// --- cShadowCageShader ---

cShadowCageShader::cShadowCageShader()
    : cShaderSystem("cShadowCageShader", kPostVertexSource, kShadowCageFragmentSource) {}

bool cShadowCageShader::InitFragmentShader() {
    if (!cShaderSystem::InitFragmentShader()) return false;
    sampler0Location = UniformLocation("sampler0");
    blurFactorLocation = UniformLocation("BlurFactor");
    return true;
}

void cShadowCageShader::Bind() {
    UseProgram();
    SetUniform1i(sampler0Location, 0);
    SetUniform1f(blurFactorLocation, blurFactor);
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, sourceTexture);
}

void cShadowCageShader::Unbind() {
    DisableProgram();
    glActiveTexture(GL_TEXTURE0);
}

// --- cDistortShader ---

cDistortShader::cDistortShader()
    : cShaderSystem("cDistortShader", kPostVertexSource, kDistortFragmentSource) {}

bool cDistortShader::InitFragmentShader() {
    if (!cShaderSystem::InitFragmentShader()) return false;
    sampler0Location = UniformLocation("sampler0");
    distortProgramLocation = UniformLocation("distortProgram");
    parametersLocation = UniformLocation("PSParameters");
    alphaLocation = UniformLocation("alpha");
    return true;
}

}  // namespace VantorGL
