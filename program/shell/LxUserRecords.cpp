// The current child's state and paths; see LxUserRecords.h.
#include "shell/LxUserRecords.h"

#include <cstdio>

#include "media/LxFile.h"
#include "reading/LxLetters.h"

char g_szUserName[32] = {};
char g_szTherapyDate[16] = {};
int g_aTaskValues[kTaskValues] = {};

void ResetTaskValues() {
    g_aTaskValues[0] = 30;
    for (int i = 1; i < kTaskValues; ++i)
        g_aTaskValues[i] = kTaskNotPractised | 70;
}

std::string SafeFileName(const std::string& name) {
    if (name == "..") return "";
    std::string safe = name;
    for (char& c : safe)
        if (c == '\\' || c == '/' || c == ':') c = '_';
    return safe;
}

char* MakeUserPath(char* out, const char* user, int selector) {
    out[0] = 0;
    std::string name = SafeFileName(ToDoubledText(user));
    if (name.empty() && user && *user) return out;
    std::string path = "save\\theraphy\\" + name;
    char tail[32] = "";
    if (selector == -1)
        std::snprintf(tail, sizeof tail, "\\history.html");
    else if (selector == 0)
        std::snprintf(tail, sizeof tail, "\\settings.xml");
    else if (selector != -2)
        std::snprintf(tail, sizeof tail, "\\%04d.%02d.%02d\\", selector / 10000,
                      selector / 100 % 100, selector % 100);
    path += tail;
    if (path.size() >= 256) return out;
    std::snprintf(out, 256, "%s", path.c_str());
    return out;
}

bool ReadRecordFile(const char* path, std::string* text) {
    CLxFile file;
    if (!file.Open(path, true)) return false;
    int size = file.GetSize();
    if (size < 0) return false;
    text->assign(size_t(size), 0);
    int got = size ? file.Read(text->data(), size) : 0;
    text->resize(size_t(got > 0 ? got : 0));
    return true;
}
