// Reading game 1 for a single letter; see LxRGameScr1.h. The set-up draws the lesson's
// words or the call picture into the background and arms the recognition driver: a
// vowel in per-phoneme mode (state 1) with the 128-pixel letter as overlay, a consonant
// waiting for an utterance (state 2). The timer handler reads the driver's outputs: a
// finished recognition (state 5) restarts the set-up, showing the key word when the
// letter was right; for a vowel it runs the light's small state machine (dark, settling
// for 80 ms, lit short, and lit long after 360 ms for a vowel pair) on the best class,
// its clock, the level and the class score.
#include "reading/LxRGameScr1.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "media/LxCallPic.h"
#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxProgram.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

namespace {
const char* const kWordFont = "data\\fonts\\tnr32.xml";
const char* const kPictureFont = "data\\fonts\\tnr48.xml";
const char* const kVowelFont = "data\\fonts\\tnr128.xml";
constexpr int kMaxWords = 12;
constexpr size_t kMaxWordCodes = 63;
constexpr int kConsonantPeriod = 15; // ms: an utterance's end is found sooner

uint32_t LetterColour(unsigned char letter) {
    return IsVowel(letter) ? 0xFF0000 : 0x04A820;
}

// The word as letter codes with a "$" before each letter of the lesson, cut to fit.
std::string MarkedCodes(const std::string& word, unsigned char letter) {
    std::string codes;
    for (unsigned char code : TextToCodes(word.c_str())) {
        if (ToLower(code) == letter) codes += '$';
        codes += static_cast<char>(code);
    }
    if (codes.size() > kMaxWordCodes) codes.resize(kMaxWordCodes);
    return codes;
}

void DrawPosition(CLxRLEFonts* font, const char* codes, const LxCallPicEntry::Position& at) {
    if (codes && *codes) font->DrawRawText(codes, at.x, at.y);
}

// The box of a slot's glyph centred in its rectangle; false when the font lacks it.
bool GlyphBox(CLxRLEFonts* font, unsigned char code, const RECT& slot, RECT* box) {
    const CLxRLEBitmap* glyph = font ? font->Glyph(code) : nullptr;
    if (!glyph) return false;
    int x = (slot.left + slot.right - glyph->m_nWidth) / 2;
    int y = (slot.top + slot.bottom - glyph->m_nHeight) / 2;
    *box = RECT{x, y, x + glyph->m_nWidth, y + glyph->m_nHeight};
    return true;
}

void SetWeight(int slot, int weight) {
    uint32_t rgb = static_cast<uint32_t>(g_Driver.aColors[slot]) & 0xFFFFFF;
    g_Driver.aColors[slot] = static_cast<int>(rgb | static_cast<uint32_t>(weight) << 24);
}

float HistoryAt(int row) {
    int at = g_Driver.nWrite;
    if (row < 0 || row >= kHistoryRows || at < 0 || at >= kHistoryMax) return 0.0f;
    return g_Driver.aHistory[row][at];
}
} // namespace

int ScoreWeight(float score) {
    score = std::clamp(score, 0.0f, 1.0f);
    return static_cast<int>(std::floor((1.0f - score) * 255.0f));
}

