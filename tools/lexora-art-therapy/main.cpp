// lexora-art-therapy DATAFOLDER: draws the therapy games' pictures with the program's own
// drawing primitives: "kettoto.bmp", the pond (640 x 380: water with ripples, reeds and
// lily pads), and "sprites/breki.bmp", the frog (66 x 48 on white, which the game keys
// out), and "kotabla.bmp", the slate tablet (488 x 40) the sound-development screen writes
// the practised word on; the other voice games' pictures are in VoiceGames.cpp. The frog's print
// mask and the mole's shadow mask are made from pictures by lexora-picture.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "VoiceGames.h"
#include "media/LxDraw.h"
#include "media/LxSurface.h"

namespace {
void Ellipse(CLxSurface* s, int left, int top, int right, int bottom, uint32_t rgb) {
    RECT r{left, top, right, bottom};
    FillCircle(s, &r, ColorToPixel(s, rgb));
}

void Fill(CLxSurface* s, int left, int top, int right, int bottom, uint32_t rgb) {
    RECT r{left, top, right, bottom};
    FillRectRGB(s, &r, rgb);
}

bool DrawPond(const std::string& path) {
    CLxSurface* s = CreateSurface(640, 380);
    for (int y = 0; y < 380; ++y) // deeper water further down
        Fill(s, 0, y, 640, y + 1, 0x3070b0 - static_cast<uint32_t>(y / 20) * 0x000204);
    for (int i = 0; i < 40; ++i) { // ripples
        int x = (i * 137) % 600, y = 30 + (i * 71) % 320;
        Fill(s, x, y, x + 30, y + 2, 0x5a94cc);
    }
    const int pads[][2] = {{60, 170}, {190, 150}, {320, 175}, {450, 155}, {570, 170}};
    for (const auto& p : pads) { // lily pads with a notch, some with a flower
        Ellipse(s, p[0] - 40, p[1] - 16, p[0] + 40, p[1] + 16, 0x2f8f3a);
        Ellipse(s, p[0] - 34, p[1] - 12, p[0] + 34, p[1] + 12, 0x3aa548);
        Fill(s, p[0], p[1] - 2, p[0] + 40, p[1] + 2, 0x3070b0);
        if (p[0] % 3 == 0) Ellipse(s, p[0] - 20, p[1] - 10, p[0] - 6, p[1] + 2, 0xf0a0c0);
    }
    for (int x = 4; x < 640; x += 22) { // reeds along the far bank
        Fill(s, x, 0, x + 4, 46 + x % 30, 0x4b7a2a);
        Ellipse(s, x - 2, 0, x + 6, 16, 0x6b4a2a);
    }
    bool ok = SaveBitmap(s, path.c_str());
    FreeSurface(&s);
    return ok;
}

bool DrawFrog(const std::string& path) {
    CLxSurface* s = CreateSurface(66, 48);
    Fill(s, 0, 0, 66, 48, 0xffffff);
    Ellipse(s, 2, 30, 26, 47, 0x2e7d32); // back legs
    Ellipse(s, 40, 30, 64, 47, 0x2e7d32);
    Ellipse(s, 8, 14, 58, 44, 0x43a047);  // body
    Ellipse(s, 18, 26, 48, 42, 0xc5e1a5); // belly
    Ellipse(s, 12, 4, 28, 20, 0x43a047);  // eyes
    Ellipse(s, 38, 4, 54, 20, 0x43a047);
    Ellipse(s, 15, 7, 25, 17, 0xfafafa);
    Ellipse(s, 41, 7, 51, 17, 0xfafafa);
    Ellipse(s, 18, 10, 23, 15, 0x101010);
    Ellipse(s, 44, 10, 49, 15, 0x101010);
    Fill(s, 24, 24, 42, 26, 0x1b5e20); // mouth
    bool ok = SaveBitmap(s, path.c_str());
    FreeSurface(&s);
    return ok;
}
// A slate: dark grey, lighter towards the top, a bevelled rim and a few pale scratches.
bool DrawTablet(const std::string& path) {
    constexpr int kWidth = 488, kHeight = 40;
    CLxSurface* s = CreateSurface(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        Fill(s, 0, y, kWidth, y + 1, 0x46505a - static_cast<uint32_t>(y / 5) * 0x020202);
    Fill(s, 0, 0, kWidth, 2, 0x8a949e);                 // lit top edge
    Fill(s, 0, 0, 2, kHeight, 0x747e88);                // lit left edge
    Fill(s, 0, kHeight - 2, kWidth, kHeight, 0x1e2428); // shaded bottom edge
    Fill(s, kWidth - 2, 0, kWidth, kHeight, 0x262c32);  // shaded right edge
    for (int i = 0; i < 12; ++i) {
        int x = 17 + i * 39 % (kWidth - 40), y = 6 + i * 7 % (kHeight - 12);
        Fill(s, x, y, x + 6 + i % 4 * 3, y + 1, 0x5c6670);
    }
    bool ok = SaveBitmap(s, path.c_str());
    FreeSurface(&s);
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lexora-art-therapy DATAFOLDER\n");
        return 2;
    }
    std::string data = argv[1];
    mkdir((data + "/sprites").c_str(), 0755);
    bool ok = DrawPond(data + "/kettoto.bmp") && DrawFrog(data + "/sprites/breki.bmp") &&
              DrawTablet(data + "/kotabla.bmp") && DrawVoiceGames(data);
    if (!ok) std::fprintf(stderr, "lexora-art-therapy: cannot write into %s\n", data.c_str());
    return ok ? 0 : 1;
}
