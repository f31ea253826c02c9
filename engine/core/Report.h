// The engine's message output: a line to the Output named "log" as found from the
// calling thread's context folder. Without a "log" the message is dropped.
#pragma once
#include "Interface.h"

enum : int { kMaxMessage = 4096 };

void report(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Wide formats follow the C library: %ls for wide strings, %s for narrow ones.
void report_wide(const wchar_t* format, ...);
// Writes the line to the Output of the object that the script path names, from the root.
void report_to(const char* path, const char* format, ...) __attribute__((format(printf, 2, 3)));
