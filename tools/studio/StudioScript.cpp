// cStudioScript: parsing and pacing the studio's --script.
#include "StudioScript.h"

#include "offline/ToolArguments.h"

#include <SDL2/SDL_keycode.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace QuenliteStudio {

namespace {

std::string Trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t\n"), last = text.find_last_not_of(" \t\n");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The SDL key code of a key's name in the studio's help; 0 for a name it does not know.
int KeyCode(const std::string& name) {
    static const struct {
        const char* name;
        int key;
    } kNames[] = {{"space", SDLK_SPACE}, {"left", SDLK_LEFT},    {"right", SDLK_RIGHT},   {"home", SDLK_HOME},
                  {"comma", SDLK_COMMA}, {"period", SDLK_PERIOD}, {"[", SDLK_LEFTBRACKET}, {"]", SDLK_RIGHTBRACKET},
                  {"l", SDLK_l},         {"up", SDLK_UP},         {"down", SDLK_DOWN},     {"tab", SDLK_TAB},
                  {"f12", SDLK_F12},     {"f1", SDLK_F1},         {"f5", SDLK_F5}};
    for (const auto& entry : kNames)
        if (name == entry.name) return entry.key;
    if (name.size() == 1 && name[0] >= '1' && name[0] <= '9') return SDLK_1 + (name[0] - '1');
    return 0;
}

}  // namespace

bool cStudioScript::Parse(const std::string& text, std::string& error) {
    commands.clear();
    next = 0;
    waiting = 0;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t end = text.find(';', from);
        if (end == std::string::npos) end = text.size();
        std::string item = Trim(text.substr(from, end - from));
        from = end + 1;
        if (item.empty()) continue;
        std::string word = item, rest;
        std::size_t space = item.find(' ');
        if (space != std::string::npos) {
            word = item.substr(0, space);
            rest = Trim(item.substr(space + 1));
        }
        std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        sStudioCommand command;
        if (word == "seek") {
            command.kind = sStudioCommand::eKind::Seek;
            if (!ParseToolTime(rest, command.value)) return error = "\"" + item + "\" wants a TIME", false;
        } else if (word == "wait") {
            command.kind = sStudioCommand::eKind::Wait;
            char* stop = nullptr;
            long frames = std::strtol(rest.c_str(), &stop, 10);
            if (rest.empty() || *stop != '\0' || frames < 1 || frames > 100000)
                return error = "\"" + item + "\" wants 1 to 100000 frames", false;
            command.value = int(frames);
        } else if (word == "screen") {
            command.kind = sStudioCommand::eKind::Screen;
            if (rest.empty()) return error = "\"" + item + "\" wants a file name", false;
            command.path = rest;
        } else if (word == "status" || word == "quit" || word == "waitreload") {
            command.kind = word == "status" ? sStudioCommand::eKind::Status
                           : word == "quit" ? sStudioCommand::eKind::Quit
                                            : sStudioCommand::eKind::WaitReload;
            if (!rest.empty()) return error = "\"" + item + "\" takes nothing more", false;
        } else {
            command.kind = sStudioCommand::eKind::Key;
            if (!rest.empty()) return error = "unknown command \"" + item + "\"", false;
            if (word.rfind("shift+", 0) == 0) {
                command.shift = true;
                word = word.substr(6);
            }
            command.key = KeyCode(word);
            if (command.key == 0) return error = "unknown command or key \"" + item + "\"", false;
        }
        commands.push_back(command);
    }
    return true;
}

const sStudioCommand* cStudioScript::Next() {
    if (waiting > 0) {
        --waiting;
        return nullptr;
    }
    if (next >= commands.size()) return nullptr;
    const sStudioCommand& command = commands[next++];
    if (command.kind == sStudioCommand::eKind::Wait) {
        waiting = command.value - 1;
        return nullptr;
    }
    return &command;
}

}  // namespace QuenliteStudio
