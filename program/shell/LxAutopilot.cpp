// The autopilot; see LxAutopilot.h. The script is parsed whole before the program
// starts, so that a typing error ends it at once; control names can only be checked
// when their command runs, against the screen that is active then.
#include "shell/LxAutopilot.h"

#include <SDL.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/TextCodec.h"
#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMainWindow.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "shell/LxUserRecords.h"
#include "shell/LxWindowProc.h"
#include "shell/LxWindowRules.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxScreen.h"
#include "ui/LxText.h"
#include "ui/LxTextArea.h"

namespace {
constexpr int kSurfaceWidth = 800, kSurfaceHeight = 600;
constexpr int kDragSteps = 8;

struct Verb {
    const char* name;
    CLxAutopilot::Kind kind;
    int minNumbers, maxNumbers; // the numbers after the name (or after the command)
    bool named;                 // a control's or key's name comes first
};

constexpr Verb kVerbs[] = {
    {"message", CLxAutopilot::Kind::Message, 1, 3, false},
    {"click", CLxAutopilot::Kind::Click, 0, 0, true},
    {"drag", CLxAutopilot::Kind::Drag, 2, 2, true},
    {"type", CLxAutopilot::Kind::Type, 0, 0, false},
    {"key", CLxAutopilot::Kind::Key, 0, 0, true},
    {"wait", CLxAutopilot::Kind::Wait, 1, 1, false},
    {"shot", CLxAutopilot::Kind::Shot, 0, 0, false},
    {"dump", CLxAutopilot::Kind::Dump, 0, 0, false},
    {"state", CLxAutopilot::Kind::State, 0, 0, true},
    {"quit", CLxAutopilot::Kind::Quit, 0, 0, false},
};

std::string Trim(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(s[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(s[end - 1])))
        --end;
    return s.substr(begin, end - begin);
}

bool ReadNumber(const std::string& word, long* out) {
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end || errno) return false;
    *out = value;
    return true;
}

// A drag's rest that is one word and no number names the control it ends on; otherwise
// the words are left for the numbers.
bool DragTarget(std::istringstream* words, std::string* target) {
    std::streampos at = words->tellg();
    std::string first, more;
    long number = 0;
    if (*words >> first && !ReadNumber(first, &number) && !(*words >> more)) {
        *target = first;
        return true;
    }
    words->clear();
    words->seekg(at);
    return false;
}

// The key a script names, as the window procedure will see it; 0 for none.
SDL_Keycode KeyOf(const std::string& name) {
    SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
    return key != SDLK_UNKNOWN && VirtualKey(key) ? key : SDLK_UNKNOWN;
}

// A surface position as a window position that the window procedure turns back into it.
POINT ClientPoint(POINT p) {
    int width = 0, height = 0;
    GetClientSize(&width, &height);
    if (width <= 0 || height <= 0) return p;
    return POINT{(p.x * width + kSurfaceWidth - 1) / kSurfaceWidth,
                 (p.y * height + kSurfaceHeight - 1) / kSurfaceHeight};
}

void Motion(POINT p, bool leftDown) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = p.x;
    e.motion.y = p.y;
    e.motion.state = leftDown ? SDL_BUTTON_LMASK : 0;
    HandleEvent(e);
}

void Button(POINT p, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = p.x;
    e.button.y = p.y;
    HandleEvent(e);
}

void Key(SDL_Keycode key) {
    SDL_Event e{};
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    HandleEvent(e);
    e.type = SDL_KEYUP;
    e.key.state = SDL_RELEASED;
    HandleEvent(e);
}

// One text event per character, as an input method sends them.
void Type(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        text.copy(e.text.text, n < sizeof e.text.text ? n : sizeof e.text.text - 1, i);
        HandleEvent(e);
        i += n;
    }
}

void Dump() {
    const char* screen = g_pActiveScreen ? g_pActiveScreen->GetName() : nullptr;
    std::string child = talvik::Latin2ToUtf8(CodesToText(g_szUserName));
    std::printf("autopilot: screen=%s state=%d child=%s lesson=%d\n",
                screen && *screen ? screen : "-", g_Driver.nState,
                child.empty() ? "-" : child.c_str(), g_nCourseLesson);
    std::fflush(stdout);
}
} // namespace

