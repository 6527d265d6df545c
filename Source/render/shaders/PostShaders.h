// The image-space programs: each runs over the screen quad, reads the colour texture of a render
// target (and for the masked blur a mask image) and writes a filtered picture: masked Gaussian
// glow, radial zoom blur, the shadow-cage cut mask, the polar distortion set, and the library's
// spare programs no scene uses (depth of field, Poisson-disc blur, normal wobble).
#pragma once

#include "render/ShaderSystem.h"

namespace VantorGL {

// What the programs that read a source picture share: the picture, set by SetSourceTexture, is
// read through sampler0 on texture unit 0. Each class's Bind opens with UseProgramWithSource and
// binds its textures with BindSource (and BindUnit for further units).
class cSourceTextureShader : public cShaderSystem {
public:
    // Store only; the value reaches the GPU at the next Bind.
    void SetSourceTexture(GLuint name) { sourceTexture = name; }

    // Links (cShaderSystem), then looks up sampler0; classes look up their own names after it.
    bool InitFragmentShader() override;

protected:
    cSourceTextureShader(const char* className, const char* vertexSource, const char* fragmentSource);

    // Looks up sampler0, for a class that links its program another way.
    void LookUpSource();
    // Uses the program and pushes sampler0 = 0: the opening of every Bind.
    void UseProgramWithSource() const;
    // Turns 2D texturing on for the unit active on entry, then puts the source on unit 0 with 2D
    // texturing on. Unit 0 is left active.
    void BindSource() const;
    // Makes `unit` active, turns 2D texturing on there and binds `texture`.
    static void BindUnit(int unit, GLuint texture);
    // Makes `unit` active and unbinds its 2D texture.
    static void UnbindUnit(int unit);
    // Stops the program and makes unit 0 active; the source stays bound.
    void UnbindKeepingSource();

    GLuint sourceTexture = 0;

private:
    GLint sampler0Location = -1;
};

// Masked 3 x 3 Gaussian with a bloom threshold. Built with InitMap in place of
// InitFragmentShader (a bare InitFragmentShader installs the base's fallback stage).
// Samplers: sampler0 = source on unit 0, sampler1 = blur map on unit 1; where the blur map's red
// channel is 1 the blurred picture shows, where it is 0 the sharp one.
class cGaussianMapShader : public cSourceTextureShader {
public:
    cGaussianMapShader();

    // Stores the texel grid (the target's size in pixels), compiles the fragment stage, links and
    // looks up sampler0, sampler1, BlurFactor, width, height, alpha, bloom. False when it does not
    // compile or link (the log goes to stderr).
    bool InitMap(int width, int height);

    // Store only; the values reach the GPU in Bind.
    void SetBlurMapTexture(GLuint name) { blurMapTexture = name; }
    // Step between the nine taps, in pixels.
    void SetBlurFactor(float f) { blurFactor = f; }

    // Uses the program, pushes every stored value, binds the source on unit 0 and the blur map on
    // unit 1 (2D texturing enabled on both). Unit 1 is left active.
    void Bind();
    // Stops the program and unbinds units 1 then 0; unit 0 is left active.
    void Unbind();

private:
    GLuint blurMapTexture = 0;
    float blurFactor = 0.01f;
    float bloom = 0.0f;  // threshold; 0 keeps the blurred colour as it is, clamped to [0, 1]
    GLint sampler1Location = -1, blurFactorLocation = -1;
    GLint widthLocation = -1, heightLocation = -1, alphaLocation = -1, bloomLocation = -1;
    float width = 0.0f;
    float height = 0.0f;
    float alpha = 1.0f;
};

// The Gaussian blur that one scene keeps as a member and never initialises or binds: it has
// the common vertex stage and the base's fallback fragment stage (vertex colour, red removed).
class cGaussianBlurShader : public cShaderSystem {
public:
    cGaussianBlurShader();

private:
    float blurFactor = 0.01f;
    float unused = 0.0f;
    float alpha = 1.0f;
};

// Zoom blur towards `center`: `iterations` taps from scale `start` to `start + scale` of the
// offset from the centre, averaged. Negative scales walk from the pixel towards the centre.
class cRadialBlurShader : public cSourceTextureShader {
public:
    cRadialBlurShader();

    bool InitFragmentShader() override;

    // Store only; the values reach the GPU in Bind.
    void SetStart(float f) { start = f; }
    void SetScale(float f) { scale = f; }
    void SetIterations(int n) { iterations = n; }
    void SetCenter(float x, float y) {
        center[0] = x;
        center[1] = y;
    }
    float Start() const { return start; }
    float Scale() const { return scale; }
    float CenterX() const { return center[0]; }
    float CenterY() const { return center[1]; }

