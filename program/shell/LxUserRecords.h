// The current child and therapy day, the task marks of that day, and where a child's
// files lie: "save\theraphy\<name>\" with settings.xml, history.html and one folder per
// therapy day. Names are typed by people, so they pass through SafeFileName before they
// become part of a path and can never reach outside the save folder.
#pragma once
#include <string>

constexpr int kTaskValues = 20;
constexpr int kTaskNotPractised = int(0x80000000u); // top bit of a task value
constexpr int kTaskValueMask = 0xFFF;               // the value a history shows

extern char g_szUserName[32];    // letter codes; empty while no child is chosen
extern char g_szTherapyDate[16]; // "%04d.%02d.%02d"
extern int g_aTaskValues[kTaskValues];

// Entry 0 (the "min" column) = 30, the letters not practised with the value 70.
void ResetTaskValues();

// A typed name as one file-name part: "\", "/" and ":" become "_"; a name that is ".."
// is refused (empty result). Other names are unchanged.
std::string SafeFileName(const std::string& name);

// "save\theraphy\" and the doubled form of user (letter codes), then by selector: -2
// nothing, -1 "\history.html", 0 "\settings.xml", else the day folder of the date
// yyyymmdd with a trailing backslash. out holds at least 256 bytes; it is left empty
// when the name is refused.
char* MakeUserPath(char* out, const char* user, int selector);

// Reads a record file whole through the data-file layer; false when it cannot be read.
bool ReadRecordFile(const char* path, std::string* text);
