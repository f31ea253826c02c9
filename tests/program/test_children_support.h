// What the child-selection and therapy-screen tests share: the therapy fixture with a
// Hungarian alphabet (so "ő", "ű" and capitals have their codes), a therapy letter order
// of nine letters, a fixed today, and the child selection's description: four list rows
// with picture buttons, a scroll bar of page 4, the new-name field and the back button.
#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/Path.h"
#include "media/LxFile.h"
#include "reading/LxLetters.h"
#include "shell/LxChildren.h"
#include "shell/LxMessages.h"
#include "test_therapy_support.h"
#include "therapy/LxTPanels.h"
#include "ui/LxScrollBar.h"
#include "ui/LxText.h"

namespace therapy_test {

// The file system's (UTF-8) form of a path written in the program's text (Latin-2).
inline std::string Disk(const char* path) {
    return talvik::OsPath(path, false);
}

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string TextField(const char* name, int x, int y, const char* text = "") {
    return std::string("<control type=\"textfield\" name=\"") + name + "\" length=\"31\" text=\"" +
           text + "\" rect=\"" + std::to_string(x) + "," + std::to_string(y) +
           ",300,30\"><common/></control>\n";
}

class ChildrenTest : public TherapyTest {
  protected:
    void SetUp() override {
        TherapyTest::SetUp();
        WriteFile("data/olvfej_tem.xml",
                  "<Lexora>\n<character vowels=\"a, á, e, é, i, í, o, ó, ö, ő, u, ú, ü, ű\" "
                  "consonants=\"b, c, cs, d, g, k, l, m, n, r, s, sz, t, v, z, zs\" "
                  "pairs=\"öő, üű\" sort=\"a, b, c, cs, d, e, g, i, k, l, m, n, o, ö, r, s, "
                  "sz, t, u, ü, v, z, zs\"></character>\n</Lexora>\n");
        WriteFile("data/beszedjav.xml", "<character order=\"_, s, sz, zs, r, l, k, g, c, cs\"/>\n");
        LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
        std::filesystem::create_directories("save/theraphy");
        std::snprintf(g_szToday, sizeof g_szToday, "2026.12.10");
        ResetTaskValues();
        WriteUserLoad();
    }
    void TearDown() override {
        g_szToday[0] = 0;
        TherapyTest::TearDown();
    }

    static void WriteUserLoad() {
        std::string rows;
        for (int i = 0; i < 4; ++i) {
            char n[16];
            std::snprintf(n, sizeof n, "tf%02d", i);
            rows += TextField(n, 40, 200 + 40 * i);
            std::snprintf(n, sizeof n, "icon%02d", i);
            rows += Button(n, 360, 200 + 40 * i);
        }
        WriteFile("data/beszedjavu.xml",
                  "<Lexo background=\"hatter\">\n<group name=\"fo\" position=\"0,0\">\n"
                  "<unselected disabled=\"fo_0\" passive=\"fo_4\" active=\"fo_5\"/>\n"
                  "<selected passive=\"fo_6\" active=\"fo_7\"/>\n</group>\n" +
                      rows + TextField("szo", 40, 500) +
                      "<control type=\"scrollbar\" name=\"sb\" range=\"0,4\" page=\"4\" "
                      "value=\"0\"><common rect=\"620,200,20,160\"/></control>\n"
                      "<group name=\"al\" position=\"0,0\">\n</group>\n" +
                      Button("vissza", 700, 550) +
                      "<group name=\"help\" position=\"0,0\">\n</group>\n" +
                      Button("sugo", 700, 500) + "</Lexo>\n");
    }
    // Makes a child's folder with settings naming its picture, as an earlier run left it.
    static void MakeChild(const std::string& folder, int icon) {
        WriteFile(Disk(("save/theraphy/" + folder + "/settings.xml").c_str()),
                  "<user icon = \"" + std::to_string(icon) + "\"/>\n");
    }
    static std::string Codes(const char* text) { return TextToCodes(text); }
    static std::string Shown(CLxScreen* s, const char* name) {
        auto* t = dynamic_cast<CLxText*>(s->GetGUI()->FindControl(name));
        return t ? t->GetText() : "<none>";
    }
    static void Type(CLxScreen* s, const char* name, const char* text, int type = kKeyChar) {
        auto* field = dynamic_cast<CLxText*>(s->GetGUI()->FindControl(name));
        ASSERT_NE(field, nullptr) << name;
        field->SetText(text);
        CLxKeyEvent event(field, type, 13, 0);
        static_cast<ILxKeyListener*>(s)->OnKeyEvent(&event);
    }
};

} // namespace therapy_test
