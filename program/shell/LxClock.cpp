#include "shell/LxClock.h"

#include <time.h>

static int (*g_pfnClock)() = nullptr;
static int (*g_pfnToday)() = nullptr;

static int MonotonicClock() {
    static long long start = -1;
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    long long ms = now.tv_sec * 1000LL + now.tv_nsec / 1000000;
    if (start < 0) start = ms;
    return static_cast<int>(ms - start);
}

int LxClock() {
    return g_pfnClock ? g_pfnClock() : MonotonicClock();
}

void LxSetClock(int (*clock)()) {
    g_pfnClock = clock;
}

static int LocalDate() {
    time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

int LxToday() {
    return g_pfnToday ? g_pfnToday() : LocalDate();
}

void LxSetToday(int (*today)()) {
    g_pfnToday = today;
}
