// SettingsDialog: the start-up dialog's state and behaviour without a window: the resolution and
// anti-aliasing lists, the selections, the keyboard, and the result the window system applies.
// SettingsDialogView draws it with Dear ImGui; tests drive it directly.
#pragma once

struct SDL_Window;

namespace VantorGL {

// One entry of the resolution list: its text and the client size it sets.
struct cResolutionChoice {
    const char* text;
    int width, height;
};

// One entry of the anti-aliasing list: its text and the multisample count it asks for (0: none).
struct cAntiAliasingChoice {
    const char* text;
    int samples;
};

constexpr cResolutionChoice kResolutionChoices[] = {
    {"640x480", 640, 480},   {"800x600", 800, 600},   {"960x600", 960, 600},
    {"1024x768", 1024, 768}, {"1280x720", 1280, 720}, {"1280x768", 1280, 768},
    {"1280x960", 1280, 960}, {"1440x900", 1440, 900}, {"1680x1050", 1680, 1050},
};
constexpr cAntiAliasingChoice kAntiAliasingChoices[] = {
    {"No AA", 0}, {"2X AA", 2}, {"4X AA", 4}, {"6X AA", 6},
};
constexpr int kResolutionCount = int(sizeof kResolutionChoices / sizeof kResolutionChoices[0]);
constexpr int kAntiAliasingCount = int(sizeof kAntiAliasingChoices / sizeof kAntiAliasingChoices[0]);

// Selected when the dialog opens: "800x600", "4X AA".
constexpr int kInitialResolution = 1;
constexpr int kInitialAntiAliasing = 2;

// What the viewer chose. Indices outside the lists mean "no selection" and leave the window
// system's values as they were.
struct SettingsResult {
    int resolutionIndex = 0;
    int antiAliasingIndex = 0;
    bool fullscreen = false;
    bool exit = false;
};

// The dialog's controls in tab order (the order of the dialog template).
enum class eSettingsControl { Run, Exit, Resolution, Fullscreen, AntiAliasing };
constexpr int kSettingsControlCount = 5;

// Keys the dialog acts on; the view maps SDL keys to these.
enum class eSettingsKey { Up, Down, Left, Right, Tab, Space, Enter, Escape, OpenList };

class SettingsDialog {
public:
    // Starts a showing: the lists at "800x600" and "4X AA", "Fullscreen" checked, the focus on
    // the resolution list, nothing dropped down. The last result is kept until Run or Exit.
    void Open();
    // "Run": the selections become the result, exit false; the dialog ends.
    void Run();
    // "Exit", the close box, or the window closed: exit true; the dialog ends. The selections
    // stay out of the result.
    void Exit();

    // Mouse and keyboard edits while open. Selections outside the lists are ignored.
    void SelectResolution(int index);
    void SelectAntiAliasing(int index);
    void SetFullscreenChecked(bool on) { fullscreenChecked = on; }
    void Focus(eSettingsControl control);
    // Drops a list down (Resolution or AntiAliasing) or folds whichever is down (any other).
    void DropDown(eSettingsControl list);

    // Keyboard: Tab (with shift: backwards) moves the focus; on a list the arrows move its
    // selection, elsewhere they move the focus; Space toggles the box, presses the focused
    // button or drops the focused list; Alt+Down or F4 (OpenList) drops the focused list;
    // Enter and Escape first fold a dropped list, otherwise Enter presses the focused button
    // ("Run" unless "Exit" has the focus) and Escape is "Exit".
    void Key(eSettingsKey key, bool shift = false);

    bool IsOpen() const { return open; }
    int ResolutionSelection() const { return resolutionSelection; }
    int AntiAliasingSelection() const { return antiAliasingSelection; }
    bool FullscreenChecked() const { return fullscreenChecked; }
    eSettingsControl Focused() const { return focus; }
    eSettingsControl Dropped() const { return dropped; }  // Run when no list is down
    const SettingsResult& Result() const { return result; }

    // The modal dialog drawn inside `window` (its current GL context) until Run or Exit; returns
    // the result. Without ImGui or a window it says why on stderr and returns as "Exit".
    // Defined with the view (SettingsDialogView.cpp).
    SettingsResult Show(SDL_Window* window);

private:
    void MoveFocus(int step);
    void StepSelection(eSettingsControl list, int step);

    SettingsResult result;  // zeroed until the first Run or Exit; kept between showings
    bool open = false;
    int resolutionSelection = kInitialResolution;
    int antiAliasingSelection = kInitialAntiAliasing;
    bool fullscreenChecked = true;
    eSettingsControl focus = eSettingsControl::Resolution;
    eSettingsControl dropped = eSettingsControl::Run;
};

// The multisample count the anti-aliasing list entry asks for (0: none); -1 for an index outside
// the list (the window system then keeps its count).
int SamplesForAntiAliasing(int index);

// The next multisample count to try when `samples` is refused: the largest of the usual counts
// (16, 8, 6, 4, 2) below it, or 0 (a plain format) below 2.
int FewerSamples(int samples);

}  // namespace VantorGL
