// The process-wide font cache: up to 16 fonts, each loaded once from its description
// path and kept until the server is destroyed at exit. Paths are compared byte for byte,
// so another spelling of the same file loads a second copy.
#pragma once
#include "media/LxRLEFonts.h"

class CLxFontServer {
  public:
    static constexpr int kMaxFonts = 16;

    CLxFontServer() = default;
    CLxFontServer(const CLxFontServer&) = delete;
    CLxFontServer& operator=(const CLxFontServer&) = delete;
    virtual ~CLxFontServer();

    // The font of that path, loaded on first use (the path is printed then); null when
    // 16 other fonts are held or the path is longer than a font keeps.
    CLxRLEFonts* GetFont(const char* descriptionPath);
    int Count() const { return m_nCount; }
    // How often GetFont handed out the font; 0 for one the server does not hold.
    int UseCount(const CLxRLEFonts* font) const;

  private:
    struct Entry {
        CLxRLEFonts* font;
        int uses;
    };
    Entry m_entries[kMaxFonts] = {};
    int m_nCount = 0;
};

extern CLxFontServer* g_pFontServer;

// The process's font of that description path; null while no server runs (tests and
// tools that draw without fonts).
CLxRLEFonts* ServedFont(const char* descriptionPath);
