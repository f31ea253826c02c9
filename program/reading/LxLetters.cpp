// Letter codes and the alphabet; see LxLetters.h. Decoding reports the bytes it took, so
// a text is walked by what was read rather than by a code's text length, which differs
// for stray bytes (a UTF-8 "á" would otherwise skip three bytes as "Dzs"). The tables are
// filled once on the window thread and only read afterwards.
#include "reading/LxLetters.h"

#include <algorithm>
#include <cstring>

#include "shell/LxXMLParser.h"

namespace {

// Text forms of the upper-case special letters 192..223 (Latin-2 bytes).
const char* const kUpperForms[32] = {
    "Cs",    "\xC1",  "Dz",   "Dzs",  "Gy",   "Ly",       "Ny",    "Sz",
    "Ty",    "\xC9",  "Zs",   "Ccs",  "Ddz",  "\xCD",     "Ddzs",  "Ggy",
    "Lly",   "Nny",   "Ssz",  "\xD3", "Tty",  "\xD5",     "\xD6",  "Zzs",
    "I\xED", "O\xF3", "\xDA", "\xDB", "\xDC", "\xD6\xF5", "U\xFA", "\xDC\xFB",
};

// Lower-case short and long forms.
const unsigned char kShortLong[][2] = {
    {'i', 237}, {'o', 243}, {'u', 250}, {246, 245}, {252, 251}, {224, 235}, {226, 236},
    {227, 238}, {228, 239}, {229, 240}, {230, 241}, {231, 242}, {232, 244}, {234, 247},
};

// Lower-case vowel pairs and their short and long members.
const unsigned char kPairs[][3] = {
    {248, 'i', 237}, {249, 'o', 243}, {253, 246, 245}, {254, 'u', 250}, {255, 252, 251},
};

constexpr int kMaxExtra = 64;

unsigned char g_vowels[32];
unsigned char g_consonants[64];
unsigned char g_pairList[32];
unsigned char g_therapyOrder[32];
std::string g_extra[kMaxExtra];
int g_extraCount = 0;
unsigned char g_rank[256];

bool IsBlank(unsigned char c) {
    return c >= 1 && c <= 32;
}

bool InList(const unsigned char* list, unsigned char code) {
    return code && std::strchr(reinterpret_cast<const char*>(list), code);
}

// Reads a letter list ("a, á, cs") into list, keeping at most size - 1 codes.
void ReadLetterList(const char* text, unsigned char* list, int size) {
    int count = 0;
    while (*text) {
        if (*text == ',') ++text;
        while (IsBlank(static_cast<unsigned char>(*text)))
            ++text;
        int used = 0;
        unsigned char code = DecodeLetter(text, &used);
        if (!used) break;
        if (count < size - 1) list[count++] = code;
        text += used;
    }
    std::memset(list + count, 0, static_cast<size_t>(size - count));
}

// The extra letters: items of "order" with a hyphen before the next comma.
void ReadExtraLetters(const char* text) {
    g_extraCount = 0;
    while (*text && g_extraCount < kMaxExtra) {
        while (IsBlank(static_cast<unsigned char>(*text)))
            ++text;
        size_t length = std::strcspn(text, ",");
        const char* hyphen = static_cast<const char*>(std::memchr(text, '-', length));
        if (hyphen) g_extra[g_extraCount++].assign(text, std::min<size_t>(length, 11));
        text += length;
        if (*text == ',') ++text;
    }
    for (int i = g_extraCount; i < kMaxExtra; ++i)
        g_extra[i].clear();
}

void ReadRanks(const char* text) {
    std::memset(g_rank, 255, sizeof g_rank);
    for (int digit = 0; digit <= 8; ++digit)
        g_rank['0' + digit] = static_cast<unsigned char>(240 + digit);
    unsigned char letters[256];
    ReadLetterList(text, letters, sizeof letters);
    int rank = 1;
    for (const unsigned char* p = letters; *p; ++p, rank = std::min(rank + 1, 239)) {
        unsigned char lower = ToLower(*p);
        unsigned char ranked[2] = {lower, lower};
        if (InList(g_vowels, lower))
            ranked[1] = lower == 'a' ? 225 : lower == 'e' ? 233 : LongForm(lower);
        for (unsigned char c : ranked) {
            g_rank[c] = static_cast<unsigned char>(rank);
            g_rank[ToUpper(c)] = static_cast<unsigned char>(rank);
        }
    }
}

// The special letters that start with a given lower-case first character, longest first.
struct Digraph {
    char first;
    const char* rest; // exactly these lower-case bytes follow
    unsigned char upper;
};
const Digraph kDigraphs[] = {
    {'c', "cs", 203},   {'c', "s", 192},       {'d', "dzs", 206},     {'d', "dz", 204},
    {'d', "zs", 195},   {'d', "z", 194},       {'g', "gy", 207},      {'g', "y", 196},
    {'l', "ly", 208},   {'l', "y", 197},       {'n', "ny", 209},      {'n', "y", 198},
    {'s', "sz", 210},   {'s', "z", 199},       {'t', "ty", 212},      {'t', "y", 200},
    {'z', "zs", 215},   {'z', "s", 202},       {'i', "\xED", 216},    {'o', "\xF3", 217},
    {'u', "\xFA", 222}, {'\xF6', "\xF5", 221}, {'\xFC', "\xFB", 223},
};

// Within one rank, short letters before long ones, then by code: a total order.
bool IsLongLetter(unsigned char c) {
    return c == 225 || c == 233 || ShortForm(c) != c;
}

} // namespace

