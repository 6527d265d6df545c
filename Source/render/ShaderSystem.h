// cShaderSystem: base of every GLSL program. It owns the program object and its two shader
// objects (ARB shader objects through libepoxy) and is the one compile path of all shader
// classes: compile and link logs reach stderr tagged with the deriving class's name.
#pragma once

#include <epoxy/gl.h>

namespace VantorGL {

// How a shader class is built and used (calling order of every owner):
//   construct; InitProgramObject(); InitVertexShader(); InitFragmentShader();
//   value and texture setters; per frame Bind(...) ... draw ... Unbind().
// A derived class passes its class name and its two #version 120 source literals to the
// protected constructor (nullptr for a stage it leaves to the base's fallback), overrides
// InitFragmentShader to look up its uniforms after the base has linked:
//     bool InitFragmentShader() override {
//         if (!cShaderSystem::InitFragmentShader()) return false;
//         colorMapLocation = UniformLocation("ColorMap");
//         return true;
//     }
// and writes Bind/Unbind with UseProgram, the SetUniform* helpers and DisableProgram, which are
// all harmless when shader objects are unavailable or the program did not link.
class cShaderSystem {
public:
    // The base program on its own: the fallback stages (vertex colour with red removed).
    cShaderSystem();
    // Deletes the shaders and the program that were created (none when Init never ran, and
    // none once the GL context is gone).
    virtual ~cShaderSystem();

    cShaderSystem(const cShaderSystem&) = delete;
    cShaderSystem& operator=(const cShaderSystem&) = delete;

    // Checks GL_EXTENSIONS for "GL_ARB_shading_language_100" and "GL_ARB_shader_objects" and
    // creates the program object. False (and one stderr line per process) when either is
    // missing; the object then skips every later GL call.
    bool InitProgramObject();
    // Lets the next missing-extension report be said again (a process-wide "once"): for tests,
    // which each want to hear it.
    static void ForgetMissingReport() { reportedMissing = false; }

    // Compiles the class's vertex source (or the fallback) and attaches it. False when it does
    // not compile; the log goes to stderr.
    virtual bool InitVertexShader();
    // Compiles the class's fragment source (or the fallback), attaches it and links the program.
    // False when it does not compile or link; the log goes to stderr.
    virtual bool InitFragmentShader();
    // Always true; kept as the third hook of the family.
    virtual bool Validate();

    // glUseProgramObjectARB(0).
    void DisableProgram();

    GLhandleARB Program() const { return program; }
    const char* ClassName() const { return className; }
    // True once the program has linked successfully.
    bool IsLinked() const { return linked; }

    // The fallback stages, for classes that want to start from them.
    static const char* const kFallbackVertexSource;
    static const char* const kFallbackFragmentSource;

protected:
    cShaderSystem(const char* className, const char* vertexSource, const char* fragmentSource);

    // The shape every stage override shares: create, source, compile, check (log on failure),
    // attach. CompileFragmentShaderAndLink then links and checks the link status.
    bool CompileVertexShader(const char* source);
    bool CompileFragmentShaderAndLink(const char* source);

    // glGetUniformLocationARB on the program; -1 when the name is not an active uniform (a
    // vertex attribute name, for instance) or the program is unusable. Setting -1 is a no-op.
    GLint UniformLocation(const char* name) const;

    // glUseProgramObjectARB(program). An unlinked program is refused by GL (GL_INVALID_OPERATION)
    // and the fixed-function pipeline draws, as intended.
    void UseProgram() const;
    void SetUniform1i(GLint location, GLint v) const;
    void SetUniform1f(GLint location, GLfloat v) const;
    void SetUniform2f(GLint location, GLfloat x, GLfloat y) const;
    void SetUniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) const;
    void SetUniform4f(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) const;
    void SetUniform2fv(GLint location, GLsizei count, const GLfloat* values) const;

    // Whether InitProgramObject found the shader-object interface; every GL call is skipped
    // otherwise, so nothing ever calls through a missing entry point.
    bool EntryPointsReady() const { return entryPointsReady; }

    GLhandleARB program = 0;
    GLhandleARB vertexShader = 0;
    GLhandleARB fragmentShader = 0;

private:
    bool CompileStage(GLenum stage, const char* stageName, const char* source, GLhandleARB& handle);
    void PrintLog(GLhandleARB object, const char* what) const;

    const char* className;
    const char* vertexSource;
    const char* fragmentSource;
    bool entryPointsReady = false;
    bool linked = false;
    static bool reportedMissing;  // one line per process, however many classes ask
};

}  // namespace VantorGL
