// Where lexora reads its data and keeps what it writes, decided once, at start, before
// the engine is loaded (the engine mounts the working folder as it loads).
//
// From a build tree (tools/run, the tests) lexora works in the folder it was started in,
// which holds both the data ("data\...") and what the program writes ("save\...",
// "srceenshoots\..."): the data roots are ".\" and "data\" as ever.
//
// Installed, the executable lies in <prefix>/bin and the data in <prefix>/share/lexora.
// lexora then works in that read-only data folder, the second data root, and writes into
// the user's data folder ($XDG_DATA_HOME/lexora, else ~/.local/share/lexora), the first
// data root, which it makes on its first start. That first start also looks for records
// an older lexora left (in the folder it was started in, and in the default data folder
// when XDG_DATA_HOME points elsewhere), copies them in and says where they were; the
// older records are never moved or deleted.
#pragma once
#include <string>
#include <vector>

struct LxPlaces {
    bool installed = false;
    std::string dataFolder;                // OS path of the installed data, where lexora works
    std::string userFolder;                // OS path of the user's data folder, where lexora writes
    std::vector<std::string> olderFolders; // OS paths that may hold an older "save"
    std::string homeFolder;                // OS path of HOME, "" when unset
    std::vector<std::string> copiedFrom;   // the older "save" folders EnterPlaces copied

    // The data roots for CLxFile::SetRoots, in the program's path form.
    std::string FirstRoot() const;
    std::string SecondRoot() const;
};

// The places lexora found at start; a build tree's until EnterPlaces says otherwise.
extern LxPlaces g_Places;

// The places of an executable in executableFolder started in startFolder, with the
// environment's XDG_DATA_HOME and HOME (null when unset). dataFromBin is where the
// installed data lies relative to the executable's folder ("../share/lexora").
LxPlaces FindPlaces(const std::string& executableFolder, const std::string& dataFromBin,
                    const std::string& startFolder, const char* xdgDataHome, const char* home);
// The places of this process, from its executable and environment.
LxPlaces FindOwnPlaces();

// Makes places the process's: for an installed program creates the user's folders,
// copies older records on the first start and changes into the data folder. said gets
// what the user should be told (where the copied records came from), or, when it
// returns false, why lexora cannot work there; in the program's text (Latin-2).
bool EnterPlaces(const LxPlaces& places, std::string* said);

// A line for the screen's notice when EnterPlaces copied older records: where from, with
// the home folder written "~" to keep it short; "" otherwise. Latin-2.
std::string CopiedRecordsNotice();
