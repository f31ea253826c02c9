// Screen descriptions and the dispatch of the window's messages; see LxCGUI.h.
#include "ui/LxCGUI.h"

#include <cstdio>
#include <cstring>

#include "media/LxSoundBuffer.h"
#include "media/LxSoundServer.h"
#include "shell/LxXMLParser.h"
#include "ui/LxControl.h"
#include "ui/LxControlFactory.h"
#include "ui/LxGroup.h"
#include "ui/LxScreen.h"

namespace {
char g_emptyText[1] = {0};

CBSoundBuffer* FetchSound(const char* path) {
    return g_pSoundServer ? g_pSoundServer->GetSound(path, -1, -1) : nullptr;
}

void ReleaseSound(CBSoundBuffer** sound) {
    if (*sound && g_pSoundServer) g_pSoundServer->ReleaseSound(*sound);
    *sound = nullptr;
}

void PlayFromStart(CBSoundBuffer* sound) {
    if (!sound) return;
    sound->SetPosition(0);
    sound->StartPlay(false);
}
} // namespace

CLxCGUI::CLxCGUI(const char* descriptionPath) {
    if (descriptionPath) LoadDescription(descriptionPath);
    m_pAsterisk = FetchSound("data\\sounds\\asterisk.wav");
    m_pClick = FetchSound("data\\sounds\\click.wav");
}

CLxCGUI::~CLxCGUI() {
    while (m_pGroups)
        delete m_pGroups; // unlinks itself and deletes its controls
    while (m_pControls)
        delete m_pControls; // unlinks itself
    FreeSurface(&m_pBackground);
    ReleaseSound(&m_pAsterisk);
    ReleaseSound(&m_pClick);
}

void CLxCGUI::LoadDescription(const char* path) {
    if (!path) return;
    if (m_file.empty()) m_file = path;
    CLxXMLParser reader;
    if (!reader.Open(path)) return;
    CLxGroup* group = nullptr;
    char* tag = reader.NextTag();
    while (tag) {
        if (LxTagStarts(tag, "Lexo")) {
            if (const char* name = reader.GetAttr(tag, "background")) {
                std::string file = MakeBitmapPath(path, name);
                if (file.size() < sizeof m_szBackground) {
                    std::memcpy(m_szBackground, file.c_str(), file.size() + 1);
                    ReloadBackground();
                } else {
                    // Too long to keep: as if the file did not exist.
                    std::printf("File not found! %.255s... (too long)\n", file.c_str());
                    std::fflush(stdout);
                }
            }
        } else if (LxTagStarts(tag, "group")) {
            const char* name = reader.GetAttr(tag, "name");
            group = FindGroup(name ? name : "");
            // A new group reads its picture tags and uses up the tag that ends them.
            if (!group) group = new CLxGroup(this, &reader, tag);
        } else if (LxTagStarts(tag, "control") && group) {
            // A control reads its rectangle tags and uses up the tag that ends them.
            if (const char* type = reader.GetAttr(tag, "type"))
                LxCreateControl(std::string(type).c_str(), this, group, &reader, tag);
        }
        tag = reader.NextTag();
    }
}

CLxControl* CLxCGUI::FindControl(const char* fullName) const {
    if (!fullName) return nullptr;
    for (CLxControl* c = m_pControls; c; c = c->m_pNext)
        if (c->GetFullName() == fullName) return c;
    return nullptr;
}

CLxGroup* CLxCGUI::FindGroup(const char* name) const {
    for (CLxGroup* g = m_pGroups; g; g = g->m_pNext)
        if (name && g->m_szName && !std::strcmp(g->m_szName, name)) return g;
    return nullptr;
}

bool CLxCGUI::HasControl(const CLxControl* control) const {
    for (CLxControl* c = m_pControls; c; c = c->m_pNext)
        if (c == control) return true;
    return false;
}

void CLxCGUI::AddControl(CLxControl* control) {
    control->m_pNext = m_pControls;
    m_pControls = control;
}

void CLxCGUI::AddGroup(CLxGroup* group) {
    group->m_pNext = m_pGroups;
    m_pGroups = group;
}

