// Renders a TrueType font with FreeType into the program's bitmap font files: a base file
// of glyph records (code, row length, tag, width, height, rows bottom first) and a font
// description naming it. Every glyph has the same height (ascender to descender of the
// face at the pixel size, with one baseline), so text drawn from a top-left corner lines
// up; its width is the advance. Codes written: the space, the printable ASCII characters
// except "$" and "@" (the program's accent and tab markers, which must have no glyph),
// and the Hungarian letters 192..255, each drawn from its text form ("cs", "Dzs", "ő"),
// the capitals in capitals (code 213 is "Ő", though its text form is "ő").
// A style turns every glyph into a variant of the same size: mirrored left to right
// (the reading games' back-to-front letters), its outline (a contour for the child to
// colour or trace) or its inline (the band just inside the outline, which drawn with
// it gives a double line).
#pragma once
#include <string>

enum class LxFontStyle { Plain, Mirrored, Outline, Inline };

// The style named on the command line ("plain", "mirrored", "outline", "inline"); false
// for any other name.
bool ParseFontStyle(const std::string& name, LxFontStyle* style);

struct LxFontRequest {
    std::string ttfPath;
    int pixelHeight = 32;
    std::string folder; // where the files go (a slash-separated host path)
    std::string name;   // the description is name.xml, the base file name.fnt
    LxFontStyle style = LxFontStyle::Plain;
};

// Writes both files; false with a message in error when the font cannot be rendered or
// a file cannot be written. glyphs gets the number of records written.
bool WriteFont(const LxFontRequest& request, int* glyphs, std::string* error);
