// cImGuiWindowContext: a Dear ImGui context with its SDL2 and OpenGL 2 backends.
#include "shell/ImGuiWindowContext.h"

#include <SDL2/SDL.h>
#include <backends/imgui_impl_opengl2.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

namespace VantorGL {

bool cImGuiWindowContext::Open(SDL_Window* window) {
    Close();
    IMGUI_CHECKVERSION();
    context = ImGui::CreateContext();
    ImGui::SetCurrentContext(context);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;  // nothing is kept on disk
    io.LogFilename = nullptr;
    if (!ImGui_ImplSDL2_InitForOpenGL(window, SDL_GL_GetCurrentContext()) || !ImGui_ImplOpenGL2_Init()) {
        Close();
        return false;
    }
    return true;
}

void cImGuiWindowContext::Close() {
    if (!context) return;
    ImGui::SetCurrentContext(context);
    ImGuiIO& io = ImGui::GetIO();
    if (io.BackendRendererUserData) ImGui_ImplOpenGL2_Shutdown();
    if (io.BackendPlatformUserData) ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext(context);
    context = nullptr;
}

void cImGuiWindowContext::MakeCurrent() const { ImGui::SetCurrentContext(context); }

void cImGuiWindowContext::ProcessEvent(const SDL_Event& event) {
    if (!context) return;
    ImGui::SetCurrentContext(context);
    ImGui_ImplSDL2_ProcessEvent(&event);
}

void cImGuiWindowContext::NewFrame() {
    ImGui::SetCurrentContext(context);
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
}

void cImGuiWindowContext::DrawRendered() { ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData()); }

}  // namespace VantorGL