const unsigned char* VowelList() {
    return g_vowels;
}
const unsigned char* ConsonantList() {
    return g_consonants;
}
const unsigned char* PairList() {
    return g_pairList;
}
const unsigned char* TherapyOrder() {
    return g_therapyOrder;
}
int ExtraLetterCount() {
    return g_extraCount;
}

void LoadAlphabet(const char* alphabetPath, const char* therapyPath) {
    std::memset(g_vowels, 0, sizeof g_vowels);
    std::memset(g_consonants, 0, sizeof g_consonants);
    std::memset(g_pairList, 0, sizeof g_pairList);
    std::memset(g_therapyOrder, 0, sizeof g_therapyOrder);
    ReadExtraLetters("");
    for (int c = 0; c < 256; ++c)
        g_rank[c] = static_cast<unsigned char>(c);

    CLxXMLParser reader;
    if (reader.Open(alphabetPath)) {
        char* tag;
        while ((tag = reader.NextTag()) && !LxTagStarts(tag, "character")) {
        }
        if (tag) {
            if (char* v = reader.GetAttr(tag, "vowels")) ReadLetterList(v, g_vowels, 32);
            if (char* v = reader.GetAttr(tag, "consonants")) ReadLetterList(v, g_consonants, 64);
            if (char* v = reader.GetAttr(tag, "pairs")) ReadLetterList(v, g_pairList, 32);
            if (char* v = reader.GetAttr(tag, "order")) ReadExtraLetters(v);
            if (char* v = reader.GetAttr(tag, "sort")) ReadRanks(v);
        }
    }
    if (!reader.Open(therapyPath)) return;
    while (char* tag = reader.NextTag()) {
        if (!LxTagStarts(tag, "character")) continue;
        if (char* v = reader.GetAttr(tag, "order")) ReadLetterList(v, g_therapyOrder, 32);
    }
}

unsigned char DecodeLetter(const char* text, int* used) {
    int dummy;
    if (!used) used = &dummy;
    *used = 0;
    if (!text || !*text) return 0;
    size_t available = strnlen(text, 4);

    if (g_extraCount > 0 && std::memchr(text + 1, '-', available - 1)) {
        int best = -1;
        for (int i = 0; i < g_extraCount; ++i)
            if (std::string_view(text).starts_with(g_extra[i]) &&
                (best < 0 || g_extra[i].size() > g_extra[best].size()))
                best = i;
        if (best >= 0) {
            *used = static_cast<int>(g_extra[best].size());
            return static_cast<unsigned char>(128 + best);
        }
    }
    if (text[0] == '\\' && text[1] == 'n') {
        *used = 2;
        return 10;
    }
    unsigned char first = static_cast<unsigned char>(text[0]);
    bool upper = ToLower(first) != first;
    char lower = static_cast<char>(ToLower(first));
    for (const Digraph& d : kDigraphs) {
        if (d.first != lower || !std::string_view(text + 1).starts_with(d.rest)) continue;
        *used = 1 + static_cast<int>(std::strlen(d.rest));
        return upper ? d.upper : static_cast<unsigned char>(d.upper + 32);
    }
    *used = 1;
    return first;
}

int LetterLength(unsigned char code) {
    if (code >= 192) return static_cast<int>(std::strlen(kUpperForms[(code - 192) & 31]));
    if (IsExtraLetter(code)) return static_cast<int>(g_extra[code - 128].size());
    return code == 10 ? 2 : 1;
}

