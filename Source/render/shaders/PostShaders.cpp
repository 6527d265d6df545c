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

// Depth of field: P = vSParams (focus, range, near, far); the depth texture's red channel is
// turned back into a distance and its distance from the focus picks sharp or blurred.
static const char* const kDepthOfFieldVertexSource =
    "#version 120\n"
    "varying vec2 texCoords;\n"
    "void main()\n"
    "{\n"
    "    gl_Position = ftransform();\n"
    "    texCoords = gl_MultiTexCoord0.xy;\n"
    "}\n";

static const char* const kDepthOfFieldFragmentSource =
    "#version 120\n"
    "uniform sampler2D sampler0;\n"
    "uniform sampler2D blur;\n"
    "uniform sampler2D depth;\n"
    "uniform vec4 vSParams;\n"
    "uniform float fDoFAmnt;\n"
    "varying vec2 texCoords;\n"
    "void main()\n"
    "{\n"
    "    float d = texture2D(depth, texCoords).r;\n"
    "    float z = (-vSParams.z * vSParams.w) / (d - vSParams.w);\n"
    "    float f = max(clamp(abs(z - vSParams.x) / vSParams.y, 0.0, 1.0) - fDoFAmnt, 0.0);\n"
    "    vec4 sharp = texture2D(sampler0, texCoords);\n"
    "    vec4 blurred = texture2D(blur, texCoords);\n"
    "    gl_FragColor = vec4(mix(sharp.rgb, blurred.rgb, f), 1.0);\n"
    "}\n";

// Twelve taps of a Poisson disc around the centre tap; the sum over ten is the design's
// weighting (it brightens by 13/10).
static const char* const kPoissonBlurFragmentSource =
    "#version 120\n"
    "uniform sampler2D sampler0;\n"
    "uniform float BlurFactor;\n"
    "varying vec2 texCoords;\n"
    "const vec2 disc[12] = vec2[12](\n"
    "    vec2(-0.326212, -0.405805), vec2(-0.840144, -0.073580), vec2(-0.695914, 0.457137),\n"
    "    vec2(-0.203345, 0.620716), vec2(0.962340, -0.194983), vec2(0.473434, -0.480026),\n"
    "    vec2(0.519456, 0.767022), vec2(0.185461, -0.893124), vec2(0.507431, 0.064425),\n"
    "    vec2(0.896420, 0.412458), vec2(-0.321940, -0.932615), vec2(-0.791559, -0.597705));\n"
    "void main()\n"
    "{\n"
    "    vec4 sum = texture2D(sampler0, texCoords);\n"
    "    for (int i = 0; i < 12; i++) {\n"
    "        sum += texture2D(sampler0, texCoords + BlurFactor * disc[i]);\n"
    "    }\n"
    "    gl_FragColor = sum / 10.0;\n"
    "}\n";

// Each vertex moves along its normal by amp * f: the per-axis frequencies wander with time
// squared (rates 1, 1.8, 1.1), the amplitude swings between -0.299 and 0.301 (rate 1.4), and f
// is the product of the three axes' ripples.
static const char* const kNormalWobbleVertexSource =
    "#version 120\n"
    "uniform float time;\n"
    "varying vec4 color;\n"
    "void main()\n"
    "{\n"
    "    float t2 = time * time;\n"
    "    vec3 freq = 5.0 + sin(t2 * vec3(1.0, 1.8, 1.1)) * 10.0;\n"
    "    float amp = 0.001 + sin(t2 * 1.4) * 0.3;\n"
    "    vec3 ripple = sin(gl_Normal * freq + time);\n"
    "    float f = ripple.x * ripple.y * ripple.z;\n"
    "    vec4 v = gl_Vertex;\n"
    "    v.xyz += gl_Normal * amp * f;\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * v;\n"
    "    color = gl_Color;\n"
    "}\n";

static const char* const kVertexColourFragmentSource =
    "#version 120\n"
    "varying vec4 color;\n"
    "void main()\n"
    "{\n"
    "    gl_FragColor = color;\n"
    "}\n";

// --- cSourceTextureShader ---

cSourceTextureShader::cSourceTextureShader(const char* className, const char* vertexSource,
                                           const char* fragmentSource)
    : cShaderSystem(className, vertexSource, fragmentSource) {}

bool cSourceTextureShader::InitFragmentShader() {
    if (!cShaderSystem::InitFragmentShader()) return false;
    LookUpSource();
    return true;
}

void cSourceTextureShader::LookUpSource() { sampler0Location = UniformLocation("sampler0"); }

void cSourceTextureShader::UseProgramWithSource() const {
    UseProgram();
    SetUniform1i(sampler0Location, 0);
}

void cSourceTextureShader::BindSource() const {
    glEnable(GL_TEXTURE_2D);
    BindUnit(0, sourceTexture);
}

void cSourceTextureShader::BindUnit(int unit, GLuint texture) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void cSourceTextureShader::UnbindUnit(int unit) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void cSourceTextureShader::UnbindKeepingSource() {
    DisableProgram();
    glActiveTexture(GL_TEXTURE0);
}

// --- cGaussianMapShader ---

cGaussianMapShader::cGaussianMapShader() : cSourceTextureShader("cGaussianMapShader", kPostVertexSource, nullptr) {}

bool cGaussianMapShader::InitMap(int w, int h) {
    width = float(w);
    height = float(h);
    if (!CompileFragmentShaderAndLink(kGaussianMapFragmentSource)) return false;
    LookUpSource();
    sampler1Location = UniformLocation("sampler1");
    blurFactorLocation = UniformLocation("BlurFactor");
    widthLocation = UniformLocation("width");
    heightLocation = UniformLocation("height");
    alphaLocation = UniformLocation("alpha");
    bloomLocation = UniformLocation("bloom");
    return true;
}

