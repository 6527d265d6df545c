// SettingsDialog: the dialog's behaviour, with no window and no drawing.
#include "shell/SettingsDialog.h"

#include <initializer_list>

namespace VantorGL {

namespace {

constexpr bool IsList(eSettingsControl control) {
    return control == eSettingsControl::Resolution || control == eSettingsControl::AntiAliasing;
}

}  // namespace

void SettingsDialog::Open() {
    open = true;
    resolutionSelection = kInitialResolution;
    antiAliasingSelection = kInitialAntiAliasing;
    fullscreenChecked = true;
    focus = eSettingsControl::Resolution;
    dropped = eSettingsControl::Run;
}

void SettingsDialog::Run() {
    result.resolutionIndex = resolutionSelection;
    result.antiAliasingIndex = antiAliasingSelection;
    result.fullscreen = fullscreenChecked;
    result.exit = false;
    open = false;
    dropped = eSettingsControl::Run;
}

void SettingsDialog::Exit() {
    result.exit = true;
    open = false;
    dropped = eSettingsControl::Run;
}

void SettingsDialog::SelectResolution(int index) {
    if (index >= 0 && index < kResolutionCount) resolutionSelection = index;
}

void SettingsDialog::SelectAntiAliasing(int index) {
    if (index >= 0 && index < kAntiAliasingCount) antiAliasingSelection = index;
}

void SettingsDialog::Focus(eSettingsControl control) {
    if (control != focus) dropped = eSettingsControl::Run;
    focus = control;
}

void SettingsDialog::DropDown(eSettingsControl list) {
    dropped = IsList(list) ? list : eSettingsControl::Run;
    if (IsList(list)) focus = list;
}

void SettingsDialog::MoveFocus(int step) {
    int next = (int(focus) + step + kSettingsControlCount) % kSettingsControlCount;
    Focus(eSettingsControl(next));
}

void SettingsDialog::StepSelection(eSettingsControl list, int step) {
    // A drop-down list stops at its ends; it does not wrap.
    if (list == eSettingsControl::Resolution)
        SelectResolution(resolutionSelection + step);
    else
        SelectAntiAliasing(antiAliasingSelection + step);
}

void SettingsDialog::Key(eSettingsKey key, bool shift) {
    if (!open) return;
    bool onList = IsList(focus);
    bool listDown = dropped != eSettingsControl::Run;
    switch (key) {
        case eSettingsKey::Tab:
            MoveFocus(shift ? -1 : 1);
            break;
        case eSettingsKey::Up:
        case eSettingsKey::Left:
            if (onList) StepSelection(focus, -1);
            else MoveFocus(-1);
            break;
        case eSettingsKey::Down:
        case eSettingsKey::Right:
            if (onList) StepSelection(focus, 1);
            else MoveFocus(1);
            break;
        case eSettingsKey::Space:
            if (focus == eSettingsControl::Fullscreen) fullscreenChecked = !fullscreenChecked;
            else if (focus == eSettingsControl::Run) Run();
            else if (focus == eSettingsControl::Exit) Exit();
            else DropDown(listDown ? eSettingsControl::Run : focus);
            break;
        case eSettingsKey::OpenList:
            if (onList) DropDown(listDown ? eSettingsControl::Run : focus);
            break;
        case eSettingsKey::Enter:
            if (listDown) DropDown(eSettingsControl::Run);
            else if (focus == eSettingsControl::Exit) Exit();
            else Run();
            break;
        case eSettingsKey::Escape:
            if (listDown) DropDown(eSettingsControl::Run);
            else Exit();
            break;
    }
}

int SamplesForAntiAliasing(int index) {
    if (index < 0 || index >= kAntiAliasingCount) return -1;
    return kAntiAliasingChoices[index].samples;
}

int FewerSamples(int samples) {
    for (int usual : {16, 8, 6, 4, 2})
        if (usual < samples) return usual;
    return 0;
}

}  // namespace VantorGL
