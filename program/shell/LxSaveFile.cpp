// Writing through a temporary file; see LxSaveFile.h.
#include "shell/LxSaveFile.h"

#include <cstdarg>

#include "core/Path.h"
#include "media/LxFile.h"

CLxSaveFile::CLxSaveFile(const char* path) {
    if (!path || !*path) return;
    std::string full = CLxFile::FirstRoot();
    if (!full.empty() && full.back() != '\\' && full.back() != '/') full += '\\';
    m_target = talvik::OsPath(full + path, false);
    m_temporary = m_target + ".tmp";
    m_pFile = std::fopen(m_temporary.c_str(), "wb");
}

CLxSaveFile::~CLxSaveFile() {
    if (!m_pFile) return;
    std::fclose(m_pFile);
    std::remove(m_temporary.c_str());
}

void CLxSaveFile::Print(const char* format, ...) {
    if (!m_pFile) return;
    va_list args;
    va_start(args, format);
    if (std::vfprintf(m_pFile, format, args) < 0) m_bFailed = true;
    va_end(args);
}

void CLxSaveFile::Write(const std::string& text) {
    if (m_pFile && std::fwrite(text.data(), 1, text.size(), m_pFile) != text.size())
        m_bFailed = true;
}

bool CLxSaveFile::Commit() {
    if (!m_pFile) return false;
    bool ok = std::fflush(m_pFile) == 0 && !m_bFailed;
    ok = std::fclose(m_pFile) == 0 && ok;
    m_pFile = nullptr;
    if (ok) ok = std::rename(m_temporary.c_str(), m_target.c_str()) == 0;
    if (!ok) std::remove(m_temporary.c_str());
    return ok;
}
