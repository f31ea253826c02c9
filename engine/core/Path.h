// The one place where engine paths become OS paths and back. Engine paths are written
// Windows-style: relative to the working folder, with backslashes, in ISO 8859-2, and
// with letter case that need not match the files on disk.
#pragma once
#include <cstdio>
#include <string>
#include <string_view>

namespace talvik {

// The UTF-8, slash-separated form of an engine path; repeated separators collapse and
// the empty path is ".". When forReading and that exact file is missing, each component
// in turn is looked up in its directory ignoring case (ASCII and Latin-2 letters); the
// exact name wins, then the first matching entry in byte order. From the first
// component without a match on, the rest is kept as given. In a network session a path
// that leaves the working folder (absolute, or with "..") gives "", which opens nothing.
std::string OsPath(std::string_view path, bool forReading);

// The engine form of a name the OS reports: UTF-8 becomes Latin-2 ('?' for what Latin-2
// cannot hold) and slashes become backslashes.
std::string EnginePath(std::string_view osName);

// Opens an OS path for reading in binary mode when it is a regular file of at most
// maxBytes, without blocking on a FIFO in its place. Otherwise null, with errno telling
// why: the open's own error, EISDIR for a folder, EINVAL for a device, FIFO or socket,
// EFBIG for a file over the limit.
FILE* OpenRegularFile(const std::string& osPath, long long maxBytes);
// The whole of such a file into text; false (text unchanged) when it cannot be opened so.
bool ReadRegularFile(const std::string& osPath, long long maxBytes, std::string* text);
// The largest data file (sound, network, table) the engine reads.
constexpr long long kMaxDataFile = 1LL << 30;

// The folder of a path with its last separator (backslash or slash): "data\fonts\" of
// "data\fonts\tnr.xml"; "" for a bare name.
std::string FolderOf(std::string_view path);
// The path with the extension of its last component, from that component's first dot,
// replaced by extension (which brings its own dot, or whatever else should follow the
// stem); a name without a dot just gains it.
std::string ReplaceExtension(std::string_view path, std::string_view extension);

} // namespace talvik
