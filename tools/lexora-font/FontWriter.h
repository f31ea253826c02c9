// Renders a TrueType font with FreeType into the program's bitmap font files: a base file
// of glyph records (code, row length, tag, width, height, rows bottom first) and a font
// description naming it. Every glyph has the same height (ascender to descender of the
// face at the pixel size, with one baseline), so text drawn from a top-left corner lines
// up; its width is the advance. Codes written: the space, the printable ASCII characters
// except "$" and "@" (the program's accent and tab markers, which must have no glyph),
// and the Hungarian letters 192..255, each drawn from its text form ("cs", "Dzs", "ő"),
// the capitals in capitals (code 213 is "Ő", though its text form is "ő").
#pragma once
#include <string>

struct LxFontRequest {
    std::string ttfPath;
    int pixelHeight = 32;
    std::string folder; // where the files go (a slash-separated host path)
    std::string name;   // the description is name.xml, the base file name.fnt
};

// Writes both files; false with a message in error when the font cannot be rendered or
// a file cannot be written. glyphs gets the number of records written.
bool WriteFont(const LxFontRequest& request, int* glyphs, std::string* error);