bool ControlCentre(const CLxCGUI* gui, const char* fullName, POINT* out) {
    const CLxControl* control = gui ? gui->FindControl(fullName) : nullptr;
    RECT r;
    if (!control || !control->GetDrawRect(&r)) return false;
    *out = POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return true;
}

bool CLxAutopilot::Fail(int line, const std::string& what) {
    m_error = "line " + std::to_string(line) + ": " + what;
    return false;
}

bool CLxAutopilot::Parse(const std::string& script) {
    m_commands.clear();
    m_nNext = 0;
    m_bWaiting = false;
    m_error.clear();
    std::istringstream lines(script);
    std::string text;
    for (int line = 1; std::getline(lines, text); ++line)
        if (!ParseLine(line, Trim(text))) return false;
    return true;
}

bool CLxAutopilot::ParseLine(int line, const std::string& text) {
    if (text.empty() || text[0] == '#') return true;
    std::istringstream words(text);
    std::string name;
    words >> name;
    const Verb* verb = nullptr;
    for (const Verb& v : kVerbs)
        if (name == v.name) verb = &v;
    if (!verb) return Fail(line, "unknown command \"" + name + "\"");
    Command command{verb->kind, line, ""};
    if (verb->kind == Kind::Type) {
        command.text = Trim(text.substr(name.size()));
        if (command.text.empty()) return Fail(line, "type needs a text");
        m_commands.push_back(command);
        return true;
    }
    if (verb->named && !(words >> command.text)) return Fail(line, name + " needs a name");
    // Scripts are UTF-8; control names ("fö.felvetel") are held in the program's codec.
    if (verb->kind != Kind::Key) command.text = talvik::Utf8ToLatin2(command.text);
    if (verb->kind == Kind::Drag && DragTarget(&words, &command.target)) {
        command.target = talvik::Utf8ToLatin2(command.target);
        m_commands.push_back(command);
        return true;
    }
    if (verb->kind == Kind::Key && !KeyOf(command.text))
        return Fail(line, "unknown key \"" + command.text + "\"");
    int count = 0;
    for (std::string word; words >> word; ++count) {
        if (count == verb->maxNumbers) return Fail(line, "too much after " + name);
        if (!ReadNumber(word, &command.numbers[count]))
            return Fail(line, "\"" + word + "\" is not a number");
    }
    if (count < verb->minNumbers) return Fail(line, name + " needs more numbers");
    if (verb->kind == Kind::Wait && command.numbers[0] < 0)
        return Fail(line, "a wait cannot be negative");
    m_commands.push_back(command);
    return true;
}

int CLxAutopilot::Poll(int nowMs) {
    if (Failed()) return -1;
    if (m_bWaiting) {
        if (nowMs < m_nResumeAt) return m_nResumeAt - nowMs;
        m_bWaiting = false;
    }
    if (m_nNext >= m_commands.size()) return -1;
    const Command& command = m_commands[m_nNext++];
    if (!Run(command, nowMs)) return -1;
    if (m_bWaiting) return m_nResumeAt - nowMs;
    return m_nNext < m_commands.size() ? 0 : -1;
}

bool CLxAutopilot::Run(const Command& command, int nowMs) {
    switch (command.kind) {
    case Kind::Message:
        LxSendMessage(static_cast<UINT>(command.numbers[0]),
                      static_cast<WPARAM>(command.numbers[1]),
                      static_cast<LPARAM>(command.numbers[2]));
        return true;
    case Kind::Click:
        return Click(command);
    case Kind::Drag:
        return Drag(command);
    case Kind::Type:
        Type(command.text);
        return true;
    case Kind::Key:
        Key(KeyOf(command.text));
        return true;
    case Kind::Wait:
        m_bWaiting = true;
        m_nResumeAt = nowMs + static_cast<int>(command.numbers[0]);
        return true;
    case Kind::Shot:
        Key(SDLK_F11);
        return true;
    case Kind::Dump:
        Dump();
        return true;
    case Kind::State:
        return State(command);
    case Kind::Quit:
        Key(SDLK_F12);
        return true;
    }
    return true;
}

