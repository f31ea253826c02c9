// The call-picture catalogue; see LxCallPic.h. The file is walked tag by tag: the root
// ("Lexo...") names the picture folder, each "character" starts an entry, and its
// "lower", "upper" and "word" children fill the first and then the second fields up
// to "/character", after which the missing positions get their defaults.
#include "media/LxCallPic.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "media/LxFontServer.h"
#include "reading/LxLetters.h"
#include "shell/LxXMLParser.h"

namespace {
// The folder of the root's "path": one leading and one trailing backslash removed.
std::string Folder(const char* path) {
    std::string_view p = path ? path : "";
    if (!p.empty() && p.front() == '\\') p.remove_prefix(1);
    if (!p.empty() && p.back() == '\\') p.remove_suffix(1);
    return "data\\" + std::string(p) + "\\";
}

void Default(LxCallPicEntry::Position* p, int x, int y) {
    if (p->x == 0) *p = {x, y};
}

void Layout(LxCallPicEntry& e, const CLxRLEFonts* font) {
    bool pair = IsVowelPair(e.code);
    int shift = 100 * (pair ? 0 : 1);
    Default(&e.lower, 20, 16);
    Default(&e.upper, shift - GlyphWidth(font, ToUpper(PairShort(e.code))) + 280, 16);
    Default(&e.wordAt, shift - (font ? font->RawTextWidth(e.Word()) : 0) + 280, 316);
    if (!pair) return;
    Default(&e.secondLower, 316, 16);
    Default(&e.secondUpper, 584 - GlyphWidth(font, ToUpper(PairLong(e.code))), 16);
    Default(&e.secondWordAt, 584 - (font ? font->RawTextWidth(e.SecondWord()) : 0), 316);
}
} // namespace

CLxCallPic::CLxCallPic(const char* path) {
    CLxXMLParser xml;
    if (!path || !xml.Open(path)) return;
    CLxRLEFonts own;
    CLxRLEFonts* font = ServedFont("data\\fonts\\tnr48.xml");
    if (!font && own.Load("data\\fonts\\tnr48.xml")) font = &own;
    LxCallPicEntry* entry = nullptr;
    bool secondLower = false, secondUpper = false, secondWord = false;
    while (char* tag = xml.NextTag()) {
        if (LxTagStarts(tag, "Lexo")) {
            if (char* p = xml.GetAttr(tag, "path")) m_folder = Folder(p);
        } else if (LxTagStarts(tag, "character")) {
            if (static_cast<int>(m_entries.size()) == kMaxEntries) {
                std::printf("CallPic: more than %d letters, the rest skipped\n", kMaxEntries);
                std::fflush(stdout);
                break;
            }
            m_entries.emplace_back();
            entry = &m_entries.back();
            const char* name = xml.GetAttr(tag, "name");
            entry->code = DecodeLetter(name ? name : "");
            const char* picture = xml.GetAttr(tag, "picture");
            entry->picture = picture ? picture : "";
            secondLower = secondUpper = secondWord = false;
        } else if (!entry) {
            continue;
        } else if (LxTagStarts(tag, "/character")) {
            Layout(*entry, font);
            entry = nullptr;
        } else if (LxTagStarts(tag, "lower")) {
            LxPoint p = xml.GetPosition(tag);
            (secondLower ? entry->secondLower : entry->lower) = {p.x, p.y};
            secondLower = true;
        } else if (LxTagStarts(tag, "upper")) {
            LxPoint p = xml.GetPosition(tag);
            (secondUpper ? entry->secondUpper : entry->upper) = {p.x, p.y};
            secondUpper = true;
        } else if (LxTagStarts(tag, "word")) {
            LxPoint p = xml.GetPosition(tag);
            const char* word = xml.GetAttr(tag, "word");
            std::string codes(1, '$');
            codes += TextToCodes(word ? word : "");
            (secondWord ? entry->secondWordAt : entry->wordAt) = {p.x, p.y};
            (secondWord ? entry->second : entry->word) = codes;
            secondWord = true;
        }
    }
    if (entry) Layout(*entry, font); // a file that ends inside an entry
}

int CLxCallPic::FindLetter(unsigned char code) const {
    for (int i = Count() - 1; i >= 0; --i)
        if (m_entries[i].code == code) return i;
    return -1;
}

const char* CLxCallPic::PicturePath(int index) {
    m_path.clear();
    if (index >= 0 && index < Count()) m_path = m_folder + m_entries[index].picture + ".bmp";
    return m_path.c_str();
}
