// Drives the dialogs that a test shows: waits for a top-level dialog window (class #32770),
// prints its caption and the texts of its static controls, one line each, then acts on it.
//
// Usage: window_driver [--timeout SECONDS] STEP...
//   STEP: [--caption TEXT] [--expect TEXT] ACTION   (in TEXT, \r and \n stand for CR and LF)
//   ACTION: type NAME   put NAME into the file-name box and press OK
//           cancel      press Cancel
//           ok          press the default button (OK of a message box, Yes of a question)
//           show        only print
// Each step takes the next such window (with that caption, when given) that no earlier step
// took. --expect makes the step fail unless one static control shows TEXT exactly. Ends with
// "N passed, N failed": a step passes when its window came within the timeout and matched.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct Step {
    std::string caption;
    std::string expect;
    std::string action;
    std::string argument;
};

constexpr int kFileNameBox = 0x47c;     // explorer style
constexpr int kOldFileNameBox = 0x480;  // old style

std::string textOf(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

std::string classOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// One line whatever the text holds.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

struct Search {
    const Step* step;
    const std::set<HWND>* taken;
    HWND found;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    if (classOf(window) != "#32770" || !IsWindowVisible(window)) return TRUE;
    if (search.taken->count(window)) return TRUE;
    if (!search.step->caption.empty() && textOf(window) != search.step->caption) return TRUE;
    search.found = window;
    return FALSE;
}

struct Children {
    std::vector<std::string> statics;
    HWND fileBox = nullptr;
    HWND anyEdit = nullptr;
};

BOOL CALLBACK collectChild(HWND window, LPARAM param) {
    auto& children = *reinterpret_cast<Children*>(param);
    const std::string kind = classOf(window);
    if (kind == "Static") {
        const std::string text = textOf(window);
        if (!text.empty()) children.statics.push_back(text);
    } else if (kind == "Edit") {
        const int id = GetDlgCtrlID(window);
        if (!children.fileBox && (id == kFileNameBox || id == kOldFileNameBox))
            children.fileBox = window;
        if (!children.anyEdit && IsWindowVisible(window)) children.anyEdit = window;
    }
    return TRUE;
}

void press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool run(const Step& step, std::set<HWND>& taken, DWORD timeoutMs) {
    Search search{&step, &taken, nullptr};
    const DWORD start = GetTickCount();
    while (true) {
        search.found = nullptr;
        EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > timeoutMs) break;
        Sleep(100);
    }
    if (!search.found) {
        std::printf("FAIL no dialog window%s%s within %lu s\n",
                    step.caption.empty() ? "" : " captioned ", step.caption.c_str(),
                    static_cast<unsigned long>(timeoutMs / 1000));
        return false;
    }
    HWND dialog = search.found;
    taken.insert(dialog);
    Sleep(300);  // let the dialog fill its controls
    Children children;
    EnumChildWindows(dialog, collectChild, reinterpret_cast<LPARAM>(&children));
    std::printf("caption: %s\n", escaped(textOf(dialog)).c_str());
    bool expected = step.expect.empty();
    for (const auto& text : children.statics) {
        std::printf("static: %s\n", escaped(text).c_str());
        if (escaped(text) == step.expect) expected = true;
    }
    if (!expected) std::printf("FAIL no static control shows \"%s\"\n", step.expect.c_str());

    if (step.action == "type") {
        HWND box = children.fileBox ? children.fileBox : children.anyEdit;
        if (!box) {
            std::printf("FAIL no file-name box\n");
            press(dialog, IDCANCEL);
            return false;
        }
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.argument.c_str()));
        press(dialog, IDOK);
    } else if (step.action == "cancel") {
        press(dialog, IDCANCEL);
    } else if (step.action == "ok") {
        const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
        press(dialog, HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK);
    }
    std::printf("action: %s%s%s\n", step.action.c_str(), step.argument.empty() ? "" : " ",
                step.argument.c_str());
    std::fflush(stdout);
    return expected;
}

int usage() {
    std::printf(
        "usage: window_driver [--timeout SECONDS] [--caption TEXT] [--expect TEXT] "
        "(type NAME | cancel | ok | show)...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    DWORD timeoutMs = 30000;
    std::vector<Step> steps;
    Step next;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--timeout" && hasValue) {
            timeoutMs = static_cast<DWORD>(std::strtoul(argv[++i], nullptr, 10) * 1000);
        } else if (arg == "--caption" && hasValue) {
            next.caption = argv[++i];
        } else if (arg == "--expect" && hasValue) {
            next.expect = argv[++i];
        } else if (arg == "type" && hasValue) {
            next.action = arg;
            next.argument = argv[++i];
            steps.push_back(next);
            next = Step{};
        } else if (arg == "cancel" || arg == "ok" || arg == "show") {
            next.action = arg;
            steps.push_back(next);
            next = Step{};
        } else {
            return usage();
        }
    }
    if (steps.empty()) return usage();
    std::set<HWND> taken;
    int passed = 0, failed = 0;
    for (const auto& step : steps) (run(step, taken, timeoutMs) ? passed : failed)++;
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
