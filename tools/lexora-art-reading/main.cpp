// lexora-art-reading DATAROOT [sel:DESCRIPTION]... [help:NAME=TEXT]...: draws the demo
// pictures of the reading screens below DATAROOT, with the program's own readers, fonts
// and drawing code:
// - for every letter button of a selection description ("fo.", two digits, a letter),
//   its two pictures (200 x 150, "<letter>0.bmp" and "<letter>1.bmp" in the picture
//   folder, doubled form): the small letter in the 128-pixel font on a card, magenta
//   around;
// - for each help, "data\help\NAME.bmp" (660 x 120) with the text (UTF-8) on a card.
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

#include "core/TextCodec.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxRLEFonts.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxXMLParser.h"

namespace {

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int x = (a >> shift) & 0xff, y = (b >> shift) & 0xff;
        out |= static_cast<uint32_t>(x + (y - x) * num / den) << shift;
    }
    return out;
}

bool Save(CLxSurface* surface, const std::string& path) {
    bool ok = SaveBitmap(surface, path.c_str());
    if (!ok) std::fprintf(stderr, "lexora-art-reading: cannot write %s\n", path.c_str());
    return ok;
}

void Gradient(CLxSurface* s, int w, int h, uint32_t top, uint32_t bottom) {
    for (int y = 0; y < h; ++y) {
        RECT row{0, y, w, y + 1};
        FillRectRGB(s, &row, Mix(top, bottom, y, h - 1));
    }
}

void DrawCentred(CLxSurface* s, CLxRLEFonts* font, const std::string& codes, uint32_t rgb,
                 const RECT& r) {
    LxSurfaceDesc locked;
    if (!font || s->Lock(nullptr, &locked) != 0) return;
    font->Attach(&locked);
    font->SetColors(rgb >> 16, (rgb >> 8) & 0xff, rgb & 0xff);
    int x = (r.left + r.right - font->RawTextWidth(codes.c_str())) / 2;
    int y = (r.top + r.bottom - font->Height()) / 2;
    font->DrawRawText(codes.c_str(), x, y);
    font->Attach(nullptr);
}

bool DrawSelectionButton(const std::string& base, unsigned char code, CLxRLEFonts* font) {
    bool ok = true;
    const uint32_t cards[2] = {0xF0F4FF, 0xFFE070};
    for (int state = 0; state < 2; ++state) {
        CLxSurface* s = CreateSurface(200, 150);
        FillRectRGB(s, nullptr, 0xFF00FF);
        RECT card{10, 8, 190, 142};
        FillRectRGB(s, &card, cards[state]);
        Bevel(s, &card, 0.0f, 1.2f, 0.7f);
        std::string codes(1, static_cast<char>(code));
        DrawCentred(s, font, codes, IsVowel(code) ? 0xE02020 : 0x04A820, card);
        ok = Save(s, base + std::to_string(state) + ".bmp") && ok;
        FreeSurface(&s);
    }
    return ok;
}

bool DrawSelection(const char* description, CLxRLEFonts* font) {
    CLxXMLParser xml;
    if (!xml.Open(description)) {
        std::fprintf(stderr, "lexora-art-reading: cannot read %s\n", description);
        return false;
    }
    std::string path = description;
    std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    bool ok = true;
    while (char* tag = xml.NextTag()) {
        if (!std::strncmp(tag, "Lexo", 4)) {
            if (const char* sub = xml.GetAttr(tag, "path")) folder += std::string(sub) + "\\";
            continue;
        }
        if (std::strncmp(tag, "control", 7) != 0) continue;
        const char* name = xml.GetAttr(tag, "name");
        if (!name || std::strlen(name) < 3 || name[0] < '0' || name[0] > '9' || name[1] < '0' ||
            name[1] > '9')
            continue;
        unsigned char code = DecodeLetter(name + 2);
        char codes[2] = {static_cast<char>(code), 0};
        ok = DrawSelectionButton(folder + ToDoubledText(codes), code, font) && ok;
    }
    return ok;
}

bool DrawHelp(const std::string& spec, CLxRLEFonts* font) {
    size_t eq = spec.find('=');
    if (eq == std::string::npos) return false;
    CLxSurface* s = CreateSurface(660, 120);
    Gradient(s, 660, 120, 0xFFE8F0, 0xEF8BAC);
    RECT frame{0, 0, 660, 120};
    FrameRect(s, &frame, 0x803050);
    std::string text = talvik::Utf8ToLatin2(spec.substr(eq + 1));
    DrawCentred(s, font, TextToCodes(text.c_str()), 0x401020, frame);
    bool ok = Save(s, "data\\help\\" + spec.substr(0, eq) + ".bmp");
    FreeSurface(&s);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(
            stderr,
            "usage: lexora-art-reading DATAROOT [sel:DESCRIPTION]... [help:NAME=TEXT]...\n");
        return 2;
    }
    if (chdir(argv[1]) != 0) {
        std::fprintf(stderr, "lexora-art-reading: no folder %s\n", argv[1]);
        return 1;
    }
    CLxFile::SetRoots(".\\", "data\\");
    LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
    CLxRLEFonts big, text;
    big.Load("data\\fonts\\tnr128.xml");
    text.Load("data\\fonts\\tnr32.xml");
    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (!arg.compare(0, 4, "sel:"))
            ok = DrawSelection(arg.c_str() + 4, &big) && ok;
        else if (!arg.compare(0, 5, "help:"))
            ok = DrawHelp(arg.substr(5), &text) && ok;
    }
    return ok ? 0 : 1;
}
