// The network-session mark of a thread; see NetworkSession.h.
#include "core/NetworkSession.h"

namespace {
thread_local bool t_session = false;
}

bool InNetworkSession() {
    return t_session;
}

NetworkSessionScope::NetworkSessionScope(bool session) : previous_(t_session) {
    t_session = session;
}

NetworkSessionScope::~NetworkSessionScope() {
    t_session = previous_;
}

bool PathLeavesWorkingFolder(std::string_view path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\' || path[0] == '~')) return true;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find_first_of("/\\", start);
        if (end == std::string_view::npos) end = path.size();
        if (path.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}
