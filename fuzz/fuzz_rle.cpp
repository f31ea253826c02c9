// Feeds arbitrary bytes as the program's run-length files: the input is written once as
// a mask (".rle"), a multi-layer picture (".mlr") and a font base file named by a font
// description, and each is loaded and drawn, scaled, fitted, turned and rendered into
// small surfaces of every depth, where anything outside would be caught.
#include <SDL.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "media/LxFile.h"
#include "media/LxMLRLEBitmap.h"
#include "media/LxRLEBitmap.h"
#include "media/LxRLEFonts.h"

namespace {
void Save(const char* path, const uint8_t* data, size_t size) {
    FILE* out = std::fopen(path, "wb");
    if (!out) return;
    std::fwrite(data, 1, size, out);
    std::fclose(out);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/lexora-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    CLxFile::SetRoots("", "data\\");
    const char description[] = "<Font base=\"f.fnt\">";
    Save("f.xml", reinterpret_cast<const uint8_t*>(description), sizeof description - 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Save("f.rle", data, size);
    Save("f.mlr", data, size);
    Save("f.fnt", data, size);

    CLxRLEBitmap mask("f.rle");
    CLxMLRLEBitmap picture("f.mlr");
    CLxRLEFonts font;
    font.Load("f.xml");
    for (int bits : {16, 24, 32}) {
        SDL_Surface* raw = SDL_CreateRGBSurface(0, 17, 9, bits, 0, 0, 0, 0);
        if (!raw) continue;
        CLxSurface surface;
        surface.Attach(raw);
        LxSurfaceDesc desc;
        if (surface.Lock(nullptr, &desc) != 0) continue;
        for (int at : {-3, 0, 5}) {
            mask.Draw(&surface, at, at, 0x40FF8000);
            font.Attach(&desc);
            font.DrawRawText("abc$A", at, at);
            font.DrawCharRotated(data[0] & 0x7F, 0xFFFFFF, at, at, at & 15);
            font.DrawCharOpaque('a', 1, 2, at, at);
        }
        picture.Render(desc, true);
    }
    if (mask.m_nWidth <= 64 && mask.m_nHeight <= 64) {
        CLxRLEBitmap scaled(mask), fitted(mask);
        scaled.Scale(1 + data[0] % 40, 1 + size % 40);
        fitted.Fit(1 + size % 40, 1 + data[0] % 40);
    }
    return 0;
}
