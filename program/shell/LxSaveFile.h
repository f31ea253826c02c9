// A file the program writes for the user (settings, word list, history pages). The text
// goes to a temporary file beside the target and is renamed into place only when all of
// it was written, so a crash or a full disk never leaves a child's record half written
// or lost. Paths are program paths below the first data root.
#pragma once
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
    void Write(const std::string& text);
    // Lines end as on the program's original platform, so pages stay byte-identical.
    void Line(const std::string& text) { Write(text + "\r\n"); }
    // Closes and renames into place; false when anything failed (the old file stays).
    bool Commit();

  private:
    FILE* m_pFile = nullptr;
    bool m_bFailed = false;
    std::string m_target;
    std::string m_temporary;
};
