// The pictures of the car, clown, flower and mole games, drawn with the program's own
// primitives at the sizes the games place them: the road (652 x 276) and the car in
// eight phases of its turning wheels (200 x 100), the ladder's rod (40 x 358) and rung
// (plain and lit, 142 x 20) and the clown (80 x 146), the flower bed (576 x 64), the red
// and blue flowers planted, blooming and wilted (48 x 64), water, bucket and watering
// can, and the ground (640 x 420) with the mole (128 x 84), the lamp mole (96 x 60), the
// lightning mark (16 x 16) and the mole's shadow. Sprites lie on white, which the games
// key out, except the clown, the ground and the lightning, keyed on black.
#include "VoiceGames.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "media/LxDraw.h"
#include "media/LxSurface.h"

namespace {
constexpr uint32_t kWhite = 0xffffff, kBlack = 0x000000;

// Colour references for the line drawer are 0x00BBGGRR.
uint32_t Ref(uint32_t rgb) {
    return (rgb & 0xff) << 16 | (rgb & 0xff00) | (rgb >> 16 & 0xff);
}

void Fill(CLxSurface* s, int left, int top, int right, int bottom, uint32_t rgb) {
    RECT r{left, top, right, bottom};
    FillRectRGB(s, &r, rgb);
}

// A filled ellipse inside the rectangle, row by row (the program's circle fills only
// squares).
void Oval(CLxSurface* s, int left, int top, int right, int bottom, uint32_t rgb) {
    double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
    for (int y = top; y < bottom; ++y) {
        double dy = (y + 0.5 - cy) / ry;
        if (dy * dy > 1.0) continue;
        double half = rx * std::sqrt(1.0 - dy * dy);
        Fill(s, static_cast<int>(std::lround(cx - half)), y,
             static_cast<int>(std::lround(cx + half)), y + 1, rgb);
    }
}

void Line(CLxSurface* s, int x1, int y1, int x2, int y2, uint32_t rgb, int width = 1) {
    for (int d = 0; d < width; ++d)
        DrawLine(s, x1 + d, y1, x2 + d, y2, Ref(rgb));
}

CLxSurface* Canvas(int w, int h, uint32_t rgb) {
    CLxSurface* s = CreateSurface(w, h);
    Fill(s, 0, 0, w, h, rgb);
    return s;
}

bool Save(CLxSurface* s, const std::string& path) {
    bool ok = SaveBitmap(s, path.c_str());
    FreeSurface(&s);
    return ok;
}

// A vertical gradient between two colours.
void Gradient(CLxSurface* s, int left, int top, int right, int bottom, uint32_t from, uint32_t to) {
    for (int y = top; y < bottom; ++y) {
        uint32_t rgb = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            int a = from >> shift & 0xff, b = to >> shift & 0xff;
            rgb |= static_cast<uint32_t>(a + (b - a) * (y - top) / std::max(bottom - top - 1, 1))
                   << shift;
        }
        Fill(s, left, y, right, y + 1, rgb);
    }
}

// --- the car game ---

bool DrawRoad(const std::string& path) {
    CLxSurface* s = Canvas(652, 276, 0x9fd8ff);
    Gradient(s, 0, 0, 652, 70, 0x7cc4ff, 0xcdeeff); // sky
    for (int i = 0; i < 4; ++i) {                   // clouds
        int x = 40 + i * 170;
        Oval(s, x, 12, x + 60, 40, kWhite);
        Oval(s, x + 30, 4, x + 90, 36, kWhite);
    }
    Oval(s, 560, 6, 610, 56, 0xffd83a);               // the sun
    Gradient(s, 0, 70, 652, 150, 0x6cc04a, 0x3f9a36); // meadow
    for (int x = 20; x < 652; x += 110) {             // trees
        Fill(s, x + 16, 80, x + 24, 130, 0x7a4a22);
        Oval(s, x, 50, x + 40, 100, 0x2f8a2c);
    }
    for (int i = 0; i < 40; ++i) { // flowers in the grass
        int x = (i * 97) % 640, y = 110 + (i * 37) % 34;
        Oval(s, x, y, x + 6, y + 6, i % 2 ? 0xffe050 : 0xff7aa8);
    }
    Fill(s, 0, 150, 652, 158, 0xd8d8d0); // kerb
    Gradient(s, 0, 158, 652, 276, 0x55555c, 0x3c3c42);
    for (int x = 0; x < 652; x += 60) // the middle line
        Fill(s, x, 212, x + 34, 218, 0xf4f4f4);
    return Save(s, path);
}

