// Hungarian letters as one-byte letter codes, and the alphabet loaded at start-up.
// A letter may be written with up to four characters ("cs", "dzs", "ssz", "ddzs"); the
// reading games, therapy screens and fonts work on whole letters, so each gets one code:
//   1..127   the ASCII character (10, the line break, is written as backslash and n);
//   128+n    extra letter n of the alphabet file (such as "b-p"), while n is defined;
//   192..223 the upper-case special letters (Cs, Á, Dz, Dzs, ...), 224..255 lower case.
// Code strings end with 0 like texts. Texts are the program's Latin-2 bytes.
#pragma once
#include <string>

// Fills the alphabet from the "character" element of the alphabet file (vowels,
// consonants, pairs, extra letters from "order", collation from "sort") and the therapy
// letter order from the therapy file. A file that cannot be read leaves its tables empty
// (and the collation the identity).
void LoadAlphabet(const char* alphabetPath, const char* therapyPath);

// The 0-terminated lists of the alphabet; the therapy order holds up to 31 codes.
const unsigned char* VowelList();
const unsigned char* ConsonantList();
const unsigned char* PairList();
const unsigned char* TherapyOrder();
int ExtraLetterCount();

// The code of the letter at the start of text; used gets the bytes it takes (0 at the
// end of the text). Never looks past the text's terminating 0.
unsigned char DecodeLetter(const char* text, int* used = nullptr);
// The bytes of a code's text form.
int LetterLength(unsigned char code);
std::string EncodeLetter(unsigned char code);
std::string TextToCodes(const char* text);
std::string CodesToText(const char* codes);
// Text with ő, ű, Ő, Ű doubled as öö, üü, ÖÖ, ÜÜ (for file names), and back to codes.
std::string ToDoubledText(const char* codes);
std::string DoubledTextToCodes(const char* text);

unsigned char ToLower(unsigned char code);
unsigned char ToUpper(unsigned char code);
// The long vowel or geminate consonant of a letter and back, keeping its case.
unsigned char LongForm(unsigned char code);
unsigned char ShortForm(unsigned char code);
bool IsVowel(unsigned char code);
bool IsVowelPair(unsigned char code);
bool IsExtraLetter(unsigned char code);
// The long or short member of a vowel pair (ií, oó, öő, uú, üű); others unchanged.
unsigned char PairLong(unsigned char code);
unsigned char PairShort(unsigned char code);

// Alphabetical order of code strings: -1, 0 or +1. Letters compare by collation rank;
// a short vowel and its long form share a rank and only decide between strings that are
// otherwise equal, the short one first. A strict weak order, so it can drive a sort.
int CompareCodes(const char* a, const char* b);
// Sorts items[first..last] (inclusive) with CompareCodes.
void SortCodes(char** items, int first, int last);