std::string EncodeLetter(unsigned char code) {
    if (code == 10) return "\\n";
    if (IsExtraLetter(code)) return g_extra[code - 128];
    if (code < 192) return std::string(1, static_cast<char>(code));
    std::string form = kUpperForms[(code - 192) & 31];
    // Lower case raises the first byte only when it is an upper-case letter.
    unsigned char first = static_cast<unsigned char>(form[0]);
    if (code >= 224 && ((first >= 'A' && first <= 'Z') || (first >= 0xC0 && first <= 0xDE)))
        form[0] = static_cast<char>(first + 0x20);
    return form;
}

std::string TextToCodes(const char* text) {
    std::string codes;
    int used;
    unsigned char code;
    while (text && (code = DecodeLetter(text, &used), used > 0)) {
        codes += static_cast<char>(code);
        text += used;
    }
    return codes;
}

std::string CodesToText(const char* codes) {
    std::string text;
    for (const char* p = codes; p && *p; ++p)
        text += EncodeLetter(static_cast<unsigned char>(*p));
    return text;
}

std::string ToDoubledText(const char* codes) {
    std::string text;
    for (const char* p = codes; p && *p; ++p) {
        switch (static_cast<unsigned char>(*p)) {
        case 0xF5:
            text += "\xF6\xF6";
            break;
        case 0xFB:
            text += "\xFC\xFC";
            break;
        case 0xD5:
            text += "\xD6\xD6";
            break;
        case 0xDB:
            text += "\xDC\xDC";
            break;
        default:
            text += EncodeLetter(static_cast<unsigned char>(*p));
        }
    }
    return text;
}

std::string DoubledTextToCodes(const char* text) {
    static const struct {
        const char* doubled;
        unsigned char code;
    } kDoubled[] = {{"\xD6\xD6", 213}, {"\xDC\xDC", 219}, {"\xF6\xF6", 245}, {"\xFC\xFC", 251}};
    std::string codes;
    while (text && *text) {
        int used = 0;
        unsigned char code = 0;
        for (const auto& d : kDoubled)
            if (std::string_view(text).starts_with(d.doubled)) code = d.code, used = 2;
        if (!used) code = DecodeLetter(text, &used);
        codes += static_cast<char>(code);
        text += used;
    }
    return codes;
}

unsigned char ToLower(unsigned char code) {
    if ((code >= 'A' && code <= 'Z') || (code >= 192 && code <= 223))
        return static_cast<unsigned char>(code + 32);
    return code;
}

unsigned char ToUpper(unsigned char code) {
    if ((code >= 'a' && code <= 'z') || code >= 224) return static_cast<unsigned char>(code - 32);
    return code;
}

unsigned char LongForm(unsigned char code) {
    unsigned char lower = ToLower(code);
    for (const auto& sl : kShortLong)
        if (sl[0] == lower) return lower == code ? sl[1] : ToUpper(sl[1]);
    return code;
}

unsigned char ShortForm(unsigned char code) {
    unsigned char lower = ToLower(code);
    for (const auto& sl : kShortLong)
        if (sl[1] == lower) return lower == code ? sl[0] : ToUpper(sl[0]);
    return code;
}

bool IsVowel(unsigned char code) {
    return InList(g_vowels, ToLower(code));
}

bool IsVowelPair(unsigned char code) {
    return code == 248 || code == 249 || code == 253 || code == 254 || code == 255;
}

bool IsExtraLetter(unsigned char code) {
    return code >= 128 && code < 128 + g_extraCount;
}

unsigned char PairLong(unsigned char code) {
    for (const auto& p : kPairs)
        if (p[0] == code) return p[2];
    return code;
}

unsigned char PairShort(unsigned char code) {
    for (const auto& p : kPairs)
        if (p[0] == code) return p[1];
    return code;
}

int CompareCodes(const char* a, const char* b) {
    int tie = 0;
    size_t i = 0;
    for (; a[i] && b[i]; ++i) {
        unsigned char x = ToLower(static_cast<unsigned char>(a[i]));
        unsigned char y = ToLower(static_cast<unsigned char>(b[i]));
        if (x == y) continue;
        if (g_rank[x] != g_rank[y]) return g_rank[x] < g_rank[y] ? -1 : 1;
        if (!tie) {
            bool longX = IsLongLetter(x), longY = IsLongLetter(y);
            tie = longX != longY ? (longX ? 1 : -1) : (x < y ? -1 : 1);
        }
    }
    // A shorter string sorts first whatever letter variants came before its end, so the
    // variants only order strings that are otherwise equal.
    if (a[i] || b[i]) return a[i] ? 1 : -1;
    return tie;
}

void SortCodes(char** items, int first, int last) {
    if (!items || first < 0 || last <= first) return;
    std::sort(items + first, items + last + 1,
              [](const char* a, const char* b) { return CompareCodes(a, b) < 0; });
}