bool DrawCar(const std::string& path, int phase) {
    CLxSurface* s = Canvas(200, 100, kWhite);
    Fill(s, 14, 44, 188, 78, 0xe53935); // body
    Oval(s, 4, 44, 28, 78, 0xe53935);   // rounded front and back
    Oval(s, 174, 44, 198, 78, 0xe53935);
    Oval(s, 46, 8, 150, 64, 0xc62828); // cabin
    Oval(s, 58, 16, 96, 50, 0xb3e5fc); // windows
    Oval(s, 102, 16, 140, 50, 0xb3e5fc);
    Fill(s, 46, 44, 150, 56, 0xc62828);
    Oval(s, 182, 52, 196, 62, 0xfff176); // lamps
    Oval(s, 4, 52, 14, 62, 0xff8a65);
    Fill(s, 96, 58, 108, 62, 0x8e1b1b);     // door handle
    const double angle = phase * M_PI / 16; // a quarter turn over the eight pictures
    for (int cx : {48, 152}) {              // wheels with turning spokes
        Oval(s, cx - 20, 60, cx + 20, 100, 0x202020);
        Oval(s, cx - 11, 69, cx + 11, 91, 0xbdbdbd);
        for (int k = 0; k < 2; ++k) {
            double a = angle + k * M_PI / 2;
            int dx = static_cast<int>(10 * std::cos(a)), dy = static_cast<int>(10 * std::sin(a));
            Line(s, cx - dx, 80 - dy, cx + dx, 80 + dy, 0x424242, 2);
        }
        Oval(s, cx - 3, 77, cx + 3, 83, 0x616161);
    }
    return Save(s, path);
}

// --- the clown game ---

bool DrawRod(const std::string& path) {
    CLxSurface* s = Canvas(40, 358, kWhite);
    Fill(s, 12, 0, 28, 358, 0x8d5a2b);
    Fill(s, 14, 0, 18, 358, 0xb07a45); // light on the wood
    Oval(s, 10, 348, 30, 358, 0x6d4420);
    return Save(s, path);
}

bool DrawRung(const std::string& path, bool lit) {
    CLxSurface* s = Canvas(142, 20, kWhite);
    uint32_t wood = lit ? 0xffc107 : 0xa0692f, light = lit ? 0xfff59d : 0xc98d50;
    Oval(s, 0, 2, 16, 18, wood);
    Oval(s, 126, 2, 142, 18, wood);
    Fill(s, 8, 2, 134, 18, wood);
    Fill(s, 8, 5, 134, 8, light);
    return Save(s, path);
}

bool DrawClown(const std::string& path) {
    CLxSurface* s = Canvas(80, 146, kBlack);
    for (int row = 0; row < 26; ++row) // the pointed hat, striped
        Fill(s, 40 - row, row, 40 + row, row + 1, row / 5 % 2 ? 0x8e24aa : 0xffeb3b);
    Oval(s, 34, 0, 46, 10, 0xff5252);  // pompom
    Oval(s, 14, 22, 66, 66, 0xffe0c0); // face
    Oval(s, 8, 28, 24, 52, 0xff7043);  // hair
    Oval(s, 56, 28, 72, 52, 0xff7043);
    Oval(s, 26, 34, 36, 44, 0x1565c0); // eyes
    Oval(s, 44, 34, 54, 44, 0x1565c0);
    Oval(s, 34, 42, 46, 54, 0xe53935);  // nose
    Fill(s, 28, 56, 52, 60, 0xd32f2f);  // smile
    Fill(s, 14, 66, 66, 118, 0x43a047); // suit, two colours
    Fill(s, 40, 66, 66, 118, 0x1e88e5);
    for (int y : {76, 92, 108}) // big buttons
        Oval(s, 36, y - 4, 44, y + 4, 0xffeb3b);
    Fill(s, 2, 68, 14, 100, 0x43a047); // arms and gloves
    Fill(s, 66, 68, 78, 100, 0x1e88e5);
    Oval(s, 0, 96, 16, 112, kWhite);
    Oval(s, 64, 96, 80, 112, kWhite);
    Fill(s, 20, 118, 36, 136, 0x43a047); // legs
    Fill(s, 44, 118, 60, 136, 0x1e88e5);
    Oval(s, 6, 132, 38, 146, 0xe53935); // shoes
    Oval(s, 42, 132, 74, 146, 0xe53935);
    return Save(s, path);
}

// --- the flower game ---

