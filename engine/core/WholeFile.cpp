// Whole-file writes through a temporary and a rename; see WholeFile.h.
#include "core/WholeFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/File.h"
#include "core/Path.h"
#include "core/Report.h"

namespace talvik {
namespace {
bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool Fail(const char* who, const std::string& path, int error) {
    report("%s: Cannot write %s: %s", who, path.c_str(), std::strerror(error));
    return false;
}
} // namespace

bool WriteWholeFile(const char* who, const std::string& path, const std::string& bytes) {
    if (File::Refused(path)) return false;
    std::string target = OsPath(path, false);
    std::string temporary = target + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) return Fail(who, path, errno);
    // mkstemp makes the file private; the final file is readable by all, as fopen's
    // would be under the usual mask (asking for the mask would change it for a moment).
    bool written = fchmod(fd, 0644) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && written) written = false, error = errno;
    if (written && rename(temporary.c_str(), target.c_str()) == 0) return true;
    if (written) error = errno;
    unlink(temporary.c_str());
    return Fail(who, path, error);
}

} // namespace talvik
