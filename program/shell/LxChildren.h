// The children a therapist keeps records of: every folder under "save\theraphy" that
// holds a readable settings file is a child, named by its folder (letter codes, with
// "öö" and "üü" back to "ő" and "ű"). Creating a child whose folder already exists, in
// any letter case, selects that child instead: its settings and history are never
// overwritten. Choosing a child loads its history and settings; a history that cannot
// be read gives a fresh one, so another child's days never show or get saved here.
#pragma once
#include <string>
#include <vector>

constexpr int kMaxChildren = 512;
constexpr int kChildNamePool = 16384; // bytes of names a listing holds at most

struct LxChild {
    std::string name; // letter codes
    int icon;         // the child's picture number
};

// The children in folder order (byte order of the names), at most kMaxChildren.
std::vector<LxChild> ScanChildren();
// The codes of the existing child whose name equals codes ignoring letter case; empty
// when there is none.
std::string FindChild(const char* codes);

enum class LxChildMade { Created, Existing, Refused };
// Makes codes the current child. A new one gets its folder, the current settings with
// picture 0, and a history whose first entry is today's; an existing one (any case) is
// only chosen. Refused, changing nothing, for an empty name or one that would leave
// the save folder.
LxChildMade CreateChild(const char* codes);
// g_szUserName = codes (at most 31 bytes), its history and settings loaded.
void ChooseChild(const char* codes);

// The file system's form of a program path below the first data root, where the
// program writes ("save\theraphy\Anna" and the like); existing folders are found in
// any letter case.
std::string RecordOsPath(const std::string& path);

// The Hungarian name of month 1 to 12; "?" for any other number (a hand-edited page).
const char* MonthName(int month);

// Today as yyyymmdd: the program's date of today (g_szToday, fixed at start-up), so
// the history and the day folders agree after midnight.
int TodayDate();
// Adds or replaces today's entry with the task values and the day's letters, writes the
// history page and the progress page beside it (LxProgressPage.h) and the child's
// settings. False without a child
// or when a file could not be written.
bool SaveTherapyDay();
