// cStudioOverlay: Dear ImGui panels over the demo frame (SDL2 and OpenGL 2 backends).
#include "StudioOverlay.h"

#include "offline/ToolArguments.h"
#include "shell/Console.h"
#include "timeline/DemoScene.h"
#include "timeline/TimeCode.h"
#include "timeline/Timeline.h"

#include <SDL2/SDL.h>
#include <epoxy/gl.h>
#include <imgui.h>

#include <algorithm>
#include <cstdio>

namespace QuenliteStudio {

namespace {

constexpr int kPlotSpanMs = 5000;  // the spectrum plot shows the last five seconds
constexpr float kPanelAlpha = 0.72f;
constexpr float kMargin = 8.0f;

// Scene spans on the bar alternate between two blues; beats take one colour per watched scene.
constexpr ImU32 kSpanColours[2] = {IM_COL32(44, 70, 110, 230), IM_COL32(60, 96, 140, 230)};
constexpr ImU32 kBeatColours[] = {IM_COL32(255, 214, 90, 255), IM_COL32(120, 230, 140, 255),
                                  IM_COL32(255, 130, 200, 255), IM_COL32(80, 220, 220, 255),
                                  IM_COL32(255, 150, 80, 255),  IM_COL32(190, 160, 255, 255)};
constexpr ImU32 kBin0Colour = IM_COL32(255, 180, 60, 255);
constexpr ImU32 kBin15Colour = IM_COL32(110, 200, 255, 255);
constexpr ImU32 kLevelColour = IM_COL32(255, 255, 255, 110);


ImU32 BeatColour(int watch) { return kBeatColours[watch % int(sizeof kBeatColours / sizeof kBeatColours[0])]; }

constexpr ImGuiWindowFlags kPanelFlags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                         ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoFocusOnAppearing |
                                         ImGuiWindowFlags_NoNav | ImGuiWindowFlags_AlwaysAutoResize;

}  // namespace

bool cStudioOverlay::Open(SDL_Window* target) {
    Close();
    if (!imgui.Open(target)) {
        VantorGL::ConsolePrint("STUDIO", "Dear ImGui cannot start on this window: no overlay");
        return false;
    }
    window = target;
    ImGui::StyleColorsDark();
    ImGui::GetStyle().WindowRounding = 4.0f;
    return true;
}

void cStudioOverlay::Close() {
    imgui.Close();
    window = nullptr;
}

void cStudioOverlay::ProcessEvent(const SDL_Event& event) { imgui.ProcessEvent(event); }

void cStudioOverlay::Draw(const sStudioView& view, cStudioTransport& transport) {
    if (!imgui.IsOpen()) return;
    imgui.NewFrame();
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    DrawStatusPanel(view);
    if (view.passes) DrawPassPanel(*view.passes, display);
    DrawTimelinePanel(view, transport, display);

    ImGui::Render();
    // The backend draws with the fixed pipeline on the active unit and puts back most of what it
    // changes, but not the program or the unit: those the demo's frame left are kept here.
    GLint program = 0, unit = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0);
    imgui.DrawRendered();
    glActiveTexture(GLenum(unit));
    glUseProgram(GLuint(program));
}

// Top left: where the demo is and what plays.
void cStudioOverlay::DrawStatusPanel(const sStudioView& view) {
    ImGui::SetNextWindowPos(ImVec2(kMargin, kMargin));
    ImGui::SetNextWindowBgAlpha(kPanelAlpha);
    ImGui::Begin("##studio-time", nullptr, kPanelFlags);
    char clock[24], code[24], a[24], b[24];
    FormatToolTime(view.shownMs, clock, sizeof clock);
    VantorGL::FormatTimeCode(view.shownMs, code, sizeof code);
    ImGui::Text("%s", clock);
    ImGui::SameLine();
    ImGui::TextDisabled("time code \"%s\"", code);
    const char* music = !view.soundAvailable ? "silent (no soundtrack or no device)"
                        : view.sound         ? "on"
                        : view.playing       ? "off (speed)"
                                             : "paused";
    ImGui::Text("%s at %gx, music %s", view.playing ? "playing" : "paused", view.speed, music);
    if (view.loopStartMs >= 0 || view.loopEndMs >= 0) {
        FormatToolTime(std::max(view.loopStartMs, 0), a, sizeof a);
        FormatToolTime(std::max(view.loopEndMs, 0), b, sizeof b);
        ImGui::Text("loop %s - %s %s", view.loopStartMs >= 0 ? a : "?", view.loopEndMs >= 0 ? b : "?",
                    view.looping ? (view.loopSpan ? "(on)" : "(on, no span)") : "(off)");
    } else {
        ImGui::TextDisabled(view.looping ? "loop on: mark its span with [ and ]" : "no loop span ([ and ])");
    }
    ImGui::Separator();
    for (int i = 0; i < view.activeCount; ++i) {
        FormatToolTime(std::max(view.active[i].localMs, 0), a, sizeof a);
        ImGui::Text("%-22s %s", view.active[i].label, a);
    }
    if (view.activeCount == 0) ImGui::TextDisabled("no scene active");
    ImGui::Separator();
    ImGui::Text("frame %.1f ms, update %.2f ms", view.frameMs, view.updateMs);
    if (view.replayMs > 0)
        ImGui::TextDisabled("last seek %.0f ms: %d frames drawn in %.0f ms", view.replayMs, view.replayDrawn,
                            view.replayDrawMs);
    if (view.reload[0] != '\0') {
        if (view.reloadReplayMs > 0)
            ImGui::Text("%s in %.0f ms, replayed in %.0f ms", view.reload, view.reloadMs, view.reloadReplayMs);
        else
            ImGui::Text("%s in %.0f ms", view.reload, view.reloadMs);
    }
    if (view.refused[0] != '\0') ImGui::Text("%s", view.refused);
    ImGui::End();
}