void CLxCGUI::RemoveControl(CLxControl* control) {
    if (m_pHot == control) m_pHot = nullptr;
    if (m_pPressed == control) m_pPressed = nullptr;
    if (m_pOwner) m_pOwner->ForgetControl(control);
    for (CLxControl** link = &m_pControls; *link; link = &(*link)->m_pNext)
        if (*link == control) {
            *link = control->m_pNext;
            control->m_pNext = nullptr;
            return;
        }
}

void CLxCGUI::RemoveGroup(CLxGroup* group) {
    DeleteGroupControls(group);
    for (CLxGroup** link = &m_pGroups; *link; link = &(*link)->m_pNext)
        if (*link == group) {
            *link = group->m_pNext;
            group->m_pNext = nullptr;
            return;
        }
}

void CLxCGUI::DeleteGroupControls(CLxGroup* group) {
    // A destructor unlinks its control, so the walk starts over after each one.
    for (CLxControl* c = m_pControls; c;) {
        if (c->m_pGroup != group) {
            c = c->m_pNext;
            continue;
        }
        delete c;
        c = m_pControls;
    }
}

RECT* CLxCGUI::AddRect(const RECT* rect) {
    if (!rect || m_nRects >= kMaxRects) return nullptr;
    m_aRects[m_nRects] = *rect;
    return &m_aRects[m_nRects++];
}

char* CLxCGUI::AllocText(int n) {
    if (n <= 0 || m_nText + n > kTextBytes - 1) return g_emptyText;
    char* text = m_aText + m_nText;
    std::memset(text, 0, n);
    m_nText += n;
    return text;
}

char* CLxCGUI::StoreText(const char* s) {
    if (!s) return g_emptyText;
    int n = static_cast<int>(std::strlen(s)) + 1;
    char* text = AllocText(n);
    if (text != g_emptyText) std::memcpy(text, s, n);
    return text;
}

bool CLxCGUI::IsSharedEmpty(const char* text) {
    return text == g_emptyText;
}

void CLxCGUI::DrawBackground(const RECT* rect, CLxControl* except, bool withBackground) {
    RECT area{};
    if (rect) {
        area = *rect;
        if (area.left < 0) area.left = 0;
        if (area.top < 0) area.top = 0;
    }
    const RECT* region = rect ? &area : nullptr;
    if (withBackground && m_pBackground && g_pDrawSurface)
        BltSurface(g_pDrawSurface, region, m_pBackground, region, 0);
    for (CLxControl* c = m_pControls; c; c = c->m_pNext) {
        if (c == except || !c->Is(kVisible)) continue;
        if (region) {
            RECT bounds, common;
            c->GetBounds(&bounds);
            if (!IntersectRect(&common, &bounds, region)) continue;
        }
        c->Draw();
    }
}

CLxSurface* CLxCGUI::ReloadBackground() {
    FreeSurface(&m_pBackground);
    if (m_szBackground[0]) m_pBackground = LoadBitmap(m_szBackground);
    return m_pBackground;
}

void CLxCGUI::Notify(CLxMouseEvent* event) {
    if (m_pListener && event) m_pListener->OnMouseEvent(event);
}

void CLxCGUI::StopSounds() {
    if (m_pAsterisk) m_pAsterisk->Stop();
    if (m_pClick) m_pClick->Stop();
}

void CLxCGUI::PlayClick() {
    PlayFromStart(m_pClick);
}

void CLxCGUI::PlayAsterisk() {
    PlayFromStart(m_pAsterisk);
}

void CLxCGUI::DumpControls() {
    for (CLxControl* c = m_pControls; c; c = c->m_pNext)
        std::printf("%s\n", c->GetFullName().c_str());
    std::printf("Text mem: %d %d\n", m_nText, kTextBytes);
    std::fflush(stdout);
}

