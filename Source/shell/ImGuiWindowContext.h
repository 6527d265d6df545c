// cImGuiWindowContext: one Dear ImGui context on an SDL window and its current OpenGL context,
// through the SDL2 and OpenGL 2 backends, keeping nothing on disk. The settings dialog and the
// studio's overlay each hold one; each call makes its context current first.
#pragma once

struct ImGuiContext;
struct SDL_Window;
union SDL_Event;

namespace VantorGL {

class cImGuiWindowContext {
public:
    cImGuiWindowContext() = default;
    cImGuiWindowContext(const cImGuiWindowContext&) = delete;
    cImGuiWindowContext& operator=(const cImGuiWindowContext&) = delete;
    // Close() must have run while the GL context was there; nothing is done here.
    ~cImGuiWindowContext() = default;

    // Closes what was open, makes a context with no ini or log file and starts both backends on
    // `window` with the GL context current now. False, with nothing left open, when they cannot
    // start. The caller styles the context and adds fonts after (before its first frame).
    bool Open(SDL_Window* window);
    // Shuts the backends down and deletes the context. Needs the GL context.
    void Close();
    bool IsOpen() const { return context != nullptr; }

    // Makes this context current (for style, fonts and drawing).
    void MakeCurrent() const;
    // Passes an SDL event to the platform backend; nothing while closed.
    void ProcessEvent(const SDL_Event& event);
    // Starts a frame: current, both backends' NewFrame, ImGui::NewFrame.
    void NewFrame();
    // Draws the frame ImGui::Render() made, with the OpenGL 2 backend.
    void DrawRendered();

private:
    ImGuiContext* context = nullptr;
};

}  // namespace VantorGL