// Top right: the passes of the last frame made, with their GPU times.
void cStudioOverlay::DrawPassPanel(const sStudioPasses& passes, ImVec2 display) {
    ImGui::SetNextWindowPos(ImVec2(display.x - kMargin, kMargin), ImGuiCond_Always, ImVec2(1.0f, 0.0f));
    ImGui::SetNextWindowBgAlpha(kPanelAlpha);
    ImGui::Begin("##studio-passes", nullptr, kPanelFlags);
    if (!passes.supported) {
        ImGui::TextDisabled("passes: this OpenGL cannot time them");
    } else if (!passes.timed) {
        ImGui::TextDisabled("passes: timed on frames played or stepped");
    } else {
        double total = 0;
        ImGui::Text("pass                 GPU ms");
        for (int i = 0; i < passes.count; ++i) {
            ImGui::Text("%-20s %6.2f", passes.names[i], passes.ms[i]);
            total += passes.ms[i];
        }
        ImGui::Separator();
        ImGui::Text("%-20s %6.2f", "all passes", total);
    }
    ImGui::End();
}

// Bottom: the spectrum over the last seconds, then the timeline bar.
void cStudioOverlay::DrawTimelinePanel(const sStudioView& view, cStudioTransport& transport, ImVec2 display) {
    const float width = display.x - 2 * kMargin;
    ImGui::SetNextWindowPos(ImVec2(kMargin, display.y - kMargin), ImGuiCond_Always, ImVec2(0.0f, 1.0f));
    ImGui::SetNextWindowSize(ImVec2(width, 0.0f));
    ImGui::SetNextWindowBgAlpha(kPanelAlpha);
    ImGui::Begin("##studio-timeline", nullptr, kPanelFlags & ~ImGuiWindowFlags_AlwaysAutoResize);
    const float inner = ImGui::GetContentRegionAvail().x;
    DrawSpectrum(view, inner);
    DrawTimeline(view, transport, inner);
    ImGui::TextDisabled("Space play/pause  Left/Right 1 s (Shift 10 s)  , . frame  [ ] L loop  1-9 scenes  "
                        "Up/Down speed  Tab overlay  F12 PNG");
    ImGui::End();

}

