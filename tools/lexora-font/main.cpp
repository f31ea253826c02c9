// lexora-font FONT.ttf PIXELS FOLDER NAME [STYLE]: writes FOLDER/NAME.fnt and
// FOLDER/NAME.xml, the program's bitmap font of the TrueType face at that pixel height,
// plain or in a style (mirrored, outline, inline).
#include <cstdio>
#include <cstdlib>

#include "FontWriter.h"

int main(int argc, char** argv) {
    LxFontRequest request;
    if ((argc != 5 && argc != 6) || (argc == 6 && !ParseFontStyle(argv[5], &request.style))) {
        std::fprintf(stderr, "usage: lexora-font FONT.ttf PIXELS FOLDER NAME "
                             "[plain|mirrored|outline|inline]\n");
        return 2;
    }
    request.ttfPath = argv[1];
    request.pixelHeight = std::atoi(argv[2]);
    request.folder = argv[3];
    request.name = argv[4];
    int glyphs = 0;
    std::string error;
    if (!WriteFont(request, &glyphs, &error)) {
        std::fprintf(stderr, "lexora-font: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s/%s.xml: %d glyphs\n", request.folder.c_str(), request.name.c_str(), glyphs);
    return 0;
}
