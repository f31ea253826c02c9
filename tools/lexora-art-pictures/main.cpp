// lexora-art-pictures DATAROOT LIST RENDERED: makes the pictures of things of the demo
// data set from the word list (data/pictures/words.txt: word, syllables, source) and
// the sources rendered into RENDERED (one PNG per source, named by the source with
// "/" and ":" turned into "_", as tools/demo-data renders them). Below DATAROOT it
// writes, with the program's own letter code and drawing code:
// - "data\smallpic\NAME.bmp" (200 x 200, white) for every word, NAME being the word
//   in the doubled form of file names, and the small-picture catalogue
//   "data\smallpic.xml" that lists them with groups by letter: "<letter>1" holds the
//   words that begin with the letter, "<letter>2" the words that have it inside;
// - for every letter of "data\callpic.xml" its call picture (640 x 400): a pastel card
//   with the key word's thing (a vowel pair's two things side by side) right of and
//   under the places where the game draws the letters and the word;
// - "data\pictures-licence.txt": each picture's source file and licence.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "PictureFit.h"
#include "core/TextCodec.h"
#include "media/LxCallPic.h"
#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"

namespace {

constexpr int kSmallSize = 200, kSmallMargin = 8;
constexpr int kCallWidth = 640, kCallHeight = 400;
constexpr const char* kClipArt = "clipart:";
constexpr const char* kClipArtFolder = "/usr/share/openclipart/svg/";

struct Thing {
    std::string word;              // Latin-2, as the program compares it
    std::string syllables;         // Latin-2, "|" between syllables
    std::string source;            // as the list writes it
    LxImage drawing;               // cut to what is drawn
    std::vector<std::string> uses; // the pictures made from it
};

std::string Utf8(const std::string& latin2) {
    return talvik::Latin2ToUtf8(latin2);
}

bool Fail(const std::string& message) {
    std::fprintf(stderr, "lexora-art-pictures: %s\n", message.c_str());
    return false;
}

std::string RenderedName(std::string source) {
    for (char& c : source)
        if (c == '/' || c == ':') c = '_';
    return source + ".png";
}

bool ReadList(const std::string& list, const std::string& rendered, std::vector<Thing>* things) {
    std::ifstream in(list);
    if (!in) return Fail("cannot read " + list);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Thing thing;
        if (line.empty() || line[0] == '#' ||
            !(fields >> thing.word >> thing.syllables >> thing.source))
            continue;
        thing.word = talvik::Utf8ToLatin2(thing.word);
        thing.syllables = talvik::Utf8ToLatin2(thing.syllables);
        LxImage image;
        std::string error;
        if (!ReadImage(rendered + "/" + RenderedName(thing.source), &image, &error))
            return Fail(error);
        thing.drawing = CropToDrawing(image);
        if (thing.drawing.pixels.empty()) return Fail(thing.source + ": nothing is drawn");
        things->push_back(std::move(thing));
    }
    return !things->empty() || Fail(list + " names no pictures");
}

bool Save(CLxSurface* surface, const std::string& path) {
    bool ok = SaveBitmap(surface, path.c_str());
    FreeSurface(&surface);
    return ok || Fail("cannot write " + path);
}

std::string FileName(const std::string& word) {
    return ToDoubledText(TextToCodes(word.c_str()).c_str());
}

bool DrawSmallPicture(Thing* thing) {
    CLxSurface* s = CreateSurface(kSmallSize, kSmallSize);
    FillRectRGB(s, nullptr, 0xFFFFFF);
    int room = kSmallSize - 2 * kSmallMargin;
    DrawCentredIn(s, FitInto(thing->drawing, room, room), 0, 0, kSmallSize, kSmallSize);
    std::string path = "data\\smallpic\\" + FileName(thing->word) + ".bmp";
    thing->uses.push_back(path);
    return Save(s, path);
}

// The lower-case letter codes of a word, in order.
std::vector<unsigned char> Letters(const std::string& word) {
    std::vector<unsigned char> letters;
    for (unsigned char code : TextToCodes(word.c_str()))
        letters.push_back(ToLower(code));
    return letters;
}

bool WriteSmallCatalogue(const std::vector<Thing>& things) {
    std::ofstream out("data/smallpic.xml", std::ios::binary);
    out << "\xEF\xBB\xBF<Lexora path=\"smallpic\">\n<!-- Made by lexora-art-pictures from "
           "data/pictures/words.txt. -->\n";
    std::map<unsigned char, std::vector<std::string>> first, inside;
    for (const Thing& t : things) {
        out << "<picture syllable=\"" << Utf8(t.syllables) << "\" name=\"" << Utf8(FileName(t.word))
            << "\" word=\"" << Utf8(t.word) << "\"/>\n";
        std::vector<unsigned char> letters = Letters(t.word);
        first[letters[0]].push_back(t.word);
        std::set<unsigned char> later(letters.begin() + 1, letters.end());
        later.erase(letters[0]);
        for (unsigned char code : later)
            inside[code].push_back(t.word);
    }
    for (int number = 1; number <= 2; ++number)
        for (const auto& [code, words] : number == 1 ? first : inside) {
            out << "<group name=\"" << Utf8(EncodeLetter(code)) << number << "\" pictures=\"";
            for (size_t i = 0; i < words.size(); ++i)
                out << (i ? ", " : "") << Utf8(words[i]);
            out << "\"/>\n";
        }
    out << "</Lexora>\n";
    return out.good() || Fail("cannot write data/smallpic.xml");
}