void cStudioOverlay::DrawSpectrum(const sStudioView& view, float width) {
    const float height = 110.0f;
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const ImVec2 corner(origin.x + width, origin.y + height);
    draw->AddRectFilled(origin, corner, IM_COL32(10, 12, 20, 200));
    const int fromMs = view.shownMs - kPlotSpanMs;
    const cStudioScope& scope = *view.scope;

    // The vertical range: the beat levels always show, louder frames widen it.
    float top = 0.2f;
    for (int i = 0; i < scope.Samples(); ++i) {
        const sScopeSample& s = scope.Sample(i);
        if (s.ms >= fromMs && s.ms <= view.shownMs) top = std::max(top, std::max(s.bin0, s.bin15) * 1.1f);
    }
    auto x = [&](int ms) { return origin.x + width * float(ms - fromMs) / float(kPlotSpanMs); };
    auto y = [&](double value) { return corner.y - height * float(std::min(value / top, 1.0)); };

    // The scenes' beat levels across the plot, each labelled with the scenes that use it.
    double drawnLevels[8];
    int levels = 0;
    for (int w = 0; w < view.watchCount; ++w) {
        const double level = view.watches[w].level;
        if (std::find(drawnLevels, drawnLevels + levels, level) != drawnLevels + levels || levels == 8) continue;
        drawnLevels[levels++] = level;
        const float ly = y(level);
        for (float lx = origin.x; lx < corner.x; lx += 8.0f)
            draw->AddLine(ImVec2(lx, ly), ImVec2(std::min(lx + 4.0f, corner.x), ly), kLevelColour);
        char label[160];
        int used = std::snprintf(label, sizeof label, "beat level %g:", level);
        const char* separator = " ";
        for (int v = 0; v < view.watchCount && used < int(sizeof label) - 1; ++v)
            if (view.watches[v].level == level) {
                used += std::snprintf(label + used, sizeof label - std::size_t(used), "%s%s", separator,
                                      view.watches[v].label);
                separator = ", ";
            }
        draw->AddText(ImVec2(origin.x + 4.0f, ly - 14.0f), kLevelColour, label);
    }

    // Beats first, so the curves run over them.
    for (int i = 0; i < scope.Beats(); ++i) {
        const sScopeBeat& beat = scope.Beat(i);
        if (beat.ms < fromMs || beat.ms > view.shownMs) continue;
        const float bx = x(beat.ms);
        draw->AddLine(ImVec2(bx, origin.y), ImVec2(bx, corner.y), (BeatColour(beat.watch) & 0x00FFFFFF) | 0x70000000);
        draw->AddTriangleFilled(ImVec2(bx - 4, origin.y), ImVec2(bx + 4, origin.y), ImVec2(bx, origin.y + 7),
                                BeatColour(beat.watch));
    }
    for (int bin = 0; bin < 2; ++bin) {
        int count = 0;
        for (int i = 0; i < scope.Samples() && count < cStudioScope::kSamples; ++i) {
            const sScopeSample& s = scope.Sample(i);
            if (s.ms < fromMs || s.ms > view.shownMs) continue;
            points[count++] = ImVec2(x(s.ms), y(bin == 0 ? s.bin0 : s.bin15));
        }
        if (count > 1) draw->AddPolyline(points, count, bin == 0 ? kBin0Colour : kBin15Colour, 0, 1.5f);
    }
    draw->AddText(ImVec2(corner.x - 190.0f, origin.y + 4.0f), kBin0Colour, "bin 0");
    draw->AddText(ImVec2(corner.x - 140.0f, origin.y + 4.0f), kBin15Colour, "bin 15");
    draw->AddText(ImVec2(corner.x - 84.0f, origin.y + 4.0f), IM_COL32(200, 200, 200, 255), "last 5 s");
    ImGui::Dummy(ImVec2(width, height));

    // Which colour marks whose beats.
    for (int w = 0; w < view.watchCount; ++w) {
        if (w > 0) ImGui::SameLine();
        ImGui::TextColored(ImGui::ColorConvertU32ToFloat4(BeatColour(w)), "^ %s", view.watches[w].label);
    }
}

void cStudioOverlay::DrawTimeline(const sStudioView& view, cStudioTransport& transport, float width) {
    const float height = 34.0f;
    const int endMs = transport.EndMs();
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const ImVec2 corner(origin.x + width, origin.y + height);
    auto x = [&](int ms) { return origin.x + width * float(std::clamp(ms, 0, endMs)) / float(endMs); };

    // Every scene window of the timeline, in time order, its label inside it where it fits.
    const VantorGL::sTimelineWindow* windows = VantorGL::TimelineByStart();
    for (std::size_t i = 0; i < VantorGL::kTimelineRows; ++i) {
        const ImVec2 a(x(windows[i].startMs), origin.y), b(x(windows[i].endMs), corner.y);
        draw->AddRectFilled(a, b, kSpanColours[i % 2]);
        draw->AddLine(a, ImVec2(a.x, b.y), IM_COL32(0, 0, 0, 255));
        draw->PushClipRect(ImVec2(a.x + 3, a.y), ImVec2(b.x - 2, b.y), true);
        char label[48];
        std::snprintf(label, sizeof label, "%zu %s", i + 1, windows[i].row->label);
        draw->AddText(ImVec2(a.x + 4, a.y + 10), IM_COL32(230, 236, 245, 255), label);
        draw->PopClipRect();
    }
    if (view.loopStartMs >= 0 && view.loopEndMs >= 0) {
        const ImU32 shade = view.looping ? IM_COL32(255, 210, 80, 70) : IM_COL32(200, 200, 200, 45);
        draw->AddRectFilled(ImVec2(x(view.loopStartMs), origin.y), ImVec2(x(view.loopEndMs), corner.y), shade);
    }
    for (int mark : {view.loopStartMs, view.loopEndMs})
        if (mark >= 0) draw->AddLine(ImVec2(x(mark), origin.y), ImVec2(x(mark), corner.y), IM_COL32(255, 210, 80, 255), 2.0f);
    const float head = x(view.shownMs);
    draw->AddLine(ImVec2(head, origin.y - 3), ImVec2(head, corner.y + 3), IM_COL32(255, 255, 255, 255), 2.0f);

    // Click or drag on the bar: seek there (a drag seeks once per frame, wherever it has got to).
    ImGui::InvisibleButton("##timeline-bar", ImVec2(width, height));
    if (ImGui::IsItemActive()) {
        const float at = std::clamp((ImGui::GetIO().MousePos.x - origin.x) / width, 0.0f, 1.0f);
        const int ms = int(at * float(endMs));
        if (ImGui::IsItemActivated() || ms != transport.Target()) transport.SeekTo(ms);
    }
}

}  // namespace QuenliteStudio
