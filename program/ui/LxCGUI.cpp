// Screen descriptions; see LxCGUI.h.
#include "ui/LxCGUI.h"

#include <cstring>

#include "shell/LxXMLParser.h"
#include "ui/LxGroup.h"

namespace {
char g_emptyText[1] = {0};

bool Starts(const char* tag, const char* word) {
    return !std::strncmp(tag, word, std::strlen(word));
}
} // namespace

CLxCGUI::CLxCGUI(const char* descriptionPath) {
    if (descriptionPath) LoadDescription(descriptionPath);
}

CLxCGUI::~CLxCGUI() {
    while (m_pGroups)
        delete m_pGroups; // unlinks itself
    FreeSurface(&m_pBackground);
}

void CLxCGUI::LoadDescription(const char* path) {
    m_file = path;
    CLxXMLParser reader;
    if (!reader.Open(path)) return;
    char* tag = reader.NextTag();
    while (tag) {
        if (Starts(tag, "Lexo")) {
            if (const char* name = reader.GetAttr(tag, "background")) {
                std::string file = MakeBitmapPath(path, name);
                std::strncpy(m_szBackground, file.c_str(), sizeof m_szBackground - 1);
                ReloadBackground();
            }
        } else if (Starts(tag, "group")) {
            const char* name = reader.GetAttr(tag, "name");
            if (!FindGroup(name ? name : "")) {
                // The group reads its picture tags and uses up the tag that ends them.
                new CLxGroup(this, &reader, tag);
            }
        }
        tag = reader.NextTag();
    }
}

CLxGroup* CLxCGUI::FindGroup(const char* name) const {
    for (CLxGroup* g = m_pGroups; g; g = g->m_pNext)
        if (name && g->m_szName && !std::strcmp(g->m_szName, name)) return g;
    return nullptr;
}

void CLxCGUI::AddGroup(CLxGroup* group) {
    group->m_pNext = m_pGroups;
    m_pGroups = group;
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

void CLxCGUI::DeleteGroupControls(CLxGroup*) {
    // Descriptions hold no controls yet; controls will be deleted here with their group.
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

CLxSurface* CLxCGUI::ReloadBackground() {
    FreeSurface(&m_pBackground);
    if (m_szBackground[0]) m_pBackground = LoadBitmap(m_szBackground);
    return m_pBackground;
}
