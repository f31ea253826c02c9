// Writing through a temporary file; see LxSaveFile.h.
#include "media/LxSaveFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "core/TextCodec.h"
#include "media/LxFile.h"

void (*g_pfnSaveFailed)(const std::string& text) = nullptr;

namespace {

// Makes a rename inside folder survive a power cut.
void SyncFolder(const std::string& target) {
    size_t slash = target.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

} // namespace

CLxSaveFile::CLxSaveFile(const char* path) {
    if (!path || !*path) return;
    m_path = path;
    m_target = CLxFile::RecordPath(path, false);
    m_temporary = m_target + ".tmp";
    m_pFile = std::fopen(m_temporary.c_str(), "wb");
    if (!m_pFile) Fail(errno);
}

CLxSaveFile::~CLxSaveFile() {
    if (!m_pFile) return;
    std::fclose(m_pFile);
    std::remove(m_temporary.c_str());
}

void CLxSaveFile::Fail(int error) {
    if (m_nError) return;
    m_nError = error ? error : EIO;
    std::string text = "Nem sikerült menteni: " + m_path + " (" + std::strerror(m_nError) + ")";
    std::fprintf(stderr, "%s\n", talvik::Latin2ToUtf8(text).c_str());
    if (g_pfnSaveFailed) g_pfnSaveFailed(text);
}

void CLxSaveFile::Print(const char* format, ...) {
    if (!m_pFile) return;
    va_list args;
    va_start(args, format);
    if (std::vfprintf(m_pFile, format, args) < 0) Fail(errno);
    va_end(args);
}

void CLxSaveFile::Write(const void* bytes, size_t count) {
    if (m_pFile && std::fwrite(bytes, 1, count, m_pFile) != count) Fail(errno);
}

bool CLxSaveFile::Commit() {
    if (!m_pFile) return false;
    if (std::fflush(m_pFile) != 0 || fsync(fileno(m_pFile)) != 0) Fail(errno);
    if (std::fclose(m_pFile) != 0) Fail(errno);
    m_pFile = nullptr;
    if (!m_nError && std::rename(m_temporary.c_str(), m_target.c_str()) != 0) Fail(errno);
    if (m_nError) {
        std::remove(m_temporary.c_str());
        return false;
    }
    SyncFolder(m_target);
    return true;
}