void cGaussianMapShader::Bind() {
    UseProgramWithSource();
    SetUniform1i(sampler1Location, 1);
    SetUniform1f(blurFactorLocation, blurFactor);
    SetUniform1f(widthLocation, width);
    SetUniform1f(heightLocation, height);
    SetUniform1f(alphaLocation, alpha);
    SetUniform1f(bloomLocation, bloom);
    BindSource();
    BindUnit(1, blurMapTexture);
}

void cGaussianMapShader::Unbind() {
    DisableProgram();
    UnbindUnit(1);
    UnbindUnit(0);
}

// --- cGaussianBlurShader ---

cGaussianBlurShader::cGaussianBlurShader()
    : cShaderSystem("cGaussianBlurShader", kPostVertexSource, nullptr) {}

// --- cRadialBlurShader ---

cRadialBlurShader::cRadialBlurShader()
    : cSourceTextureShader("cRadialBlurShader", kRadialBlurVertexSource, kRadialBlurFragmentSource) {}

bool cRadialBlurShader::InitFragmentShader() {
    if (!cSourceTextureShader::InitFragmentShader()) return false;
    centerLocation = UniformLocation("center");
    iterationsLocation = UniformLocation("iterations");
    startLocation = UniformLocation("start");
    scaleLocation = UniformLocation("scale");
    alphaLocation = UniformLocation("alpha");
    return true;
}

void cRadialBlurShader::Bind() {
    UseProgramWithSource();
    SetUniform2f(centerLocation, center[0], center[1]);
    SetUniform1i(iterationsLocation, iterations);
    SetUniform1f(startLocation, start);
    SetUniform1f(scaleLocation, scale);
    SetUniform1f(alphaLocation, alpha);
    BindSource();
}

void cRadialBlurShader::Unbind() { UnbindKeepingSource(); }

// --- cSourceFactorShader ---

cSourceFactorShader::cSourceFactorShader(const char* className, const char* fragmentSource)
    : cSourceTextureShader(className, kPostVertexSource, fragmentSource) {}

bool cSourceFactorShader::InitFragmentShader() {
    if (!cSourceTextureShader::InitFragmentShader()) return false;
    blurFactorLocation = UniformLocation("BlurFactor");
    return true;
}

void cSourceFactorShader::Bind() {
    UseProgramWithSource();
    SetUniform1f(blurFactorLocation, blurFactor);
    BindSource();
}

void cSourceFactorShader::Unbind() { UnbindKeepingSource(); }

// --- cShadowCageShader ---

cShadowCageShader::cShadowCageShader() : cSourceFactorShader("cShadowCageShader", kShadowCageFragmentSource) {}

// --- cDistortShader ---

cDistortShader::cDistortShader() : cSourceTextureShader("cDistortShader", kPostVertexSource, kDistortFragmentSource) {}

bool cDistortShader::InitFragmentShader() {
    if (!cSourceTextureShader::InitFragmentShader()) return false;
    distortProgramLocation = UniformLocation("distortProgram");
    parametersLocation = UniformLocation("PSParameters");
    alphaLocation = UniformLocation("alpha");
    return true;
}

// --- cDepthOfFieldShader ---

cDepthOfFieldShader::cDepthOfFieldShader()
    : cSourceTextureShader("cDepthOfFieldShader", kDepthOfFieldVertexSource, kDepthOfFieldFragmentSource) {}

bool cDepthOfFieldShader::InitFragmentShader() {
    if (!cSourceTextureShader::InitFragmentShader()) return false;
    blurLocation = UniformLocation("blur");
    depthLocation = UniformLocation("depth");
    parametersLocation = UniformLocation("vSParams");
    amountLocation = UniformLocation("fDoFAmnt");
    return true;
}

void cDepthOfFieldShader::Bind() {
    UseProgramWithSource();
    SetUniform1i(blurLocation, 1);
    SetUniform1i(depthLocation, 2);
    SetUniform4f(parametersLocation, parameters[0], parameters[1], parameters[2], parameters[3]);
    SetUniform1f(amountLocation, amount);
    // Units 2 and 1 first, so the source's unit 0 is left active.
    glEnable(GL_TEXTURE_2D);
    BindUnit(2, depthTexture);
    BindUnit(1, blurTexture);
    BindUnit(0, sourceTexture);
}

void cDepthOfFieldShader::Unbind() {
    DisableProgram();
    for (int unit = 2; unit >= 0; --unit) UnbindUnit(unit);
}

// --- cPoissonBlurShader ---

cPoissonBlurShader::cPoissonBlurShader() : cSourceFactorShader("cPoissonBlurShader", kPoissonBlurFragmentSource) {}

// --- cNormalWobbleShader ---

cNormalWobbleShader::cNormalWobbleShader()
    : cShaderSystem("cNormalWobbleShader", kNormalWobbleVertexSource, kVertexColourFragmentSource) {}

bool cNormalWobbleShader::InitFragmentShader() {
    if (!cShaderSystem::InitFragmentShader()) return false;
    timeLocation = UniformLocation("time");
    return true;
}

void cNormalWobbleShader::Bind() {
    UseProgram();
    SetUniform1f(timeLocation, time);
}

void cNormalWobbleShader::Unbind() { DisableProgram(); }

}  // namespace VantorGL