static bool FindCentre(const std::string& name, POINT* out) {
    return ControlCentre(g_pActiveScreen ? g_pActiveScreen->GetGUI() : nullptr, name.c_str(), out);
}

static std::string NoControl(const std::string& name) {
    const char* screen = g_pActiveScreen ? g_pActiveScreen->GetName() : nullptr;
    return "no control \"" + name + "\" on the screen \"" + (screen ? screen : "") + "\"";
}

bool CLxAutopilot::Click(const Command& command) {
    POINT centre;
    if (!FindCentre(command.text, &centre)) return Fail(command.line, NoControl(command.text));
    POINT p = ClientPoint(centre);
    Motion(p, false);
    Button(p, true);
    Button(p, false);
    return true;
}

bool CLxAutopilot::State(const Command& command) {
    CLxCGUI* gui = g_pActiveScreen ? g_pActiveScreen->GetGUI() : nullptr;
    CLxControl* control = gui ? gui->FindControl(command.text.c_str()) : nullptr;
    if (!control) return Fail(command.line, NoControl(command.text));
    int flags = 0;
    g_pActiveScreen->GetControlState(command.text.c_str(), &flags);
    const char* shown = nullptr;
    if (auto* text = dynamic_cast<CLxText*>(control)) shown = text->GetText();
    if (auto* area = dynamic_cast<CLxTextArea*>(control)) shown = area->GetText();
    std::printf("autopilot: control=%s state=%d text=%s\n",
                talvik::Latin2ToUtf8(command.text).c_str(), flags,
                shown ? talvik::Latin2ToUtf8(shown).c_str() : "-");
    std::fflush(stdout);
    return true;
}

bool CLxAutopilot::Drag(const Command& command) {
    POINT from;
    if (!FindCentre(command.text, &from)) return Fail(command.line, NoControl(command.text));
    POINT to{static_cast<int>(command.numbers[0]), static_cast<int>(command.numbers[1])};
    if (!command.target.empty() && !FindCentre(command.target, &to))
        return Fail(command.line, NoControl(command.target));
    Motion(ClientPoint(from), false);
    Button(ClientPoint(from), true);
    for (int i = 1; i <= kDragSteps; ++i)
        Motion(ClientPoint(POINT{from.x + (to.x - from.x) * i / kDragSteps,
                                 from.y + (to.y - from.y) * i / kDragSteps}),
               true);
    Button(ClientPoint(to), false);
    return true;
}

static CLxAutopilot* g_pAutopilot = nullptr;

bool StartAutopilot() {
    const char* path = std::getenv("LEXORA_AUTOPILOT");
    if (!path || !*path) return true;
    std::ifstream file(path, std::ios::binary);
    std::stringstream script;
    script << file.rdbuf();
    if (!file) {
        std::fprintf(stderr, "autopilot: cannot read %s\n", path);
        return false;
    }
    auto* autopilot = new CLxAutopilot;
    if (!autopilot->Parse(script.str())) {
        std::fprintf(stderr, "autopilot: %s: %s\n", path, autopilot->Error().c_str());
        delete autopilot;
        return false;
    }
    g_pAutopilot = autopilot;
    return true;
}

int AutopilotPoll(int nowMs) {
    if (!g_pAutopilot) return -1;
    int wait = g_pAutopilot->Poll(nowMs);
    if (wait >= 0) return wait;
    if (g_pAutopilot->Failed()) {
        std::fprintf(stderr, "autopilot: %s\n", g_pAutopilot->Error().c_str());
        WindowProc(kMsgClose, 0, 0);
        PostQuitMessage(2);
    }
    delete g_pAutopilot;
    g_pAutopilot = nullptr;
    return -1;
}