// A pastel card per catalogue place, round the colour wheel.
void DrawCard(CLxSurface* s, int place) {
    static const uint32_t kWheel[6] = {0xE04040, 0xE0A020, 0x40B040, 0x20A0C0, 0x4060E0, 0xB050C0};
    uint32_t colour = kWheel[place % 6];
    for (int y = 0; y < kCallHeight; ++y) {
        RECT row{0, y, kCallWidth, y + 1};
        FillRectRGB(s, &row,
                    MixRGB(MixRGB(colour, 0xFFFFFF, 7, 8), MixRGB(colour, 0xFFFFFF, 2, 3), y,
                           kCallHeight - 1));
    }
    RECT frame{4, 4, kCallWidth - 4, kCallHeight - 4};
    FrameRect(s, &frame, 0x606060);
}

// A soft grey ellipse, as wide as the box, that the thing stands on.
LxImage Shadow(int width, int height) {
    LxImage shadow;
    shadow.width = width, shadow.height = height;
    shadow.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double dx = (x + 0.5) * 2 / width - 1, dy = (y + 0.5) * 2 / height - 1;
            double inside = 1 - (dx * dx + dy * dy);
            uint32_t alpha = inside > 0 ? static_cast<uint32_t>(70 * std::min(1.0, inside * 3)) : 0;
            shadow.pixels[static_cast<size_t>(y) * width + x] = alpha << 24 | 0x202020;
        }
    return shadow;
}

void DrawThing(CLxSurface* s, const Thing& thing, RECT box) {
    int width = (box.right - box.left) * 4 / 5;
    DrawCentredIn(s, Shadow(width, 24), box.left, box.bottom - 24, box.right, box.bottom);
    DrawCentredIn(s, FitInto(thing.drawing, box.right - box.left, box.bottom - box.top - 12),
                  box.left, box.top, box.right, box.bottom - 12);
}

Thing* FindThing(std::vector<Thing>& things, const std::string& word) {
    for (Thing& t : things)
        if (t.word == word) return &t;
    return nullptr;
}

bool DrawCallPictures(std::vector<Thing>& things) {
    CLxCallPic catalogue("data\\callpic.xml");
    if (!catalogue.Count()) return Fail("no letters in data\\callpic.xml");
    bool ok = true;
    for (int i = 0; i < catalogue.Count(); ++i) {
        const LxCallPicEntry& entry = catalogue.Entry(i);
        Thing* one = FindThing(things, CodesToText(entry.Word()));
        Thing* two =
            *entry.SecondWord() ? FindThing(things, CodesToText(entry.SecondWord())) : nullptr;
        if (!one || (*entry.SecondWord() && !two)) {
            ok = Fail("no picture for the key word of '" + Utf8(EncodeLetter(entry.code)) + "'");
            continue;
        }
        std::string path = catalogue.PicturePath(i);
        CLxSurface* s = CreateSurface(kCallWidth, kCallHeight);
        DrawCard(s, i);
        if (two) {
            DrawThing(s, *one, RECT{24, 80, 304, 306});
            DrawThing(s, *two, RECT{336, 80, 616, 306});
            two->uses.push_back(path);
        } else {
            DrawThing(s, *one, RECT{300, 72, 624, 306});
        }
        one->uses.push_back(path);
        ok = Save(s, path) && ok;
    }
    return ok;
}

bool WriteLicence(const std::vector<Thing>& things) {
    std::ofstream out("data/pictures-licence.txt", std::ios::binary);
    out << "The pictures of things in this data folder (the call pictures in data/callpic and\n"
           "the small pictures in data/smallpic), where each comes from, and its licence.\n\n"
           "clip art: Debian's package openclipart-svg, files below "
        << kClipArtFolder
        << ",\n"
           "  from the Open Clip Art Library, whose drawings are dedicated to the public\n"
           "  domain; they were rendered with rsvg-convert, cut to the drawing and scaled.\n"
           "own: drawn for this demo data in data/pictures of the program's sources, and\n"
           "  dedicated to the public domain as well.\n\n";
    for (const Thing& t : things) {
        bool clipart = t.source.rfind(kClipArt, 0) == 0;
        out << Utf8(t.word) << ": "
            << (clipart ? kClipArtFolder + t.source.substr(8)
                        : "data/pictures/" + t.source.substr(4))
            << " ("
            << (clipart ? "Open Clip Art Library, public domain" : "own drawing, public domain")
            << ")\n";
        for (const std::string& use : t.uses)
            out << "    " << Utf8(use) << "\n";
    }
    return out.good() || Fail("cannot write data/pictures-licence.txt");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: lexora-art-pictures DATAROOT LIST RENDERED\n");
        return 2;
    }
    std::vector<Thing> things;
    if (!ReadList(argv[2], argv[3], &things)) return 1;
    if (chdir(argv[1]) != 0) return Fail(std::string("no folder ") + argv[1]), 1;
    CLxFile::SetRoots(".\\", "data\\");
    LoadAlphabet("data\\olvfej_tem.xml", "data\\beszedjav.xml");
    bool ok = true;
    for (Thing& t : things)
        ok = DrawSmallPicture(&t) && ok;
    ok = WriteSmallCatalogue(things) && ok;
    ok = DrawCallPictures(things) && ok;
    ok = WriteLicence(things) && ok;
    return ok ? 0 : 1;
}
