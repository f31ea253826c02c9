// Read access to the program's data files. A data file either lies loose below a data
// root or is a member of a zip archive standing in for its folders. For
// "data\fonts\tnr32.rle" the order is: the loose file below the first root, the archives
// data.fonts9.zip .. data.fonts0.zip below the first root, the loose file below the second
// root, then data.fonts.zip below the second root. So whatever lies below the first root
// (the working folder, or an installed program's user folder) overrides the second (an
// installed program's read-only data). Readers see the same open, size, read, skip and
// close in every case. Files the program writes do not go through here.
#pragma once
#include <unzip.h>

#include <cstdio>
#include <string>

class CLxFile {
  public:
    // The two data roots, put in front of relative paths as they are (".\" for the working
    // folder and "data\" for the second; see LxPlaces.h). Copied; set once at start-up.
    static void SetRoots(const char* first, const char* second);

    CLxFile() = default;
    CLxFile(const CLxFile&) = delete;
    CLxFile& operator=(const CLxFile&) = delete;
    virtual ~CLxFile();

    // Opens a data file for reading its bytes unchanged (every caller wants binary; the
    // flag is kept for them). False, silently, when it is neither on disk nor archived.
    bool Open(const char* path, bool binary = true);
    // The length in bytes, or -1 when nothing is open or the length does not fit an int.
    int GetSize();
    // The bytes read into buffer: 0 at the end or when nothing is open, and for an archive
    // member a negative minizip code when inflating fails.
    int Read(void* buffer, int count);
    // Skips as a standard seek does (whence 0, 1, 2). Archive members only skip forward:
    // from the end is taken as from here, and the result is the bytes not skipped.
    // An offset of 0 does nothing, whatever whence says.
    int Seek(int offset, int whence);
    void Close();

    static bool Exists(const char* path);
    // The first data root, where the program also writes its files.
    static const std::string& FirstRoot();
    // The file system's form of a program path below the first data root, where the
    // program writes its records ("save\theraphy\Anna" and the like); when forReading,
    // existing files and folders are found in any letter case.
    static std::string RecordPath(const std::string& path, bool forReading);

  private:
    enum class Lookup { kOpened, kMissing, kFailed };
    Lookup OpenMember(const std::string& archive, const std::string& member);
    int SkipMember(int offset);

    bool m_bOpen = false;
    FILE* m_pFile = nullptr;  // the loose file; null when a member is read
    unzFile m_hZip = nullptr; // the archive whose current member is read
};
