// Writing a whole file so that it is either all there or not changed at all: the
// bytes go to a temporary file beside the target, which is renamed over it only
// after every byte reached the disk. A failed write (missing folder, full disk,
// no permission) reports and leaves whatever had the final name before.
#pragma once
#include <string>

namespace talvik {

// Writes bytes to the engine path (see Path.h), replacing the file there. On failure
// reports "who: Cannot write path: reason" and returns false.
bool WriteWholeFile(const char* who, const std::string& path, const std::string& bytes);

} // namespace talvik