CLxSurface* MakeCallPicture(unsigned char letter) {
    int index = g_pCallPics ? g_pCallPics->FindLetter(letter) : -1;
    if (index < 0) {
        std::printf("call pic not found.\n");
        std::fflush(stdout);
        return nullptr;
    }
    const LxCallPicEntry& entry = g_pCallPics->Entry(index);
    CLxSurface* file = LoadBitmap(g_pCallPics->PicturePath(index));
    int width = 0, height = 0;
    if (!GetSurfaceSize(file, &width, &height)) {
        FreeSurface(&file);
        std::printf("call pic not found.\n");
        std::fflush(stdout);
        return nullptr;
    }
    CLxSurface* picture = CreateSurface(width, height);
    BltSurfaceFast(picture, 0, 0, file, nullptr, 0);
    FreeSurface(&file);
    CLxRLEFonts* font = ServedFont(kPictureFont);
    LxSurfaceDesc locked;
    if (!font || picture->Lock(nullptr, &locked) != 0) return picture;
    font->Attach(&locked);
    bool vowel = IsVowel(letter);
    if (vowel)
        font->SetColors(0, 0, 0, 255, 0, 0);
    else
        font->SetColors(0, 0, 0, 4, 168, 32);
    uint32_t colour = LetterColour(letter);
    unsigned char shortMember = ToLower(PairShort(letter));
    DrawPosition(font, entry.Word()[0] ? entry.Accented() : nullptr, entry.wordAt);
    font->DrawChar(shortMember, colour, entry.lower.x, entry.lower.y);
    font->DrawChar(ToUpper(shortMember), colour, entry.upper.x, entry.upper.y);
    if (IsVowelPair(letter)) {
        unsigned char longMember = ToLower(PairLong(letter));
        DrawPosition(font, entry.SecondWord()[0] ? entry.SecondAccented() : nullptr,
                     entry.secondWordAt);
        font->DrawChar(longMember, colour, entry.secondLower.x, entry.secondLower.y);
        font->DrawChar(ToUpper(longMember), colour, entry.secondUpper.x, entry.secondUpper.y);
    }
    font->Attach(nullptr);
    picture->Unlock();
    return picture;
}

CLxRGameScr1::CLxRGameScr1(const char* descriptionPath) : CLxReadingScr(descriptionPath) {
    m_szName = IsVowel(m_nLetter) ? "RGame1g" : "RGame1s";
    SetControlFlag("fo.jatek1", kSelected, true);
    SetUp();
}

CLxRGameScr1::~CLxRGameScr1() {
    LxSendMessage(kMsgStop);
}

void CLxRGameScr1::SetUp() {
    LxSendMessage(kMsgStop);
    m_bWords = DrawWords();
    bool vowel = IsVowel(m_nLetter);
    bool pair = IsVowelPair(m_nLetter);
    // The letter (a vowel pair's short and long form) lights in the call picture; a
    // consonant's slot only places its key word. Without a picture nothing lights.
    LxOverlaySlot slots[2] = {};
    int count = 0;
    if (CLxSurface* picture = MakeCallPicture(m_nLetter)) {
        int colour = static_cast<int>(LetterColour(m_nLetter));
        unsigned char first = vowel ? ToLower(PairShort(m_nLetter)) : 0;
        if (pair) {
            slots[count++] = {first, colour, RECT{110, 300, 230, 460}};
            slots[count++] = {ToLower(PairLong(m_nLetter)), colour, RECT{410, 300, 530, 460}};
        } else {
            slots[count++] = {first, colour, RECT{160, 300, 280, 460}};
        }
        if (CLxSurface* background = m_pGUI->m_pBackground) {
            if (m_bWords) {
                RECT small{20, 200, 220, 400};
                BltSurface(background, &small, picture, nullptr, 0);
            } else {
                BltSurfaceFast(background, 20, 180, picture, nullptr, 0);
            }
        }
        FreeSurface(&picture);
    }
    m_pGUI->DrawBackground(nullptr, nullptr, true);
    if (m_bWords) return;
    SetDriverMode({vowel ? kDriverPhonemes : kDriverWaiting,
                   vowel ? kListenPeriod : kConsonantPeriod, kSmoothFrames,
                   ServedFont(vowel ? kVowelFont : kPictureFont), nullptr, slots, count});
    SetControlState("fo.hangero", 12);
    SetControlState("fo.thangero", 12);
    LxSendMessage(kMsgRecord);
}

// The lesson's words in two colours, one per row; a long word with a blank takes two
// rows, its rest right-aligned. False when the lesson has no words for this game.
bool CLxRGameScr1::DrawWords() {
    std::vector<std::string> words = LessonList(m_nLetter, "game1", "words", kMaxWords);
    if (words.empty()) return false;
    CLxRLEFonts* font = ServedFont(kWordFont);
    CLxSurface* background = m_pGUI->m_pBackground;
    LxSurfaceDesc locked;
    if (!font || !background || background->Lock(nullptr, &locked) != 0) return true;
    font->Attach(&locked);
    font->SetColors(128, 64, 0, 4, 168, 32);
    int shift = 0;
    for (size_t k = 0; k < words.size(); ++k) {
        const std::string& word = words[k];
        int y = 180 + 52 * static_cast<int>(k) + shift;
        size_t blank = word.find(' ');
        if (blank == std::string::npos || font->TextWidth(word.c_str()) <= 460) {
            font->DrawRawText(MarkedCodes(word, m_nLetter).c_str(), 240, y);
            continue;
        }
        font->DrawRawText(MarkedCodes(word.substr(0, blank), m_nLetter).c_str(), 240, y);
        std::string rest = MarkedCodes(word.substr(blank + 1), m_nLetter);
        font->DrawRawText(rest.c_str(), 664 - font->RawTextWidth(rest.c_str()), y + 44);
        shift += 44;
    }
    font->Attach(nullptr);
    background->Unlock();
    return true;
}