bool DrawBed(const std::string& path) {
    CLxSurface* s = Canvas(576, 64, 0x7b4a26);
    for (int y = 14; y < 64; y += 12) // furrows
        Fill(s, 0, y, 576, y + 3, 0x5d3518);
    for (int i = 0; i < 90; ++i) { // crumbs of soil
        int x = (i * 53) % 570, y = 8 + (i * 29) % 52;
        Fill(s, x, y, x + 3, y + 2, 0x9a6236);
    }
    Fill(s, 0, 0, 576, 6, 0x4caf50); // grass edge
    for (int x = 0; x < 576; x += 6)
        Fill(s, x, 6, x + 2, 10, 0x388e3c);
    return Save(s, path);
}

// kind 0 planted (a bud), 1 blooming, 2 wilted.
bool DrawFlower(const std::string& path, uint32_t petal, uint32_t dark, int kind) {
    CLxSurface* s = Canvas(48, 64, kWhite);
    uint32_t stem = kind == 2 ? 0x8d8d3a : 0x2e7d32;
    if (kind == 2) { // bent over
        Line(s, 24, 64, 24, 36, stem, 3);
        Line(s, 24, 36, 36, 28, stem, 3);
        Oval(s, 30, 26, 46, 42, dark);
        Oval(s, 34, 30, 42, 38, 0x795548);
        Oval(s, 8, 44, 24, 52, 0x9e9d24);
        return Save(s, path);
    }
    Line(s, 23, 64, 23, kind ? 24 : 36, stem, 3);
    Oval(s, 8, 44, 24, 54, 0x43a047); // leaves
    Oval(s, 24, 38, 40, 48, 0x43a047);
    if (kind == 0) {
        Oval(s, 16, 24, 32, 42, petal);
        Oval(s, 20, 20, 28, 30, 0x66bb6a);
        return Save(s, path);
    }
    for (int k = 0; k < 6; ++k) { // petals round a yellow heart
        double a = k * M_PI / 3;
        int cx = 24 + static_cast<int>(11 * std::cos(a)),
            cy = 18 + static_cast<int>(11 * std::sin(a));
        Oval(s, cx - 8, cy - 8, cx + 8, cy + 8, petal);
    }
    Oval(s, 17, 11, 31, 25, 0xffd54f);
    return Save(s, path);
}

bool DrawWater(const std::string& path) {
    CLxSurface* s = Canvas(48, 64, kWhite);
    for (int i = 0; i < 12; ++i) {
        int x = 6 + (i * 13) % 34, y = 4 + (i * 23) % 54;
        Oval(s, x, y, x + 7, y + 10, 0x29b6f6);
        Fill(s, x + 2, y + 2, x + 3, y + 4, 0xe1f5fe);
    }
    return Save(s, path);
}

bool DrawBucket(const std::string& path) {
    CLxSurface* s = Canvas(48, 48, kWhite);
    Line(s, 10, 18, 24, 4, 0x616161, 2); // handle
    Line(s, 24, 4, 38, 18, 0x616161, 2);
    for (int y = 16; y < 46; ++y) // a pail narrowing downwards
        Fill(s, 8 + (y - 16) / 5, y, 40 - (y - 16) / 5, y + 1, 0xff9800);
    Fill(s, 8, 16, 40, 20, 0xef6c00);
    for (int i = 0; i < 6; ++i) // seeds on top
        Oval(s, 12 + i * 4, 12 + i % 2 * 2, 16 + i * 4, 16 + i % 2 * 2, 0x6d4c41);
    return Save(s, path);
}

bool DrawWateringCan(const std::string& path, bool pouring) {
    CLxSurface* s = Canvas(48, 48, kWhite);
    Fill(s, 16, 18, 40, 44, 0x2e7d32); // body
    Oval(s, 14, 14, 42, 24, 0x388e3c);
    Line(s, 18, 16, 28, 6, 0x1b5e20, 2); // handle
    Line(s, 28, 6, 38, 16, 0x1b5e20, 2);
    Line(s, 16, 36, 2, 20, 0x2e7d32, 3); // spout
    Oval(s, 0, 16, 8, 24, 0x1b5e20);
    if (pouring)
        for (int i = 0; i < 5; ++i)
            Oval(s, 1 + i % 2 * 4, 26 + i * 4, 5 + i % 2 * 4, 30 + i * 4, 0x29b6f6);
    return Save(s, path);
}

// --- the mole game ---

