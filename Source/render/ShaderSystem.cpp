// cShaderSystem: ARB shader objects, the fallback program, logs on stderr by class name.
#include "render/ShaderSystem.h"

#include "render/GlContext.h"
#include "shell/Console.h"

#include <cstdio>
#include <cstring>

namespace VantorGL {

const char* const cShaderSystem::kFallbackVertexSource =
    "#version 120\n"
    "varying vec4 color;\n"
    "void main()\n"
    "{\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
    "    color = gl_Color;\n"
    "}\n";

// Vertex colour with the red channel removed.
const char* const cShaderSystem::kFallbackFragmentSource =
    "#version 120\n"
    "varying vec4 color;\n"
    "void main()\n"
    "{\n"
    "    gl_FragColor = color;\n"
    "    gl_FragColor.r = 0.0;\n"
    "}\n";

// Info logs are read into a fixed buffer of this many characters.
constexpr int kInfoLogCapacity = 4096;

cShaderSystem::cShaderSystem() : cShaderSystem("cShaderSystem", nullptr, nullptr) {}

bool cShaderSystem::reportedMissing = false;

cShaderSystem::cShaderSystem(const char* name, const char* vertex, const char* fragment)
    : className(name ? name : "cShaderSystem"), vertexSource(vertex), fragmentSource(fragment) {}

cShaderSystem::~cShaderSystem() {
    if (!entryPointsReady || !HasCurrentGlContext()) return;
    if (vertexShader) glDeleteObjectARB(vertexShader);
    if (fragmentShader) glDeleteObjectARB(fragmentShader);
    if (program) glDeleteObjectARB(program);
}

// Plain substring search in the extension string, as the driver reports it.
static bool ExtensionListed(const char* extensions, const char* name) {
    return extensions && std::strstr(extensions, name) != nullptr;
}

bool cShaderSystem::InitProgramObject() {
    const char* extensions =
        HasCurrentGlContext() ? reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)) : nullptr;
    if (!ExtensionListed(extensions, "GL_ARB_shading_language_100") ||
        !ExtensionListed(extensions, "GL_ARB_shader_objects")) {
        if (!reportedMissing) {
            ConsolePrint("SHADER", "%s: no GL_ARB_shader_objects / GL_ARB_shading_language_100; "
                         "shaders are off and everything draws fixed-function", className);
            reportedMissing = true;
        }
        entryPointsReady = false;
        return false;
    }
    entryPointsReady = true;
    program = glCreateProgramObjectARB();
    return true;
}

void cShaderSystem::PrintLog(GLhandleARB object, const char* what) const {
    GLcharARB log[kInfoLogCapacity];
    GLsizei length = 0;
    log[0] = '\0';
    glGetInfoLogARB(object, kInfoLogCapacity, &length, log);
    if (length < 0) length = 0;
    if (length >= kInfoLogCapacity) length = kInfoLogCapacity - 1;
    log[length] = '\0';
    ConsolePrint("SHADER", "%s: %s", className, what);
    // One stderr line per log line, each tagged with the class.
    char* line = log;
    while (*line) {
        char* end = std::strchr(line, '\n');
        if (end) *end = '\0';
        if (*line) ConsolePrint("SHADER", "%s:   %s", className, line);
        if (!end) break;
        line = end + 1;
    }
}

bool cShaderSystem::CompileStage(GLenum stage, const char* stageName, const char* source,
                                 GLhandleARB& handle) {
    if (!entryPointsReady || !source) return false;
    if (handle) {
        // A second Init of the same stage replaces the first shader.
        glDetachObjectARB(program, handle);
        glDeleteObjectARB(handle);
    }
    handle = glCreateShaderObjectARB(stage);
    const GLcharARB* text = source;
    glShaderSourceARB(handle, 1, &text, nullptr);
    glCompileShaderARB(handle);
    GLint compiled = 0;
    glGetObjectParameterivARB(handle, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    if (!compiled) {
        char what[64];
        std::snprintf(what, sizeof what, "%s shader does not compile", stageName);
        PrintLog(handle, what);
        return false;
    }
    glAttachObjectARB(program, handle);
    return true;
}

bool cShaderSystem::CompileVertexShader(const char* source) {
    return CompileStage(GL_VERTEX_SHADER_ARB, "vertex", source, vertexShader);
}

bool cShaderSystem::CompileFragmentShaderAndLink(const char* source) {
    if (!CompileStage(GL_FRAGMENT_SHADER_ARB, "fragment", source, fragmentShader)) return false;
    glLinkProgramARB(program);
    GLint status = 0;
    glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &status);
    linked = status != 0;
    if (!linked) {
        PrintLog(program, "program does not link");
        return false;
    }
    return true;
}

bool cShaderSystem::InitVertexShader() {
    return CompileVertexShader(vertexSource ? vertexSource : kFallbackVertexSource);
}

bool cShaderSystem::InitFragmentShader() {
    return CompileFragmentShaderAndLink(fragmentSource ? fragmentSource : kFallbackFragmentSource);
}

bool cShaderSystem::Validate() { return true; }

void cShaderSystem::DisableProgram() {
    if (entryPointsReady) glUseProgramObjectARB(0);
}

GLint cShaderSystem::UniformLocation(const char* name) const {
    if (!entryPointsReady || !program) return -1;
    return glGetUniformLocationARB(program, name);
}

void cShaderSystem::UseProgram() const {
    if (entryPointsReady) glUseProgramObjectARB(program);
}

void cShaderSystem::SetUniform1i(GLint location, GLint v) const {
    if (entryPointsReady) glUniform1iARB(location, v);
}

void cShaderSystem::SetUniform1f(GLint location, GLfloat v) const {
    if (entryPointsReady) glUniform1fARB(location, v);
}

void cShaderSystem::SetUniform2f(GLint location, GLfloat x, GLfloat y) const {
    if (entryPointsReady) glUniform2fARB(location, x, y);
}

void cShaderSystem::SetUniform3f(GLint location, GLfloat x, GLfloat y, GLfloat z) const {
    if (entryPointsReady) glUniform3fARB(location, x, y, z);
}

void cShaderSystem::SetUniform4f(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) const {
    if (entryPointsReady) glUniform4fARB(location, x, y, z, w);
}

void cShaderSystem::SetUniform2fv(GLint location, GLsizei count, const GLfloat* values) const {
    if (entryPointsReady) glUniform2fvARB(location, count, values);
}

}  // namespace VantorGL
