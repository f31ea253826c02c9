#include "shell/LxScreenTable.h"

namespace {
struct Route {
    LxSwitch how;
    LxScreenFactory make;
};
constexpr UINT kFirst = 1024, kLast = 1088;
Route g_routes[kLast - kFirst + 1] = {};
} // namespace

void RegisterScreen(UINT msg, LxSwitch how, LxScreenFactory make) {
    if (msg < kFirst || msg > kLast) return;
    g_routes[msg - kFirst] = Route{how, make};
}

bool FindScreen(UINT msg, LxSwitch* how, LxScreenFactory* make) {
    if (msg < kFirst || msg > kLast || !g_routes[msg - kFirst].make) return false;
    *how = g_routes[msg - kFirst].how;
    *make = g_routes[msg - kFirst].make;
    return true;
}

void ClearScreenTable() {
    for (Route& route : g_routes)
        route = Route{};
}
