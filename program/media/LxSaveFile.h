// A file the program writes for the user (settings, word list, history pages,
// recordings). The bytes go to a temporary file beside the target, are flushed to the
// disk, and the file is renamed into place (and the folder flushed) only when all of it
// was written, so a crash, a power cut or a full disk never leaves a child's record half
// written or lost. A save that fails is reported on standard error and to the screen's
// notice, in the user's language. Paths are program paths below the first data root.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

class CLxSaveFile {
  public:
    explicit CLxSaveFile(const char* path);
    CLxSaveFile(const CLxSaveFile&) = delete;
    CLxSaveFile& operator=(const CLxSaveFile&) = delete;
    // Abandons the temporary file when Commit was not reached.
    virtual ~CLxSaveFile();

    bool IsOpen() const { return m_pFile != nullptr; }
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Write(const void* bytes, size_t count);
    void Write(const std::string& text) { Write(text.data(), text.size()); }
    // Lines end as on the program's original platform, so pages stay byte-identical.
    void Line(const std::string& text) { Write(text + "\r\n"); }
    // Flushes, closes and renames into place; false when anything failed (the old file
    // stays, and the failure is reported).
    bool Commit();

  private:
    void Fail(int error);

    FILE* m_pFile = nullptr;
    int m_nError = 0; // the first error met while writing
    std::string m_path;
    std::string m_target;
    std::string m_temporary;
};

// Called with the text of each failed save (Latin-2), after it went to standard error;
// the window shows it to the user. None by default.
extern void (*g_pfnSaveFailed)(const std::string& text);
