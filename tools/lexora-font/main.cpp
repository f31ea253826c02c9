// lexora-font FONT.ttf PIXELS FOLDER NAME: writes FOLDER/NAME.fnt and FOLDER/NAME.xml,
// the program's bitmap font of the TrueType face at that pixel height.
#include <cstdio>
#include <cstdlib>

#include "FontWriter.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: lexora-font FONT.ttf PIXELS FOLDER NAME\n");
        return 2;
    }
    LxFontRequest request{argv[1], std::atoi(argv[2]), argv[3], argv[4]};
    int glyphs = 0;
    std::string error;
    if (!WriteFont(request, &glyphs, &error)) {
        std::fprintf(stderr, "lexora-font: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s/%s.xml: %d glyphs\n", request.folder.c_str(), request.name.c_str(), glyphs);
    return 0;
}
