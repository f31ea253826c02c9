// report, report_wide and report_to; see Report.h.
#include "core/Report.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>

#include "Output.h"
#include "core/Root.h"

static Output* LogOutput() {
    Interface* log = ThreadContext()->Find("log", 3);
    return QueryInterface<Output>(log, "Output");
}

void report(const char* format, ...) {
    char text[kMaxMessage];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Output* out = LogOutput();
    if (!out) return;
    out->WriteLine(text);
    out->Release();
}

void report_wide(const wchar_t* format, ...) {
    wchar_t text[kMaxMessage] = {0};
    va_list args;
    va_start(args, format);
    if (std::vswprintf(text, kMaxMessage, format, args) < 0) text[kMaxMessage - 1] = 0;
    va_end(args);
    Output* out = LogOutput();
    if (!out) return;
    out->WriteLineWide(text);
    out->Release();
}

void report_to(const char* path, const char* format, ...) {
    char text[kMaxMessage];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Interface* target = RootFolder()->Run(path, RootFolder());
    Output* out = QueryInterface<Output>(target, "Output");
    if (!out) return;
    out->WriteLine(text);
    out->Release();
}
