// What a script arriving over the network may do. A connection's thread, and any
// thread running a script on its behalf, is marked as a network session: its paths
// stay inside the engine's working folder (no absolute paths, no ".."), and it cannot
// type into the focused window. Local scripts (the console, the host, files) are not
// marked and keep every path.
#pragma once
#include <string_view>

// Whether the calling thread runs a network session's script.
bool InNetworkSession();

// Marks the calling thread as a network session (or not) for its lifetime, restoring
// the previous mark afterwards.
class NetworkSessionScope {
  public:
    explicit NetworkSessionScope(bool session = true);
    ~NetworkSessionScope();
    NetworkSessionScope(const NetworkSessionScope&) = delete;
    NetworkSessionScope& operator=(const NetworkSessionScope&) = delete;

  private:
    bool previous_;
};

// Whether an engine path (backslashes or slashes) leaves the working folder: it is
// absolute or has a ".." component.
bool PathLeavesWorkingFolder(std::string_view path);
