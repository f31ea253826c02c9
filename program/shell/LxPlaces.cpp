// Where lexora works; see LxPlaces.h. The installed data is told from a build tree by
// the one thing a build tree lacks: a "data" folder at the installed place relative to
// the executable. The user's folder and the older places are OS paths (UTF-8); they
// become data roots only when the program's Latin-2 paths can name them.
#include "shell/LxPlaces.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "EngineLoader.h"
#include "core/Path.h"
#include "core/TextCodec.h"

namespace fs = std::filesystem;

LxPlaces g_Places;

namespace {

// The folders an installed lexora writes into, below the user's folder.
const char* const kUserFolders[] = {"save/theraphy", "save/speech", "srceenshoots"};
const char kRecords[] = "save";
// What tells an older place that holds a therapist's records.
const char kOlderRecords[] = "save/theraphy";

const char kNoHome[] = "Nem tudom, hová kerüljenek a gyerekek adatai: sem az XDG_DATA_HOME, "
                       "sem a HOME nincs megadva.";
const char kUnnamable[] = "Ezt a mappát a program nem tudja megnevezni: ";
const char kCannotMake[] = "Nem hozható létre az adatmappa: ";
const char kNoData[] = "Nem érhető el a program adatmappája: ";
const char kCopied[] = "A korábbi adatokat innen átmásoltam: ";
const char kCopyFailed[] = "A korábbi adatok másolása nem sikerült innen: ";
const char kCopiedTo[] = " ide: ";
const char kOriginalsKept[] = ". Az eredetiek a helyükön maradtak.";
const char kCopiedNotice[] = "Korábbi adatok átmásolva innen: ";

std::string Said(const std::string& utf8) {
    return talvik::Utf8ToLatin2(utf8);
}

// Whether a Latin-2 path of the program can name the OS path exactly.
bool Nameable(const std::string& osPath) {
    return talvik::Latin2ToUtf8(talvik::Utf8ToLatin2(osPath)) == osPath;
}

std::string ProgramPath(const std::string& osFolder) {
    return talvik::EnginePath(osFolder) + "\\";
}

// Folders without "." and ".." parts and without a trailing slash, so that two names of
// one folder compare equal.
std::string Tidy(const std::string& folder) {
    std::error_code error;
    fs::path tidy = fs::weakly_canonical(fs::absolute(folder, error), error);
    if (error) tidy = fs::path(folder).lexically_normal();
    std::string text = tidy.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

// Copies the "save" folder of every older place that holds records, the first place's
// file where two have one; what to say about them.
std::string CopyOlderRecords(LxPlaces* places) {
    std::string said;
    for (const std::string& older : places->olderFolders) {
        std::error_code error;
        if (!fs::is_directory(fs::path(older) / kOlderRecords, error)) continue;
        // A "save" that is a link is copied from where it leads; links inside it are
        // copied as links, so that a loop of them cannot run the copy away.
        fs::path from = fs::canonical(fs::path(older) / kRecords, error);
        fs::path to = fs::path(places->userFolder) / kRecords;
        if (!error)
            fs::copy(from, to,
                     fs::copy_options::recursive | fs::copy_options::skip_existing |
                         fs::copy_options::copy_symlinks,
                     error);
        if (error) from = fs::path(older) / kRecords;
        std::string where = Said(from.string()) + kCopiedTo + Said(to.string());
        if (!said.empty()) said += ' ';
        places->copiedFrom.push_back(from.string());
        if (error)
            said += kCopyFailed + where + " (" + Said(error.message()) + ")" + kOriginalsKept;
        else
            said += kCopied + where + kOriginalsKept;
    }
    return said;
}

} // namespace

std::string LxPlaces::FirstRoot() const {
    return installed ? ProgramPath(userFolder) : ".\\";
}

std::string LxPlaces::SecondRoot() const {
    return installed ? ProgramPath(dataFolder) : "data\\";
}

LxPlaces FindPlaces(const std::string& executableFolder, const std::string& dataFromBin,
                    const std::string& startFolder, const char* xdgDataHome, const char* home) {
    LxPlaces places;
    std::string data = executableFolder + "/" + dataFromBin;
    std::error_code error;
    if (!fs::is_directory(fs::path(data) / "data", error)) return places;
    places.installed = true;
    places.dataFolder = Tidy(data);

    places.homeFolder = home && *home ? Tidy(home) : "";
    std::string defaultHome = home && *home ? places.homeFolder + "/.local/share" : "";
    // A relative XDG_DATA_HOME would depend on the folder lexora was started in, so
    // records could scatter between starts: it is ignored, as desktops ignore it.
    std::string dataHome = xdgDataHome && xdgDataHome[0] == '/' ? Tidy(xdgDataHome) : defaultHome;
    if (dataHome.empty()) return places;
    places.userFolder = dataHome + "/lexora";

    std::string started = Tidy(startFolder);
    if (started != places.dataFolder && started != places.userFolder)
        places.olderFolders.push_back(started);
    if (!defaultHome.empty() && defaultHome != dataHome)
        places.olderFolders.push_back(defaultHome + "/lexora");
    return places;
}

LxPlaces FindOwnPlaces() {
    std::error_code error;
    std::string started = fs::current_path(error).string();
    return FindPlaces(talvik::ExecutableFolder(), LEXORA_DATA_FROM_BIN, started,
                      std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

bool EnterPlaces(const LxPlaces& places, std::string* said) {
    said->clear();
    if (!places.installed) {
        g_Places = places;
        return true;
    }
    if (places.userFolder.empty()) {
        *said = kNoHome;
        return false;
    }
    for (const std::string* folder : {&places.userFolder, &places.dataFolder}) {
        if (Nameable(*folder)) continue;
        *said = kUnnamable + Said(*folder);
        return false;
    }

    std::error_code error;
    bool firstStart = !fs::exists(places.userFolder, error);
    for (const char* folder : kUserFolders) {
        fs::create_directories(fs::path(places.userFolder) / folder, error);
        if (!error) continue;
        *said = kCannotMake + Said(places.userFolder) + " (" + Said(error.message()) + ")";
        return false;
    }
    LxPlaces entered = places;
    if (firstStart) *said = CopyOlderRecords(&entered);

    if (chdir(places.dataFolder.c_str()) != 0) {
        *said = kNoData + Said(places.dataFolder);
        return false;
    }
    g_Places = entered;
    return true;
}

std::string CopiedRecordsNotice() {
    std::string notice;
    const std::string& home = g_Places.homeFolder;
    for (const std::string& from : g_Places.copiedFrom) {
        bool inHome = !home.empty() && from.compare(0, home.size() + 1, home + "/") == 0;
        notice += notice.empty() ? kCopiedNotice : ", ";
        notice += Said(inHome ? "~" + from.substr(home.size()) : from);
    }
    return notice;
}