void CLxCGUI::DispatchKey(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!m_pHot || m_pPressed) return;
    int key = static_cast<int>(wParam), data = static_cast<int>(lParam);
    CLxControl* control = m_pHot;
    int type = 0;
    if (msg == WM_KEYDOWN) {
        type = kKeyDown;
        CLxKeyEvent event(control, type, key, data);
        control->OnKeyDown(&event);
    } else if (msg == WM_KEYUP) {
        type = kKeyUp;
        CLxKeyEvent event(control, type, key, data);
        control->OnKeyUp(&event);
    } else if (msg == WM_CHAR) {
        type = kKeyChar;
        CLxKeyEvent event(control, type, key, data);
        control->OnChar(&event);
    } else {
        return;
    }
    if (!m_pOwner) return;
    // The screen hears what the message was: Enter or backspace arrive both as a key
    // and as a character, and a screen acting on both would act twice.
    CLxKeyEvent event(control, type, key, data);
    m_pOwner->OnKeyEvent(&event);
}

bool CLxCGUI::Send(CLxControl* control, void (CLxControl::*handler)(CLxMouseEvent*), int type,
                   int x, int y, int buttons, bool tell) {
    CLxMouseEvent event(control, x, y, type, buttons);
    if (handler) (control->*handler)(&event);
    if (tell && m_pListener) m_pListener->OnMouseEvent(&event);
    // A listener may have deleted the control.
    return HasControl(control);
}

void CLxCGUI::DispatchMouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_MOUSEMOVE && msg != WM_LBUTTONDOWN && msg != WM_LBUTTONUP) return;
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    int buttons = static_cast<int>(wParam);
    const int live = kEnabled | kVisible;

    CLxControl* target = nullptr;
    if (m_pHot && m_pHot->Is(live) && m_pHot->HitTest(x, y)) {
        target = m_pHot;
    } else if (msg == WM_MOUSEMOVE && m_pPressed) {
        target = m_pPressed; // a drag keeps its control even outside it
    } else {
        for (CLxControl* c = m_pControls; c && !target; c = c->m_pNext)
            if (c->Is(live) && c->HitTest(x, y)) target = c;
    }

    if (target != m_pHot) {
        if (CLxControl* old = m_pHot) {
            if (Send(old, &CLxControl::OnLeave, kMouseLeave, x, y, buttons, true) &&
                msg == WM_LBUTTONUP)
                Send(old, nullptr, kMouseReleasedOut, x, y, buttons, true);
        }
        m_pHot = nullptr;
        if (target && !HasControl(target)) target = nullptr;
        if (target && target->Is(live) &&
            !Send(target, &CLxControl::OnEnter, kMouseEnter, x, y, buttons, true))
            target = nullptr;
        m_pHot = target;
    }

    if (!target) {
        if (msg == WM_LBUTTONUP) m_pPressed = nullptr;
        return;
    }
    if (msg == WM_MOUSEMOVE) {
        if (buttons & MK_LBUTTON)
            Send(target, &CLxControl::OnDrag, kMouseDrag, x, y, buttons, true);
        else
            Send(target, &CLxControl::OnMove, kMouseMove, x, y, buttons, false);
    } else if (msg == WM_LBUTTONDOWN) {
        if (Send(target, &CLxControl::OnButtonDown, kMouseDown, x, y, buttons, true))
            m_pPressed = target;
    } else {
        if (!Send(target, &CLxControl::OnButtonUp, kMouseUp, x, y, buttons, true)) return;
        if (target != m_pPressed) {
            m_pPressed = nullptr;
            return;
        }
        CLxMouseEvent event(target, x, y, kMouseClick, buttons);
        target->OnClick(&event);
        PlayClick();
        m_pPressed = nullptr;
        if (HasControl(target) && m_pListener) m_pListener->OnMouseEvent(&event);
    }
}

char* LxControlText(CLxCGUI* gui, int* length, char* ownEmpty, const char* text) {
    char* buffer = gui ? gui->AllocText(*length + 1) : ownEmpty;
    if (CLxCGUI::IsSharedEmpty(buffer) || buffer == ownEmpty) {
        *length = 0;
        ownEmpty[0] = 0;
        return ownEmpty;
    }
    if (text) std::strncpy(buffer, text, *length);
    return buffer;
}
