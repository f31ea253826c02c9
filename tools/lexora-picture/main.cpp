// lexora-picture [--threshold N] [--alpha N] IN.png|IN.bmp OUT.rle|OUT.mlr: converts a
// picture into a mask or a multi-layer picture, chosen by the output's extension.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PictureWriter.h"

int main(int argc, char** argv) {
    int threshold = 128;
    bool alphaMode = false;
    int i = 1;
    for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
        alphaMode = std::strcmp(argv[i], "--alpha") == 0;
        threshold = std::atoi(argv[i + 1]);
    }
    if (argc - i != 2) {
        std::fprintf(stderr, "usage: lexora-picture [--threshold N | --alpha N] IN OUT.rle|.mlr\n");
        return 2;
    }
    std::string in = argv[i], out = argv[i + 1];
    LxImage image;
    std::string error;
    if (!ReadImage(in, &image, &error)) {
        std::fprintf(stderr, "lexora-picture: %s\n", error.c_str());
        return 1;
    }
    bool layers = out.size() > 4 && out.compare(out.size() - 4, 4, ".mlr") == 0;
    if (!SaveBytes(out, layers ? EncodeLayers(image) : EncodeMask(image, threshold, alphaMode))) {
        std::fprintf(stderr, "lexora-picture: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
