// Input for programs run headless, from VORLA_HEADLESS_SCRIPT: steps separated by ';', one step
// each time the program's message loop has nothing to do, so a screenshot can show a program
// that was used. Steps (screen coordinates):
//   move X Y | click X Y [right] | double X Y [right] | down X Y [right] | up X Y [right] |
//   wheel N | key NAME | hold NAME | release NAME | type TEXT
// "down" moves there and presses the button, "up" moves there and lets it go: a drag between.
// "wheel" turns the wheel N notches where the pointer is (negative: towards the user).
// NAME is a letter or digit, F1..F12, Escape, Tab, Enter, Space, Backspace, Delete, Insert, Home,
// End, PageUp, PageDown, Left, Right, Up, Down, Shift, Control, Alt, or a virtual-key number.
#include "backend/headless/headless.h"
#include "internal/system.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <strings.h>

namespace vorla::platform {

namespace {

int VirtualKeyNamed(const std::string &name) {
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        return std::toupper(static_cast<unsigned char>(name[0]));
    static const struct {
        const char *name;
        int key;
    } names[] = {{"Escape", VK_ESCAPE}, {"Tab", VK_TAB},       {"Enter", VK_RETURN},  {"Space", VK_SPACE},
                 {"Backspace", VK_BACK}, {"Delete", VK_DELETE}, {"Insert", VK_INSERT}, {"Home", VK_HOME},
                 {"End", VK_END},        {"PageUp", VK_PRIOR},  {"PageDown", VK_NEXT}, {"Left", VK_LEFT},
                 {"Right", VK_RIGHT},    {"Up", VK_UP},         {"Down", VK_DOWN},     {"Shift", VK_SHIFT},
                 {"Control", VK_CONTROL}, {"Alt", VK_MENU}};
    for (const auto &n : names)
        if (strcasecmp(n.name, name.c_str()) == 0) return n.key;
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int n = std::atoi(name.c_str() + 1);
        if (n >= 1 && n <= 12) return VK_F1 + n - 1;
    }
    char *end = nullptr;
    long key = std::strtol(name.c_str(), &end, 0);
    if (end && *end == 0 && key > 0 && key < 256) return static_cast<int>(key);
    return 0;
}

class ProgramScript {
public:
    explicit ProgramScript(const std::string &text) {
        std::string step;
        std::istringstream in(text);
        while (std::getline(in, step, ';')) {
            size_t first = step.find_first_not_of(" \t\n");
            if (first != std::string::npos) steps_.push_back(step.substr(first));
        }
    }

    // Runs the next step; false when none is left.
    bool RunNext() {
        if (steps_.empty()) return false;
        std::string step = steps_.front();
        steps_.pop_front();
        std::istringstream in(step);
        std::string verb;
        in >> verb;
        if (verb == "type") {
            InputEvent e;
            e.kind = InputEvent::Kind::Text;
            e.text = step.size() > 5 ? step.substr(5) : std::string();
            Deliver(e);
        } else if (verb == "wheel") {
            int notches = 0;
            in >> notches;
            InputEvent e;
            e.kind = InputEvent::Kind::Wheel;
            e.x = TheSystem().cursor.x;
            e.y = TheSystem().cursor.y;
            e.wheel = notches * WHEEL_DELTA;
            Deliver(e);
        } else if (verb == "key" || verb == "hold" || verb == "release") {
            std::string name;
            in >> name;
            int key = VirtualKeyNamed(name);
            if (key && verb != "release") Key(InputEvent::Kind::KeyDown, key);
            if (key && verb != "hold") Key(InputEvent::Kind::KeyUp, key);
        } else if (verb == "move" || verb == "click" || verb == "double" || verb == "down" || verb == "up") {
            int x = 0, y = 0;
            std::string which;
            in >> x >> y >> which;
            int button = which == "right" ? 1 : 0;
            Pointer(InputEvent::Kind::PointerMove, x, y, button);
            if (verb == "down") Pointer(InputEvent::Kind::ButtonDown, x, y, button);
            if (verb == "up") Pointer(InputEvent::Kind::ButtonUp, x, y, button);
            for (int i = 0; i < (verb == "double" ? 2 : verb == "click" ? 1 : 0); ++i) {
                Pointer(InputEvent::Kind::ButtonDown, x, y, button);
                Pointer(InputEvent::Kind::ButtonUp, x, y, button);
            }
        }
        return true;
    }

private:
    static void Deliver(const InputEvent &e) {
        System &s = TheSystem();
        std::lock_guard<std::recursive_mutex> hold(s.lock);
        s.input.push_back(e);
    }
    static void Key(InputEvent::Kind kind, int key) {
        InputEvent e;
        e.kind = kind;
        e.virtual_key = key;
        Deliver(e);
    }
    static void Pointer(InputEvent::Kind kind, int x, int y, int button) {
        InputEvent e;
        e.kind = kind;
        e.x = x;
        e.y = y;
        e.button = button;
        Deliver(e);
    }

    std::deque<std::string> steps_;
};

} // namespace

void InstallProgramScript(HeadlessBackend &backend) {
    const char *text = std::getenv("VORLA_HEADLESS_SCRIPT");
    if (!text || !*text) return;
    auto script = std::make_shared<ProgramScript>(text);
    backend.SetIdleAction([script] { return script->RunNext(); });
}

} // namespace vorla::platform
