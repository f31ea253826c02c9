// Reading and writing the settings files; see LxSettings.h. The writer keeps the exact
// line format of the files ("%5.3f" reals, the odd blank in "sentence%d text ="), since
// therapists' existing files are read back by the same tag scanner. List attributes are
// read with a cap, and a list of the wrong length fails the load but keeps what fitted.
#include "shell/LxSettings.h"

#include <cstring>

#include "media/LxSaveFile.h"
#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxUserRecords.h"
#include "shell/LxXMLParser.h"

LxSettings g_Settings;
char g_aUserSentences[kUserSentences][kSentenceBytes];

namespace {

const LxSettings kDefaults = {
    false,
    0,
    100,
    4,
    16,
    32,
    {230, 220, 210, 200},
    100,
    30,
    {0.78f, 0.60f},
    30,
    100,
    {0.75f, 0.60f},
    100,
    "zs1",
    {0, 1, 2},
    0,
};

// List attributes that must have exactly count items; at most count are stored.
bool ReadList(CLxXMLParser& xml, const char* tag, const char* name, int* out, int count) {
    return xml.GetIntList(tag, name, out, count) == count;
}
bool ReadList(CLxXMLParser& xml, const char* tag, const char* name, float* out, int count) {
    return xml.GetFloatList(tag, name, out, count) == count;
}

std::string PathOf(const char* user) {
    if (!user) return "save\\settings.xml";
    char path[256];
    return MakeUserPath(path, user, 0);
}

// The tags of one file; true while every known tag had what it needs.
bool ReadTag(CLxXMLParser& xml, const char* tag) {
    LxSettings& s = g_Settings;
    bool ok = true;
    if (LxTagStarts(tag, "globals")) {
        ok &= xml.GetFloat(tag, "min", &g_Driver.fMinLevel);
        ok &= xml.GetFloat(tag, "max", &g_Driver.fMaxLevel);
    } else if (LxTagStarts(tag, "recogniser")) {
        const char* flag = xml.GetAttr(tag, "useminlevel");
        if (flag) s.bUseMinLevel = flag[0] == 'i';
        ok = flag != nullptr;
    } else if (LxTagStarts(tag, "user")) {
        ok = xml.GetInt(tag, "icon", &s.nIcon);
    } else if (LxTagStarts(tag, "theraphy3")) {
        const char* group = xml.GetAttr(tag, "group");
        if (group) std::snprintf(s.szTherapy3Group, sizeof s.szTherapy3Group, "%s", group);
        ok = group != nullptr;
        ok &= ReadList(xml, tag, "pictures", s.aTherapy3Pictures, 3);
    } else if (LxTagStarts(tag, "theraphy4")) {
        ok = xml.GetInt(tag, "sentence", &s.nTherapy4Sentence);
    } else if (LxTagStarts(tag, "theraphyGame1")) {
        ok = xml.GetInt(tag, "speed", &s.nGame1Speed);
    } else if (LxTagStarts(tag, "theraphyGame2")) {
        ok &= xml.GetInt(tag, "game", &s.nGame2Game);
        ok &= xml.GetInt(tag, "time", &s.nGame2Time);
        ok &= xml.GetInt(tag, "level", &s.nGame2Level);
        ok &= ReadList(xml, tag, "positions", s.aGame2Positions, 4);
    } else if (LxTagStarts(tag, "theraphyGame3")) {
        ok &= xml.GetInt(tag, "speed", &s.nGame3Speed);
        ok &= xml.GetInt(tag, "high", &s.nGame3High);
    } else if (LxTagStarts(tag, "theraphyGame5")) {
        ok &= ReadList(xml, tag, "split", s.aGame5Split, 2);
        ok &= xml.GetInt(tag, "time", &s.nGame5Time);
    } else if (LxTagStarts(tag, "theraphyGame6")) {
        ok &= xml.GetInt(tag, "high", &s.nGame6High);
        ok &= ReadList(xml, tag, "norm", s.aGame6Norm, 2);
        ok &= xml.GetInt(tag, "speed", &s.nGame6Speed);
    } else if (LxTagStarts(tag, "sentence") && tag[8] >= '0' && tag[8] <= '5') {
        // The slot keeps room for its terminating 0: at most 511 bytes are taken.
        if (const char* text = xml.GetAttr(tag, "text")) {
            std::string value(text, strnlen(text, kSentenceBytes - 1));
            std::string codes = TextToCodes(value.c_str());
            std::snprintf(g_aUserSentences[tag[8] - '0'], kSentenceBytes, "%s", codes.c_str());
        }
    }
    return ok;
}

} // namespace

void ResetSettings() {
    g_Settings = kDefaults;
    g_Driver.fMinLevel = 0.002f;
    g_Driver.fMaxLevel = 0.75f;
    std::memset(g_aUserSentences, 0, sizeof g_aUserSentences);
    ResetTaskValues();
}

bool LoadSettings(const char* user) {
    std::string path = PathOf(user);
    CLxXMLParser xml;
    bool ok = !path.empty() && xml.Open(path.c_str());
    while (char* tag = xml.NextTag())
        ok &= ReadTag(xml, tag);
    return ok;
}

bool SaveSettings(const char* user) {
    std::string path = PathOf(user);
    CLxSaveFile file(path.c_str());
    if (!file.IsOpen()) return false;
    const LxSettings& s = g_Settings;
    file.Print("<Lexo>\r\n");
    file.Print("<globals volume = \"%d\" min = \"%5.3f\" max = \"%5.3f\"/>\r\n", -1,
               double(g_Driver.fMinLevel), double(g_Driver.fMaxLevel));
    file.Print("<recogniser useminlevel = \"%c\"/>\r\n", s.bUseMinLevel ? 'i' : 'n');
    file.Print("<user icon = \"%d\"/>\r\n", s.nIcon);
    for (int n = 0; n < kUserSentences; ++n)
        if (g_aUserSentences[n][0])
            file.Print("<sentence%d text =\"%s\"/>\r\n", n,
                       CodesToText(g_aUserSentences[n]).c_str());
    file.Print("<theraphyGame1 speed = \"%d\"/>\r\n", s.nGame1Speed);
    file.Print("<theraphyGame2 game = \"%d\" time = \"%d\" level = \"%d\" positions = "
               "\"%d,%d,%d,%d\"/>\r\n",
               s.nGame2Game, s.nGame2Time, s.nGame2Level, s.aGame2Positions[0],
               s.aGame2Positions[1], s.aGame2Positions[2], s.aGame2Positions[3]);
    file.Print("<theraphyGame3 high = \"%d\" speed = \"%d\"/>\r\n", s.nGame3High, s.nGame3Speed);
    file.Print("<theraphyGame5 split = \"%5.3f,%5.3f\" time = \"%d\"/>\r\n",
               double(s.aGame5Split[0]), double(s.aGame5Split[1]), s.nGame5Time);
    file.Print("<theraphyGame6 high = \"%d\" norm = \"%5.3f,%5.3f\" speed = \"%d\"/>\r\n",
               s.nGame6High, double(s.aGame6Norm[0]), double(s.aGame6Norm[1]), s.nGame6Speed);
    file.Print("<theraphy3 group = \"%s\" pictures = \"%d,%d,%d\"/>\r\n", s.szTherapy3Group,
               s.aTherapy3Pictures[0], s.aTherapy3Pictures[1], s.aTherapy3Pictures[2]);
    file.Print("<theraphy4 sentence = \"%d\"/>\r\n", s.nTherapy4Sentence);
    file.Print("</Lexo>");
    return file.Commit();
}
