// Data files loose or in zip archives; see LxFile.h. Archives are opened, searched and
// closed on every Open; nothing is cached, so a changed archive is seen at once.
// Everything read from an archive is treated as untrusted: sizes are checked before they
// become ints, and a member is located by minizip's own bounded name search.
#include "media/LxFile.h"

#include <sys/stat.h>

#include <climits>
#include <cstring>

#include "core/Path.h"
#include "core/TextCodec.h"

namespace {

std::string g_firstRoot = ".\\";
std::string g_secondRoot = "data\\";

// Data files are regular files (a FIFO or a device in place of one would block or never
// end) below the size an int can count.
FILE* OpenLoose(const std::string& path) {
    return talvik::OpenRegularFile(talvik::OsPath(path, true), INT_MAX);
}

// Member names are stored either in the program's Latin-2 or in UTF-8; try both forms.
bool LocateMember(unzFile zip, const std::string& member) {
    if (unzLocateFile(zip, member.c_str(), 2) == UNZ_OK) return true;
    std::string utf8 = talvik::Latin2ToUtf8(member);
    return utf8 != member && unzLocateFile(zip, utf8.c_str(), 2) == UNZ_OK;
}

} // namespace

const std::string& CLxFile::FirstRoot() {
    return g_firstRoot;
}

std::string CLxFile::RecordPath(const std::string& path, bool forReading) {
    std::string full = g_firstRoot;
    if (!full.empty() && full.back() != '\\' && full.back() != '/') full += '\\';
    return talvik::OsPath(full + path, forReading);
}

void CLxFile::SetRoots(const char* first, const char* second) {
    g_firstRoot = first ? first : "";
    g_secondRoot = second ? second : "";
}

CLxFile::~CLxFile() {
    Close();
}

void CLxFile::Close() {
    if (m_pFile) std::fclose(m_pFile);
    if (m_hZip) {
        unzCloseCurrentFile(m_hZip);
        unzClose(m_hZip);
    }
    m_pFile = nullptr;
    m_hZip = nullptr;
    m_bOpen = false;
}

bool CLxFile::Exists(const char* path) {
    CLxFile file;
    return file.Open(path, true);
}

CLxFile::Lookup CLxFile::OpenMember(const std::string& archive, const std::string& member) {
    std::string path = talvik::OsPath(archive, true);
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return Lookup::kMissing;
    unzFile zip = unzOpen(path.c_str());
    if (!zip) return Lookup::kMissing;
    if (!LocateMember(zip, member)) {
        unzClose(zip);
        return Lookup::kMissing;
    }
    if (unzOpenCurrentFile(zip) != UNZ_OK) {
        unzClose(zip);
        return Lookup::kFailed;
    }
    m_hZip = zip;
    m_bOpen = true;
    return Lookup::kOpened;
}

bool CLxFile::Open(const char* path, bool binary) {
    if (!path) return false;
    Close();
    std::string relative = path;
    for (char& c : relative)
        if (c == '/') c = '\\';

    m_pFile = OpenLoose(g_firstRoot + relative);
    if (m_pFile) {
        m_bOpen = true;
        return true;
    }

    // The archive is named after up to two leading folders, the member is the rest.
    std::string archive, member = relative;
    size_t first = relative.find('\\');
    if (first != std::string::npos) {
        size_t second = relative.find('\\', first + 1);
        if (second != std::string::npos) {
            archive =
                relative.substr(0, first) + "." + relative.substr(first + 1, second - first - 1);
            member = relative.substr(second + 1);
        } else {
            archive = relative.substr(0, first);
            member = relative.substr(first + 1);
        }
    }
    for (char& c : member)
        if (c == '\\') c = '/';

    // A higher number overrides a lower one.
    for (char digit = '9'; digit >= '0'; --digit) {
        Lookup found = OpenMember(g_firstRoot + archive + digit + ".zip", member);
        if (found != Lookup::kMissing) return found == Lookup::kOpened;
    }
    m_pFile = OpenLoose(g_secondRoot + relative);
    if (m_pFile) {
        m_bOpen = true;
        return true;
    }
    return OpenMember(g_secondRoot + archive + ".zip", member) == Lookup::kOpened;
}

int CLxFile::GetSize() {
    if (!m_bOpen) return -1;
    if (m_pFile) {
        long here = std::ftell(m_pFile);
        if (here < 0 || std::fseek(m_pFile, 0, SEEK_END) != 0) return -1;
        long size = std::ftell(m_pFile);
        std::fseek(m_pFile, here, SEEK_SET);
        return size < 0 || size > INT_MAX ? -1 : static_cast<int>(size);
    }
    unz_file_info info;
    if (unzGetCurrentFileInfo(m_hZip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return -1;
    return info.uncompressed_size > INT_MAX ? -1 : static_cast<int>(info.uncompressed_size);
}

int CLxFile::Read(void* buffer, int count) {
    if (!m_bOpen || !buffer || count <= 0) return 0;
    if (m_pFile)
        return static_cast<int>(std::fread(buffer, 1, static_cast<size_t>(count), m_pFile));
    return unzReadCurrentFile(m_hZip, buffer, static_cast<unsigned>(count));
}

int CLxFile::Seek(int offset, int whence) {
    if (!m_bOpen || offset == 0) return 0;
    if (m_pFile) return std::fseek(m_pFile, offset, whence);
    if (whence == SEEK_END) {
        std::printf("SEEK_END not supported in zip file!\n");
        std::fflush(stdout);
    } else if (whence == SEEK_SET) {
        unzCloseCurrentFile(m_hZip);
        if (unzOpenCurrentFile(m_hZip) != UNZ_OK) return offset;
    } else if (whence != SEEK_CUR) {
        return offset;
    }
    return SkipMember(offset);
}

// Reads and discards up to offset bytes of the current member; the bytes left over.
int CLxFile::SkipMember(int offset) {
    char discard[8192];
    while (offset > 0) {
        int step = offset < static_cast<int>(sizeof discard) ? offset : sizeof discard;
        int got = unzReadCurrentFile(m_hZip, discard, static_cast<unsigned>(step));
        if (got <= 0) break;
        offset -= got;
    }
    return offset;
}
