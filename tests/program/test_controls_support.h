// What the screen and control tests share: a temporary data folder with an 800 x 600
// drawing surface, solid-colour pictures (one colour per state, so that a pixel tells
// which picture was drawn), a synthetic font whose glyphs are full rectangles of known
// widths (4 + code % 3 pixels, 8 high; '~' has no glyph), and a recorder of events.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxFontServer.h"
#include "support/TempFolder.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxEvents.h"

namespace ui_test {

inline std::string Le16(int v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)};
}
inline std::string Le32(unsigned v) {
    return Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>(v >> 16));
}

// The glyph width of a code in the synthetic font; 0 for '~'.
inline int GlyphWidth(int code) {
    return code == '~' ? 0 : 4 + code % 3;
}
constexpr int kGlyphHeight = 8;

// Writes data/fonts/<name>.xml and its base file.
inline void WriteFont(const std::string& name) {
    std::string base;
    for (int code = 32; code < 256; ++code) {
        int w = GlyphWidth(code);
        if (!w) continue;
        std::string rows(kGlyphHeight, static_cast<char>(w));
        base += std::string(1, static_cast<char>(code)) + Le32(kGlyphHeight) + Le32(0) + Le16(w) +
                Le16(kGlyphHeight) + rows;
    }
    WriteFile("data/fonts/" + name + ".fnt", base);
    WriteFile("data/fonts/" + name + ".xml", "<Font base=\"" + name + ".fnt\">\n");
}

// A w x h bitmap of one colour.
inline void WritePicture(const std::string& path, uint32_t rgb, int w = 800, int h = 600) {
    WriteFile(path, ""); // makes the folders
    CLxSurface s;
    s.Create(w, h);
    FillRectPixel(&s, nullptr, rgb);
    ASSERT_TRUE(SaveBitmap(&s, path.c_str()));
}

inline LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

// Records what a listener hears as "name:type".
class Recorder : public ILxMouseListener {
  public:
    int OnMouseEvent(CLxMouseEvent* e) override {
        log.push_back("L " + Name(e->m_pControl) + ":" + std::to_string(e->m_nType));
        return 0;
    }
    static std::string Name(const CLxControl* c) { return c ? c->m_szName : "-"; }
    std::vector<std::string> log;
};

class UiTest : public TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        CLxFile::SetRoots("", "data\\");
        g_pDrawSurface = CreateSurface(800, 600);
        g_pFontServer = new CLxFontServer;
        WriteFont("tnr32");
        WriteFont("tnr12");
    }
    void TearDown() override {
        delete g_pFontServer;
        g_pFontServer = nullptr;
        FreeSurface(&g_pDrawSurface);
        TempFolderTest::TearDown();
    }
    static uint32_t Pixel(int x, int y) { return GetPixel(g_pDrawSurface, x, y); }
    static void Clear() { FillRectPixel(g_pDrawSurface, nullptr, 0); }
};

} // namespace ui_test