    // Uses the program, pushes sampler0 = 0, center, iterations, start, scale, alpha and binds the
    // source on unit 0 with 2D texturing enabled.
    void Bind();
    // Stops the program and makes unit 0 active (the source stays bound).
    void Unbind();

private:
    float start = 1.0f;
    float scale = -0.2f;
    float alpha = 1.0f;
    int iterations = 16;
    float center[2] = {0.5f, 0.5f};
    GLint centerLocation = -1, iterationsLocation = -1;
    GLint startLocation = -1, scaleLocation = -1, alphaLocation = -1;
};

// The shape two programs share: one source picture on unit 0 (sampler0) and one float,
// BlurFactor, whose meaning is the program's own.
class cSourceFactorShader : public cSourceTextureShader {
public:
    cSourceFactorShader(const char* className, const char* fragmentSource);

    bool InitFragmentShader() override;

    // The factor a program starts with, before any scene sets one.
    static constexpr float kStartBlurFactor = 0.01f;

    // Store only; the value reaches the GPU at the next Bind.
    void SetBlurFactor(float f) { blurFactor = f; }

    // Uses the program, pushes sampler0 = 0 and BlurFactor, binds the source on unit 0.
    void Bind();
    // Stops the program and makes unit 0 active (the source stays bound).
    void Unbind();

private:
    float blurFactor = kStartBlurFactor;
    GLint blurFactorLocation = -1;
};

// A black alpha mask cut horizontally at texture v = BlurFactor: alpha 1 below, 0 above, with a
// smooth band 0.02 wide. Drawn over geometry with alpha blending it darkens what lies below.
// BlurFactor starts at 0.01.
class cShadowCageShader : public cSourceFactorShader {
public:
    cShadowCageShader();
};

// Polar distortions of the source picture, chosen by the `distortProgram` uniform (0-6 and
// 8-10) with four parameters in `PSParameters`. The registry builds it; nothing binds it.
class cDistortShader : public cSourceTextureShader {
public:
    cDistortShader();

    bool InitFragmentShader() override;

private:
    GLint distortProgramLocation = -1, parametersLocation = -1;
    GLint alphaLocation = -1;
};

// Depth of field: mixes the sharp source (sampler0, unit 0) with a blurred copy (blur, unit 1)
// by how far the linearised depth (red of depth, unit 2) lies from the focus. With
// vSParams = (focus, range, near, far): z = -near * far / (depth - far);
// f = max(saturate(|z - focus| / range) - amount, 0); out = mix(source, blur, f), alpha 1.
// A larger amount keeps more of the picture sharp.
class cDepthOfFieldShader : public cSourceTextureShader {
public:
    cDepthOfFieldShader();

    bool InitFragmentShader() override;

    // Store only; the values reach the GPU in Bind.
    void SetBlurTexture(GLuint name) { blurTexture = name; }
    void SetDepthTexture(GLuint name) { depthTexture = name; }
    // The focus distance and the range over which the picture goes from sharp to fully
    // blurred, both in the units of near and far, the depth range the depth texture encodes.
    void SetParameters(float focus, float range, float nearPlane, float farPlane) {
        parameters[0] = focus;
        parameters[1] = range;
        parameters[2] = nearPlane;
        parameters[3] = farPlane;
    }
    void SetAmount(float f) { amount = f; }

    // Uses the program, pushes sampler0 = 0, blur = 1, depth = 2, vSParams and fDoFAmnt, binds
    // the three textures on units 0, 1, 2 (2D texturing enabled on each). Unit 0 is left active.
    void Bind();
    // Stops the program and unbinds units 2, 1 then 0; unit 0 is left active.
    void Unbind();

private:
    GLuint blurTexture = 0;
    GLuint depthTexture = 0;
    // Focus 1 over a range of 1, depth encoded between near 1 and far 100.
    float parameters[4] = {1.0f, 1.0f, 1.0f, 100.0f};
    float amount = 0.0f;
    GLint blurLocation = -1, depthLocation = -1;
    GLint parametersLocation = -1, amountLocation = -1;
};

// Poisson-disc blur: the centre tap plus twelve taps on a Poisson disc of radius BlurFactor in
// texture space (starting at 0.01), summed and divided by ten (so the picture also brightens by
// 13/10).
class cPoissonBlurShader : public cSourceFactorShader {
public:
    cPoissonBlurShader();
};

// Normal wobble: a vertex program that pushes each vertex along its normal by an amount that
// swells and ripples with `time` (seconds, or any steady clock); fragments show the vertex
// colour. At time 0 every vertex stays in place.
class cNormalWobbleShader : public cShaderSystem {
public:
    cNormalWobbleShader();

    bool InitFragmentShader() override;

    // Store only; the value reaches the GPU in Bind.
    void SetTime(float t) { time = t; }

    // Uses the program and pushes time.
    void Bind();
    // Stops the program.
    void Unbind();

private:
    float time = 0.0f;
    GLint timeLocation = -1;
};

}  // namespace VantorGL
