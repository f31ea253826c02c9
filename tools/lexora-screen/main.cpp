// lexora-screen DATAROOT DESCRIPTION...: draws the pictures that screen descriptions
// name, so that a hand-written description becomes a screen that can be seen. For
// each description (a path below DATAROOT, as the program writes it, e.g.
// "data\lexora.xml") it writes, beside the description:
// - the background named by the "Lexo" tag, a vertical gradient between the two colours
//   of its "paint" attribute ("0x203060,0x80a0e0");
// - every state picture a group names, as big as the group's controls reach, with each
//   background under it and each button's or check box's drawn rectangles painted as a
//   bevelled face in that state's colours, with the control's "label" centred on it in
//   the largest of "data\fonts\tnr32.xml", "tnr24.xml" and "tnr12.xml" that fits. A
//   control with an "icon" (record, play, stop, pause, back, help, next, previous) is a
//   picture button for a child: the symbol, in the state's colour, stands on the face,
//   with the label beside it when the face is wide enough;
// - a background whose "Lexo" tag says scene="meadow" gets a little landscape: a sun,
//   clouds, and green hills with flowers along the bottom.
// The program's own readers and drawing code do the work, so the pictures come out as
// the program will read them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxRLEFonts.h"
#include "media/LxSurface.h"
#include "shell/LxXMLParser.h"

