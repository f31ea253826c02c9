// A child's progress page ("haladas.html" beside the history page): the levels of the
// practised sounds over the therapy days as an inline SVG chart, one line per sound with
// the days it was practised marked, dates along the axis, then the days with their
// recordings as links that play them. UTF-8 with its character set declared, in
// Hungarian, and laid out to print on A4. The history page keeps its own form, since
// the program reads it back; this page is only written, each time the history is.
#pragma once
#include <string>

class CLxTHistory;

// The page's text for the child's history (recordings looked up on disk).
std::string MakeProgressPage(const CLxTHistory& history, const char* user);
// Writes it through a temporary file; false when it could not be written.
bool SaveProgressPage(const CLxTHistory& history, const char* user);
