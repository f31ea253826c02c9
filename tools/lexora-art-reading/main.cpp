// lexora-art-reading DATAROOT [sel:DESCRIPTION]... [help:NAME=TEXT]...: draws the demo
// pictures of the reading screens below DATAROOT, with the program's own readers, fonts
// and drawing code:
// - for every letter button of a selection description ("fo.", two digits, a letter),
//   its two pictures (200 x 150, "<letter>0.bmp" and "<letter>1.bmp" in the picture
//   folder, doubled form): the small letter (a pair's letters) on a card as big as the
//   button, with the key word's small picture beside a single letter and under each member of
//   a pair, magenta around;
// - for each help, "data\help\NAME.bmp" (660 x 120) with the text (UTF-8) on a card.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/TextCodec.h"
#include "media/LxCallPic.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxRLEFonts.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxXMLParser.h"

namespace {

constexpr int kBoxWidth = 200, kBoxHeight = 150;

bool Save(CLxSurface* surface, const std::string& path) {
    bool ok = SaveBitmap(surface, path.c_str());
    if (!ok) std::fprintf(stderr, "lexora-art-reading: cannot write %s\n", path.c_str());
    return ok;
}

void Gradient(CLxSurface* s, int w, int h, uint32_t top, uint32_t bottom) {
    for (int y = 0; y < h; ++y) {
        RECT row{0, y, w, y + 1};
        FillRectRGB(s, &row, MixRGB(top, bottom, y, h - 1));
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

// The codes a selection card shows: a vowel pair's short and long vowel, an extra
// letter's members with "-" between them, any other letter itself.
std::string CardCodes(unsigned char code) {
    if (IsVowelPair(code))
        return {static_cast<char>(PairShort(code)), static_cast<char>(PairLong(code))};
    if (!IsExtraLetter(code)) return std::string(1, static_cast<char>(code));
    std::string text = EncodeLetter(code), codes;
    for (size_t start = 0; start <= text.size();) {
        size_t dash = std::min(text.find('-', start), text.size());
        if (!codes.empty()) codes += '-';
        codes += static_cast<char>(DecodeLetter(text.substr(start, dash - start).c_str()));
        start = dash + 1;
    }
    return codes;
}

// The key word's small picture (white around it left out) at the card's right.
void DrawThing(CLxSurface* s, unsigned char code, const RECT& room) {
    CLxCallPic calls("data\\callpic.xml");
    int entry = calls.FindLetter(code);
    if (entry < 0) return;
    std::string path = "data\\smallpic\\" + ToDoubledText(calls.Entry(entry).Word()) + ".bmp";
    CLxSurface* thing = LoadBitmap(path.c_str());
    if (thing->m_pSurface) {
        thing->SetColorKey(ColorToPixel(thing, 0xFFFFFF));
        BltSurface(s, &room, thing, nullptr, 0);
    }
    FreeSurface(&thing);
}

// A letter button's two pictures (normal and under the mouse): a card that fills the
// control's rectangle inside the 200 x 150 box the screen paints, magenta around it,
// with the letter in the largest font that fits and, for a single letter, its key
// word's thing beside it.
bool DrawSelectionButton(const std::string& base, unsigned char code, const RECT& control,
                         const std::vector<CLxRLEFonts*>& fonts) {
    const uint32_t cards[2] = {0xF0F4FF, 0xFFE070};
    int left = (kBoxWidth - (control.right - control.left)) / 2,
        top = (kBoxHeight - (control.bottom - control.top)) / 2;
    RECT card{std::max(10, left + 6), std::max(8, top + 6),
              std::min(kBoxWidth - 10, kBoxWidth - left - 6),
              std::min(kBoxHeight - 8, kBoxHeight - top - 6)};
    std::string codes = CardCodes(code);
    bool single = codes.size() == 1, extra = IsExtraLetter(code);
    RECT letter = card;
    if (single) letter.right = (card.left + card.right) / 2 + 8;
    if (extra) letter.bottom = (card.top + card.bottom) / 2;
    CLxRLEFonts* font = fonts.back();
    for (CLxRLEFonts* f : fonts)
        if (f->RawTextWidth(codes.c_str()) <= letter.right - letter.left - 8 &&
            f->Height() <= letter.bottom - letter.top) {
            font = f;
            break;
        }
    bool ok = true;
    for (int state = 0; state < 2; ++state) {
        CLxSurface* s = CreateSurface(kBoxWidth, kBoxHeight);
        FillRectRGB(s, nullptr, 0xFF00FF);
        FillRectRGB(s, &card, cards[state]);
        Bevel(s, &card, 0.0f, 1.2f, 0.7f);
        DrawCentred(s, font, codes, IsVowel(code) || IsVowelPair(code) ? 0xE02020 : 0x04A820,
                    letter);
        if (single) {
            int size = std::min(card.right - letter.right, card.bottom - card.top) - 8;
            int cy = (card.top + card.bottom) / 2;
            RECT room{letter.right, cy - size / 2, letter.right + size, cy + size / 2};
            DrawThing(s, code, room);
        }
        if (extra) {
            // Each member's thing in a row under the letters.
            std::vector<unsigned char> members;
            for (char c : codes)
                if (c != '-') members.push_back(static_cast<unsigned char>(c));
            int width = (card.right - card.left) / static_cast<int>(members.size());
            int size = std::min(width, card.bottom - letter.bottom) - 6;
            for (size_t m = 0; m < members.size(); ++m) {
                int cx = card.left + width * static_cast<int>(m) + width / 2;
                RECT room{cx - size / 2, letter.bottom, cx + size / 2, letter.bottom + size};
                DrawThing(s, members[m], room);
            }
        }
        ok = Save(s, base + std::to_string(state) + ".bmp") && ok;
        FreeSurface(&s);
    }
    return ok;
}

bool DrawSelection(const char* description, const std::vector<CLxRLEFonts*>& fonts) {
    CLxXMLParser xml;
    if (!xml.Open(description)) {
        std::fprintf(stderr, "lexora-art-reading: cannot read %s\n", description);
        return false;
    }
    std::string path = description;
    std::string folder = path.substr(0, path.find_last_of('\\') + 1);
    bool ok = true;
    unsigned char code = 0; // the letter button whose rectangle comes next
    while (char* tag = xml.NextTag()) {
        if (!std::strncmp(tag, "Lexo", 4)) {
            if (const char* sub = xml.GetAttr(tag, "path")) folder += std::string(sub) + "\\";
            continue;
        }
        if (code && !std::strncmp(tag, "common", 6)) {
            LxRect r = xml.GetRect(tag);
            char codes[2] = {static_cast<char>(code), 0};
            ok = DrawSelectionButton(folder + ToDoubledText(codes), code,
                                     RECT{r.left, r.top, r.right, r.bottom}, fonts) &&
                 ok;
        }
        if (std::strncmp(tag, "control", 7) != 0) continue;
        const char* name = xml.GetAttr(tag, "name");
        code = 0;
        if (name && std::strlen(name) >= 3 && name[0] >= '0' && name[0] <= '9' && name[1] >= '0' &&
            name[1] <= '9')
            code = DecodeLetter(name + 2);
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
    CLxRLEFonts big, middle, text;
    big.Load("data\\fonts\\tnr128.xml");
    middle.Load("data\\fonts\\tnr48.xml");
    std::vector<CLxRLEFonts*> letterFonts{&big, &middle};
    text.Load("data\\fonts\\tnr32.xml");
    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        if (!arg.compare(0, 4, "sel:"))
            ok = DrawSelection(arg.c_str() + 4, letterFonts) && ok;
        else if (!arg.compare(0, 5, "help:"))
            ok = DrawHelp(arg.substr(5), &text) && ok;
    }
    return ok ? 0 : 1;
}