namespace {

struct Face {
    RECT rect; // relative to the group's origin
    std::string label;
    bool drawn; // buttons and check boxes have a face; other controls show the background
    std::string icon;
};

struct Group {
    std::string pictures[8];
    std::vector<Face> faces;
    int x = 0, y = 0;
};

// Face and text colours of the eight states (bit 0 under the mouse, bit 1 selected,
// bit 2 enabled).
const uint32_t kFace[8] = {0xb0b0b0, 0xb0b0b0, 0x909090, 0x909090,
                           0x4080e0, 0x70b0ff, 0xe08020, 0xffb040};
const uint32_t kText[8] = {0x707070, 0x707070, 0x606060, 0x606060,
                           0xffffff, 0xffffff, 0xffffff, 0x202020};

bool StartsWith(const char* text, const char* prefix) {
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

std::string Folder(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

uint32_t Colour(const char* text) {
    return static_cast<uint32_t>(strtoul(text, nullptr, 16));
}

bool Save(CLxSurface* surface, const std::string& base, const std::string& name) {
    std::string path = MakeBitmapPath(base.c_str(), name.c_str());
    bool ok = SaveBitmap(surface, path.c_str());
    if (!ok) std::fprintf(stderr, "lexora-screen: cannot write %s\n", path.c_str());
    return ok;
}

// The background drawn last, under every group's pictures; null before one is drawn.
CLxSurface* g_pBackground = nullptr;

void FillPolygon(CLxSurface* surface, const std::vector<POINT>& points, uint32_t rgb);
void FillEllipse(CLxSurface* surface, int cx, int cy, int rx, int ry, uint32_t rgb);

// A little landscape on the gradient: a sun in the top left corner, two clouds, and
// two green hills with a few flowers along the bottom.
void DrawMeadow(CLxSurface* s) {
    FillEllipse(s, 40, 40, 34, 34, 0xFFD030);
    FillEllipse(s, 40, 40, 26, 26, 0xFFE870);
    for (int cloud = 0; cloud < 2; ++cloud) {
        int x = 250 + 300 * cloud, y = 26 + 12 * cloud;
        FillEllipse(s, x, y + 8, 46, 16, 0xFFFFFF);
        FillEllipse(s, x - 20, y, 22, 18, 0xFFFFFF);
        FillEllipse(s, x + 14, y - 4, 26, 20, 0xFFFFFF);
    }
    FillEllipse(s, 160, 640, 420, 90, 0x78C050);
    FillEllipse(s, 640, 650, 380, 85, 0x5AA840);
    const uint32_t petals[4] = {0xF04060, 0xFFFFFF, 0xF0D020, 0xB060E0};
    for (int i = 0; i < 9; ++i) {
        int x = 30 + 90 * i, y = 585 - (i % 3) * 6;
        FillEllipse(s, x, y, 7, 7, petals[i % 4]);
        FillEllipse(s, x, y, 3, 3, 0xF0A000);
    }
}

bool DrawBackground(const std::string& base, const char* name, const char* paint, bool meadow) {
    uint32_t top = 0x203060, bottom = 0x80a0e0;
    if (paint) {
        top = Colour(paint);
        if (const char* comma = strchr(paint, ',')) bottom = Colour(comma + 1);
    }
    CLxSurface* surface = CreateSurface(800, 600);
    for (int y = 0; y < 600; ++y) {
        uint32_t rgb = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            int a = (top >> shift) & 0xff, b = (bottom >> shift) & 0xff;
            rgb |= static_cast<uint32_t>(a + (b - a) * y / 599) << shift;
        }
        RECT row{0, y, 800, y + 1};
        FillRectRGB(surface, &row, rgb);
    }
    if (meadow) DrawMeadow(surface);
    FreeSurface(&g_pBackground);
    g_pBackground = surface;
    return Save(surface, base, name);
}

// The label fonts, largest first; a label takes the largest that fits its face.
std::vector<CLxRLEFonts*> g_fonts;

CLxRLEFonts* FontFor(const Face& face) {
    int room = face.rect.right - face.rect.left - 8;
    for (CLxRLEFonts* font : g_fonts)
        if (font->TextWidth(face.label.c_str()) <= room) return font;
    return g_fonts.empty() ? nullptr : g_fonts.back();
}

// The symbols of picture buttons, as polygons in a 100 x 100 box (several polygons
// of one symbol are separated by an entry with x < 0); "record" and "help" are round.
struct Icon {
    const char* name;
    std::vector<POINT> shape;
};
const std::vector<Icon>& Icons() {
    static const std::vector<Icon> icons = {
        {"record", {}},
        {"help", {}},
        {"play", {{20, 10}, {90, 50}, {20, 90}}},
        {"stop", {{15, 15}, {85, 15}, {85, 85}, {15, 85}}},
        {"pause",
         {{15, 10}, {40, 10}, {40, 90}, {15, 90}, {-1, 0}, {60, 10}, {85, 10}, {85, 90}, {60, 90}}},
        {"next", {{10, 35}, {50, 35}, {50, 10}, {95, 50}, {50, 90}, {50, 65}, {10, 65}}},
        {"previous", {{90, 35}, {50, 35}, {50, 10}, {5, 50}, {50, 90}, {50, 65}, {90, 65}}},
        // A house: the way home to the main screen.
        {"back",
         {{50, 5},
          {95, 48},
          {80, 48},
          {80, 95},
          {58, 95},
          {58, 65},
          {42, 65},
          {42, 95},
          {20, 95},
          {20, 48},
          {5, 48}}},
    };
    return icons;
}

// Icon colours by state (bit 0 under the mouse, bit 1 selected, bit 2 enabled): grey when
// disabled, the symbol's own colour otherwise, lighter under the mouse, darker selected.
uint32_t IconColour(const std::string& icon, int state) {
    uint32_t base = icon == "record"                    ? 0xE02020
                    : icon == "play"                    ? 0x20A030
                    : icon == "help"                    ? 0xF0C020
                    : icon == "stop" || icon == "pause" ? 0x303050
                                                        : 0xFFFFFF;
    if (!(state & 4)) return 0x808080;
    if (state & 2) return MixRGB(base, 0x000000, 1, 4);
    if (state & 1) return MixRGB(base, 0xFFFFFF, 1, 3);
    return base;
}

// Fills the polygon (even-odd rule) row by row.
void FillPolygon(CLxSurface* surface, const std::vector<POINT>& points, uint32_t rgb) {
    if (points.size() < 3) return;
    int top = points[0].y, bottom = points[0].y;
    for (const POINT& p : points)
        top = std::min(top, static_cast<int>(p.y)),
        bottom = std::max(bottom, static_cast<int>(p.y));
    for (int y = top; y < bottom; ++y) {
        double row = y + 0.5;
        std::vector<double> crossings;
        for (size_t i = 0; i < points.size(); ++i) {
            const POINT& a = points[i];
            const POINT& b = points[(i + 1) % points.size()];
            if ((a.y <= row) == (b.y <= row)) continue;
            crossings.push_back(a.x + (row - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
            RECT span{static_cast<int>(std::lround(crossings[i])), y,
                      static_cast<int>(std::lround(crossings[i + 1])), y + 1};
            FillRectRGB(surface, &span, rgb);
        }
    }
}

void FillEllipse(CLxSurface* surface, int cx, int cy, int rx, int ry, uint32_t rgb) {
    std::vector<POINT> points;
    for (int i = 0; i < 64; ++i) {
        double a = i * 6.283185307 / 64;
        points.push_back(POINT{static_cast<int>(std::lround(cx + rx * std::cos(a))),
                               static_cast<int>(std::lround(cy + ry * std::sin(a)))});
    }
    FillPolygon(surface, points, rgb);
}

// Draws the icon into the square box (left, top, size).
void DrawIcon(CLxSurface* surface, const std::string& icon, int state, int left, int top,
              int size) {
    uint32_t colour = IconColour(icon, state);
    if (icon == "record" || icon == "help") {
        FillEllipse(surface, left + size / 2, top + size / 2, size * 2 / 5, size * 2 / 5, colour);
        if (icon == "help" && !g_fonts.empty()) {
            CLxRLEFonts* font = g_fonts.front();
            LxSurfaceDesc locked;
            if (surface->Lock(nullptr, &locked) != 0) return;
            font->Attach(&locked);
            font->SetColors(0x40, 0x30, 0x00);
            font->DrawText("?", left + (size - font->TextWidth("?")) / 2,
                           top + (size - font->Height()) / 2);
            font->Attach(nullptr);
            surface->Unlock();
        }
        return;
    }
    for (const Icon& known : Icons()) {
        if (icon != known.name) continue;
        std::vector<POINT> part;
        for (const POINT& p : known.shape) {
            if (p.x < 0) {
                FillPolygon(surface, part, colour);
                part.clear();
                continue;
            }
            part.push_back(POINT{left + p.x * size / 100, top + p.y * size / 100});
        }
        FillPolygon(surface, part, colour);
    }
}

void DrawFace(CLxSurface* surface, const Face& face, int state) {
    FillRectRGB(surface, &face.rect, kFace[state]);
    if (state & 4)
        Bevel(surface, &face.rect, 0.0f, (state & 2) ? 0.7f : 1.3f, (state & 2) ? 1.3f : 0.7f);
    Face text = face;
    if (!face.icon.empty()) {
        int height = face.rect.bottom - face.rect.top, size = height - 8;
        bool beside = face.rect.right - face.rect.left >= 3 * height && !face.label.empty();
        int left = beside ? face.rect.left + 8 : (face.rect.left + face.rect.right - size) / 2;
        DrawIcon(surface, face.icon, state, left, face.rect.top + 4, size);
        if (!beside) return;
        text.rect.left = left + size;
    }
    CLxRLEFonts* font = FontFor(text);
    if (face.label.empty() || !font) return;
    LxSurfaceDesc locked;
    if (surface->Lock(nullptr, &locked) != 0) return;
    font->Attach(&locked);
    font->SetColors(kText[state] >> 16, (kText[state] >> 8) & 0xff, kText[state] & 0xff);
    int x = (text.rect.left + text.rect.right - font->TextWidth(face.label.c_str())) / 2;
    int y = (face.rect.top + face.rect.bottom - font->Height()) / 2;
    font->DrawText(face.label.c_str(), x, y);
    font->Attach(nullptr);
    surface->Unlock();
}

bool DrawGroup(const std::string& base, const Group& group) {
    int width = 1, height = 1;
    for (const Face& f : group.faces) {
        width = std::max(width, static_cast<int>(f.rect.right));
        height = std::max(height, static_cast<int>(f.rect.bottom));
    }
    bool ok = true;
    for (int state = 0; state < 8; ++state) {
        if (group.pictures[state].empty()) continue;
        CLxSurface* surface = CreateSurface(width, height);
        RECT all{0, 0, width, height};
        FillRectRGB(surface, &all, 0);
        if (g_pBackground) {
            RECT under{group.x, group.y, group.x + width, group.y + height};
            BltSurface(surface, &all, g_pBackground, &under, 0);
        }
        for (const Face& f : group.faces)
            if (f.drawn) DrawFace(surface, f, state);
        ok = Save(surface, base, group.pictures[state]) && ok;
        FreeSurface(&surface);
    }
    return ok;
}

void ReadPictures(CLxXMLParser& xml, char* tag, Group* group, int first) {
    const char* names[3] = {"disabled", "passive", "active"};
    const int states[3] = {first, first + 4, first + 5};
    for (int i = 0; i < 3; ++i)
        if (const char* name = xml.GetAttr(tag, names[i])) group->pictures[states[i]] = name;
}

bool DrawDescription(const char* path) {
    CLxXMLParser xml;
    if (!xml.Open(path)) {
        std::fprintf(stderr, "lexora-screen: cannot read %s\n", path);
        return false;
    }
    std::string base = Folder(path);
    std::vector<Group> groups;
    Face* face = nullptr;
    bool ok = true;
    while (char* tag = xml.NextTag()) {
        if (StartsWith(tag, "Lexo")) {
            const char* name = xml.GetAttr(tag, "background");
            std::string copy = name ? name : "";
            std::string paint = xml.GetAttr(tag, "paint") ? xml.GetAttr(tag, "paint") : "";
            const char* scene = xml.GetAttr(tag, "scene");
            bool meadow = scene && !strcmp(scene, "meadow");
            if (!copy.empty())
                ok = DrawBackground(base, copy.c_str(), paint.empty() ? nullptr : paint.c_str(),
                                    meadow) &&
                     ok;
        } else if (StartsWith(tag, "group")) {
            groups.emplace_back();
            LxPoint origin = xml.GetPosition(tag);
            groups.back().x = origin.x;
            groups.back().y = origin.y;
            face = nullptr;
        } else if (groups.empty()) {
            continue;
        } else if (StartsWith(tag, "unselected")) {
            ReadPictures(xml, tag, &groups.back(), 0);
        } else if (StartsWith(tag, "selected")) {
            ReadPictures(xml, tag, &groups.back(), 2);
        } else if (StartsWith(tag, "control")) {
            const char* type = xml.GetAttr(tag, "type");
            bool drawn = type && (!strcmp(type, "button") || !strcmp(type, "checkbox"));
            // Each attribute is copied before the next is read: they share one buffer.
            std::string label = xml.GetAttr(tag, "label") ? xml.GetAttr(tag, "label") : "";
            const char* icon = xml.GetAttr(tag, "icon");
            groups.back().faces.push_back(Face{{0, 0, 0, 0}, label, drawn, icon ? icon : ""});
            face = &groups.back().faces.back();
        } else if (face && (StartsWith(tag, "common") || StartsWith(tag, "highlight"))) {
            LxRect r = xml.GetRect(tag);
            face->rect = RECT{r.left, r.top, r.right, r.bottom};
        } else if (StartsWith(tag, "/control")) {
            face = nullptr;
        }
    }
    for (const Group& g : groups)
        ok = DrawGroup(base, g) && ok;
    FreeSurface(&g_pBackground);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: lexora-screen DATAROOT DESCRIPTION...\n");
        return 2;
    }
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "lexora-screen: no folder %s\n", argv[1]);
        return 1;
    }
    CLxFile::SetRoots(".\\", "data\\");
    CLxRLEFonts fonts[3];
    const char* names[3] = {"data\\fonts\\tnr32.xml", "data\\fonts\\tnr24.xml",
                            "data\\fonts\\tnr12.xml"};
    for (int i = 0; i < 3; ++i)
        if (fonts[i].Load(names[i])) g_fonts.push_back(&fonts[i]);
    if (g_fonts.empty())
        std::fprintf(stderr, "lexora-screen: no fonts in data\\fonts; labels left out\n");
    bool ok = true;
    for (int i = 2; i < argc; ++i)
        ok = DrawDescription(argv[i]) && ok;
    return ok ? 0 : 1;
}