bool DrawGround(const std::string& path) {
    CLxSurface* s = Canvas(640, 420, kBlack); // black: the sky of the screen shows
    Fill(s, 0, 14, 640, 34, 0x5cb85c);        // grass
    for (int x = 0; x < 640; x += 5)
        Fill(s, x, 8 + x % 3 * 2, x + 2, 14, 0x4caf50);
    Gradient(s, 0, 34, 640, 420, 0xa8743e, 0x6b4220); // earth, darker deeper
    for (int i = 0; i < 70; ++i) {                    // stones
        int x = (i * 131) % 620, y = 50 + (i * 71) % 350;
        Oval(s, x, y, x + 8 + i % 4 * 3, y + 6 + i % 3 * 2, 0x9e9e9e - (i % 3) * 0x101010);
    }
    for (int i = 0; i < 8; ++i) { // roots under the grass
        int x = 30 + i * 80;
        Line(s, x, 34, x + 12, 80, 0x5d4037, 2);
        Line(s, x + 12, 80, x + 4, 110, 0x5d4037);
    }
    Oval(s, 500, 380, 530, 392, 0xf48fb1); // a worm
    return Save(s, path);
}

void Mole(CLxSurface* s, int w, int h, uint32_t fur) {
    Oval(s, w / 8, h / 5, w - w / 8, h, fur);                           // body
    Oval(s, w - w / 3, h / 3, w, h - h / 5, fur);                       // head
    Oval(s, w - w / 10, h / 2 - 5, w, h / 2 + 5, 0xf48fb1);             // snout
    Oval(s, w - w / 4, h / 3 + 4, w - w / 4 + 6, h / 3 + 10, 0x101010); // eye
    for (int k = 0; k < 2; ++k)                                         // pink digging paws
        Oval(s, w / 2 + k * w / 5, h - h / 5, w / 2 + k * w / 5 + w / 8, h, 0xf8bbd0);
    Oval(s, 0, h / 2, w / 6, h / 2 + 8, fur); // tail
}

bool DrawMole(const std::string& path, bool selected) {
    CLxSurface* s = Canvas(128, 84, kWhite);
    if (selected) Oval(s, 4, 10, 128, 84, 0xfff176); // a glow while it listens
    Mole(s, 128, 84, 0x4e3b31);
    return Save(s, path);
}

bool DrawLampMole(const std::string& path, bool selected) {
    CLxSurface* s = Canvas(96, 60, kWhite);
    if (selected) Oval(s, 2, 6, 96, 60, 0xfff176);
    Mole(s, 96, 60, 0x5d4037);
    Oval(s, 58, 6, 90, 28, 0xffc107); // helmet
    Fill(s, 58, 18, 90, 24, 0xffc107);
    Oval(s, 84, 10, 94, 20, 0xfffde7); // its lamp
    return Save(s, path);
}

bool DrawLightning(const std::string& path) {
    CLxSurface* s = Canvas(16, 16, kBlack);
    Line(s, 10, 0, 4, 8, 0xffeb3b, 3);
    Line(s, 4, 8, 11, 8, 0xffeb3b, 2);
    Line(s, 11, 8, 5, 16, 0xffeb3b, 3);
    return Save(s, path);
}

bool DrawShadow(const std::string& path) {
    CLxSurface* s = Canvas(128, 112, kWhite);
    Oval(s, 8, 20, 120, 112, 0x202020);
    return Save(s, path);
}
} // namespace

bool DrawVoiceGames(const std::string& data) {
    const std::string sprites = data + "/sprites/";
    bool ok = DrawRoad(data + "/ut.bmp");
    for (int phase = 0; phase < 8; ++phase)
        ok = DrawCar(sprites + "auto" + std::to_string(phase + 1) + ".bmp", phase) && ok;
    ok = DrawRod(sprites + "rud.bmp") && DrawRung(sprites + "lec.bmp", false) &&
         DrawRung(sprites + "lech.bmp", true) && DrawClown(sprites + "bohoc1.bmp") && ok;
    ok = DrawBed(data + "/viragagyas.bmp") && DrawWater(sprites + "virag-viz.bmp") &&
         DrawBucket(sprites + "vodoron.bmp") && DrawWateringCan(sprites + "locsolo.bmp", false) &&
         DrawWateringCan(sprites + "locsolon.bmp", true) && ok;
    for (int kind = 0; kind < 3; ++kind) {
        std::string n = std::to_string(kind) + ".bmp";
        ok = DrawFlower(sprites + "piros-virag" + n, 0xe53935, 0x8e3b3b, kind) &&
             DrawFlower(sprites + "kek-virag" + n, 0x1e88e5, 0x3b4f8e, kind) && ok;
    }
    ok = DrawGround(data + "/foldalatt.bmp") && DrawMole(sprites + "vakond.bmp", false) &&
         DrawMole(sprites + "vakondn.bmp", true) && DrawLampMole(sprites + "vakondka.bmp", false) &&
         DrawLampMole(sprites + "vakondkan.bmp", true) && DrawLightning(sprites + "villam.bmp") &&
         DrawShadow(sprites + "vakondk.bmp") && ok;
    return ok;
}
