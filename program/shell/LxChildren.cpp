// The children's folders; see LxChildren.h.
#include "shell/LxChildren.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/Path.h"
#include "media/LxFile.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"
#include "shell/LxProgressPage.h"
#include "shell/LxSettings.h"
#include "shell/LxTHistory.h"
#include "shell/LxUserRecords.h"
#include "shell/LxXMLParser.h"

namespace {

const char* const kTherapyFolder = "save\\theraphy";

// The child folders' names as the program writes them (Latin-2, doubled), sorted.
std::vector<std::string> ChildFolders() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(RecordOsPath(kTherapyFolder), error))
        if (entry.is_directory(error))
            names.push_back(talvik::EnginePath(entry.path().filename().string()));
    std::sort(names.begin(), names.end());
    return names;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (ToLower(static_cast<unsigned char>(a[i])) != ToLower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The picture number a child's settings file names; -1 when it cannot be read.
int SettingsIcon(const char* codes) {
    char path[256];
    CLxXMLParser xml;
    if (!*MakeUserPath(path, codes, 0) || !xml.Open(path)) return -1;
    int icon = 0;
    while (char* tag = xml.NextTag())
        if (std::strncmp(tag, "user", 4) == 0) xml.GetInt(tag, "icon", &icon);
    return icon;
}

bool UsableName(const char* codes) {
    if (!codes || !*codes) return false;
    std::string part = SafeFileName(ToDoubledText(codes));
    return !part.empty() && part != "." && std::strlen(codes) < sizeof g_szUserName;
}

void SetUserName(const char* codes) {
    std::snprintf(g_szUserName, sizeof g_szUserName, "%s", codes);
}

} // namespace

std::vector<LxChild> ScanChildren() {
    std::vector<LxChild> children;
    size_t pool = 0;
    for (const std::string& folder : ChildFolders()) {
        if (folder == "." || folder == "..") continue;
        std::string codes = DoubledTextToCodes(folder.c_str());
        if (codes.size() >= sizeof g_szUserName) continue;
        int icon = SettingsIcon(codes.c_str());
        if (icon < 0) continue;
        if (pool + folder.size() * 2 + 1 >= kChildNamePool || children.size() >= kMaxChildren)
            break;
        pool += codes.size() + 1;
        children.push_back({codes, icon});
    }
    return children;
}

std::string FindChild(const char* codes) {
    if (!codes) return "";
    for (const std::string& folder : ChildFolders()) {
        std::string name = DoubledTextToCodes(folder.c_str());
        if (SameIgnoringCase(name, codes)) return name;
    }
    return "";
}

void ChooseChild(const char* codes) {
    SetUserName(codes);
    char path[256];
    if (!g_pHistory || !g_pHistory->Load(MakeUserPath(path, g_szUserName, -1))) {
        delete g_pHistory;
        g_pHistory = new CLxTHistory(g_szUserName);
    }
    LoadSettings(g_szUserName);
}

LxChildMade CreateChild(const char* codes) {
    if (!UsableName(codes)) return LxChildMade::Refused;
    std::string existing = FindChild(codes);
    if (!existing.empty()) {
        ChooseChild(existing.c_str());
        return LxChildMade::Existing;
    }
    char path[256];
    std::error_code error;
    std::filesystem::create_directories(RecordOsPath(MakeUserPath(path, codes, -2)), error);
    if (error) return LxChildMade::Refused;
    SetUserName(codes);
    g_Settings.nIcon = 0;
    SaveSettings(g_szUserName);
    delete g_pHistory;
    g_pHistory = new CLxTHistory(g_szUserName);
    SaveTherapyDay();
    return LxChildMade::Created;
}

const char* MonthName(int month) {
    static const char* const kMonths[12] = {"január",     "február", "március",  "április",
                                            "május",      "június",  "július",   "augusztus",
                                            "szeptember", "október", "november", "december"};
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "?";
}

std::string RecordOsPath(const std::string& path) {
    return CLxFile::RecordPath(path, true);
}

int TodayDate() {
    int year = 0, month = 0, day = 0;
    if (std::sscanf(g_szToday, "%d.%d.%d", &year, &month, &day) == 3)
        return year * 10000 + month * 100 + day;
    return LxToday(); // before start-up has fixed the day
}

bool SaveTherapyDay() {
    if (!g_pHistory || !g_szUserName[0]) return false;
    g_pHistory->AddEntry(TodayDate(), g_aTaskValues,
                         reinterpret_cast<const char*>(g_Driver.aScreenLetters));
    char path[256];
    bool saved = g_pHistory->Save(MakeUserPath(path, g_szUserName, -1)) &&
                 SaveProgressPage(*g_pHistory, g_szUserName);
    return SaveSettings(g_szUserName) && saved;
}