int CLxRGameScr1::OnTimerEvent(CLxTimerEvent* event) {
    if ((LxClock() & 0x60) == 0x60) {
        if (CLxControl* meter = m_pGUI->FindControl("fo.hangero"); meter && meter->Is(kVisible))
            meter->Draw();
    }
    if (g_Driver.nState == kDriverRecognised) {
        ShowRecognised();
        return 0;
    }
    if (event && event->m_nMessage != static_cast<int>(kMsgTimer) && IsVowel(m_nLetter))
        LightVowel(event);
    return 0;
}

// A recognised utterance: listen again, and when it was the lesson's letter show its
// key word twice as large.
void CLxRGameScr1::ShowRecognised() {
    std::string word;
    if (g_Driver.aLetters[0] && g_Driver.aLetters[0] == m_nLetter && g_pCallPics) {
        int index = g_pCallPics->FindLetter(m_nLetter);
        if (index >= 0) word = g_pCallPics->Entry(index).Word();
    }
    SetUp();
    if (!word.empty()) DrawLargeWord(word.c_str());
}

void CLxRGameScr1::DrawLargeWord(const char* codes) {
    CLxRLEFonts* font = g_Driver.pOverlayFont;
    if (!font || !g_pDrawSurface) return;
    const RECT& slot = g_Driver.aRects[0];
    uint32_t colour = static_cast<uint32_t>(g_Driver.aColors[0]);
    int x = (slot.left + slot.right) / 2 - font->RawTextWidth(codes);
    int y = (slot.top + slot.bottom) / 2 - font->Height();
    for (const char* p = codes; *p; ++p) {
        const CLxRLEBitmap* glyph = font->Glyph(static_cast<unsigned char>(*p));
        if (!glyph) continue;
        CLxRLEBitmap large = *glyph;
        large.Scale(glyph->m_nWidth * 2, glyph->m_nHeight * 2);
        large.Draw(g_pDrawSurface, x - 1, y - 1, colour);
        large.Draw(g_pDrawSurface, x, y, colour);
        x += glyph->m_nWidth * 2 + 4;
    }
}

void CLxRGameScr1::LightVowel(const CLxTimerEvent*) {
    bool pair = IsVowelPair(m_nLetter);
    int slots = pair ? 2 : 1;
    if (CLxRLEFonts* font = g_Driver.pOverlayFont;
        font && g_pDrawSurface && m_pGUI->m_pBackground) {
        for (int i = 0; i < slots; ++i) {
            RECT box;
            if (GlyphBox(font, g_Driver.aLetters[i], g_Driver.aRects[i], &box))
                BltSurface(g_pDrawSurface, &box, m_pGUI->m_pBackground, &box, 0);
        }
    }
    int now = LxClock();
    int held = now - g_Driver.nBestClock;
    int lit = pair && held >= kVowelLongMs ? 1 : 0;
    // A long vowel is heard as its short one's class ("í" as "i").
    int place = TherapyPlace(ShortForm(ToLower(PairShort(m_nLetter))));
    bool heard = place >= 0 && place <= 19 && HistoryAt(kRowLevel) > g_Driver.fMinLevel * 0.0625f &&
                 g_Driver.nBestClass == place;
    SetWeight(0, 0xFF);
    SetWeight(1, 0xFF);
    if (!heard) {
        g_Driver.nBestClock = now;
        return;
    }
    if (held < kVowelSettleMs) return;
    SetWeight(lit, ScoreWeight(HistoryAt(place)));
}
