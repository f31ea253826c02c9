// The font cache; see LxFontServer.h.
#include "media/LxFontServer.h"

#include <cstdio>
#include <cstring>

CLxFontServer* g_pFontServer = nullptr;

CLxRLEFonts* ServedFont(const char* descriptionPath) {
    return g_pFontServer ? g_pFontServer->GetFont(descriptionPath) : nullptr;
}

CLxFontServer::~CLxFontServer() {
    for (int i = 0; i < m_nCount; ++i)
        delete m_entries[i].font;
}

CLxRLEFonts* CLxFontServer::GetFont(const char* descriptionPath) {
    if (!descriptionPath) return nullptr;
    for (int i = 0; i < m_nCount; ++i)
        if (std::strcmp(m_entries[i].font->Path(), descriptionPath) == 0) {
            ++m_entries[i].uses;
            return m_entries[i].font;
        }
    if (m_nCount == kMaxFonts || std::strlen(descriptionPath) > 127) return nullptr;
    auto* font = new CLxRLEFonts;
    font->Load(descriptionPath);
    std::printf("%s\n", descriptionPath);
    std::fflush(nullptr);
    m_entries[m_nCount++] = Entry{font, 1};
    return font;
}

int CLxFontServer::UseCount(const CLxRLEFonts* font) const {
    for (int i = 0; i < m_nCount; ++i)
        if (m_entries[i].font == font) return m_entries[i].uses;
    return 0;
}
