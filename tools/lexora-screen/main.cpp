// lexora-screen DATAROOT DESCRIPTION...: draws the pictures that screen descriptions
// name, so that a hand-written description becomes a screen that can be seen. For
// each description (a path below DATAROOT, as the program writes it, e.g.
// "data\lexora.xml") it writes, beside the description:
// - the background named by the "Lexo" tag, a vertical gradient between the two colours
//   of its "paint" attribute ("0x203060,0x80a0e0");
// - every state picture a group names, as big as the group's controls reach, with each
//   background under it and each button's or check box's drawn rectangles painted as a
//   bevelled face in that state's colours, with the control's "label" centred on it in
//   the largest of "data\fonts\tnr32.xml", "tnr24.xml" and "tnr12.xml" that fits.
// The program's own readers and drawing code do the work, so the pictures come out as
// the program will read them.
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

bool DrawBackground(const std::string& base, const char* name, const char* paint) {
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

void DrawFace(CLxSurface* surface, const Face& face, int state) {
    FillRectRGB(surface, &face.rect, kFace[state]);
    if (state & 4)
        Bevel(surface, &face.rect, 0.0f, (state & 2) ? 0.7f : 1.3f, (state & 2) ? 1.3f : 0.7f);
    CLxRLEFonts* font = FontFor(face);
    if (face.label.empty() || !font) return;
    LxSurfaceDesc locked;
    if (surface->Lock(nullptr, &locked) != 0) return;
    font->Attach(&locked);
    font->SetColors(kText[state] >> 16, (kText[state] >> 8) & 0xff, kText[state] & 0xff);
    int x = (face.rect.left + face.rect.right - font->TextWidth(face.label.c_str())) / 2;
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
            const char* paint = xml.GetAttr(tag, "paint");
            if (!copy.empty()) ok = DrawBackground(base, copy.c_str(), paint) && ok;
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
            const char* label = xml.GetAttr(tag, "label");
            groups.back().faces.push_back(Face{{0, 0, 0, 0}, label ? label : "", drawn});
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
