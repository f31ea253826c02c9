// The domino game; see LxRDominoScr.h. Each tile is a bitmap sprite "fo.dNN" with three
// looks made when the game is built: the picture and the letter (normal), the letter in
// grey and darkened (for tiles that can no longer move), and darkened in a red frame
// (under the mouse). The chain's places are shadows drawn into the background.
#include "reading/LxRDominoScr.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxRLEBitmap.h"
#include "media/LxSmallPic.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "reading/LxReadingGame.h"
#include "shell/LxClock.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxGroup.h"
#include "ui/LxSprite.h"

namespace {
const char* const kEndSound = "data\\sounds\\DominoEnd.wav";
const char* const kShadow = "data\\sprites\\domino.rle";
const char* const kLetterFont = "data\\fonts\\tnr32.xml";
constexpr int kTileWidth = 128, kTileHeight = 64, kHalf = 64;
constexpr RECT kClip{20, 180, 660, 580};
constexpr POINT kFirstTile{16, 440};
constexpr int kSlots = 8;
constexpr uint32_t kGrey = 0x808080, kWhite = 0xFFFFFF, kRed = 0xFF0000;
constexpr uint32_t kShadowColour = 0x30004080; // blend weight 0x30
constexpr float kDisabledShade = 0.8f, kHotShade = 0.9f;
const char* const kNoCommaWord = "alma";
constexpr unsigned char kNoCommaLetter = 'x';

void MoveSprite(CLxControl* sprite, POINT to) {
    sprite->MoveTo(to.x - sprite->OriginX(), to.y - sprite->OriginY());
}

bool Contains(const std::string& codes, unsigned char code) {
    return code && codes.find(static_cast<char>(code)) != std::string::npos;
}

// The place of a tile in the hand (tiles 1 to 9).
POINT HandPlace(int f) {
    return POINT{36 + 160 * ((f - 1) / 2), f % 2 ? 180 : 260};
}
} // namespace

bool DominoFits(const std::string& word, unsigned char letter) {
    std::string codes = TextToCodes(word.c_str());
    for (char& c : codes)
        c = static_cast<char>(ToLower(static_cast<unsigned char>(c)));
    letter = ToLower(letter);
    if (Contains(codes, letter)) return true;
    return !IsVowel(letter) && Contains(codes, LongForm(letter));
}

POINT CLxRDominoScr::Target(int n) {
    return POINT{64 * n + 16, n % 2 ? 504 : 440};
}

CLxRDominoScr::CLxRDominoScr(const char* descriptionPath)
    : CLxReadingScr(descriptionPath), m_random(static_cast<unsigned>(LxClock())) {
    m_szName = "Domino";
    SetControlFlag("fo.jatek7", kSelected, true);
    DrawSlots();
    ReadTiles();
    for (int f = 0; f < static_cast<int>(m_tiles.size()); ++f)
        MakeTile(f);
    if (g_pSoundServer) m_pEndSound = g_pSoundServer->GetSound(kEndSound, -1, -1);
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

CLxRDominoScr::~CLxRDominoScr() {
    // The sprites are the description's; their pictures are the screen's.
    delete m_pGUI;
    m_pGUI = nullptr;
    for (Tile& tile : m_tiles)
        for (CLxSurface*& look : tile.looks)
            FreeSurface(&look);
    if (m_pEndSound && g_pSoundServer) g_pSoundServer->ReleaseSound(m_pEndSound);
}

// The pairs of the lesson, shuffled: each place swapped with a random place from it on.
void CLxRDominoScr::ReadTiles() {
    for (std::string& item : LessonList(m_nLetter, "domino", "pairs", kMaxTiles)) {
        char* parts[2] = {};
        Tile tile;
        if (CLxXMLParser::SplitList(item.data(), parts, 2) == 2) {
            tile.word = parts[0];
            tile.letter = DecodeLetter(parts[1]);
        } else {
            tile.word = kNoCommaWord;
            tile.letter = kNoCommaLetter;
        }
        m_tiles.push_back(tile);
    }
    int n = static_cast<int>(m_tiles.size());
    for (int j = 0; j + 1 < n; ++j)
        std::swap(m_tiles[j], m_tiles[j + static_cast<int>(m_random() % (n - j))]);
}

void CLxRDominoScr::MakeTile(int f) {
    Tile& tile = m_tiles[f];
    int index = g_pSmallPics ? g_pSmallPics->FindPicture(tile.word.c_str()) : -1;
    CLxGroup* group = m_pGUI->FindGroup("fo");
    if (index < 0 || !group) return;
    std::string path = "data\\domino\\" + g_pSmallPics->Picture(index).name + ".bmp";
    CLxSurface* picture = LoadBitmap(path.c_str());
    CLxRLEFonts* font = ServedFont(kLetterFont);
    const CLxRLEBitmap* glyph = font ? font->Glyph(tile.letter) : nullptr;
    int w = glyph ? glyph->m_nWidth : 0;
    for (int look = 0; look < 3; ++look) {
        CLxSurface* s = CreateSurface(kTileWidth, kTileHeight);
        FillRectRGB(s, nullptr, kWhite);
        RECT left{0, 0, kHalf, kTileHeight}, right{kHalf, 0, kTileWidth, kTileHeight};
        if (picture->m_pSurface) BltSurface(s, &left, picture, nullptr, 0);
        OutlineRectRGB(s, &left, kGrey);
        OutlineRectRGB(s, &right, kGrey);
        LxSurfaceDesc locked;
        if (font && s->Lock(nullptr, &locked) == 0) {
            font->Attach(&locked);
            font->DrawChar(tile.letter, look == 1 ? kGrey : LetterColour(tile.letter), 96 - w / 2,
                           8);
            font->Attach(nullptr);
            s->Unlock();
        }
        if (look == 1) Shade(s, nullptr, kDisabledShade);
        if (look == 2) {
            Shade(s, nullptr, kHotShade);
            OutlineRectRGB(s, nullptr, kRed);
        }
        tile.looks[look] = s;
    }
    FreeSurface(&picture);
    POINT at = f == 0 ? kFirstTile : HandPlace(f);
    char name[8];
    std::snprintf(name, sizeof name, "d%02d", f);
    CLxSprite::Descriptor d{
        m_pGUI,
        group,
        m_pGUI->StoreText(name),
        RECT{at.x - group->m_nX, at.y - group->m_nY, at.x - group->m_nX + kTileWidth,
             at.y - group->m_nY + kTileHeight},
        kClip,
        {tile.looks[1], tile.looks[0], tile.looks[2], tile.looks[0], tile.looks[2]},
        false,
        false};
    tile.sprite = new CLxBMPSprite(&d);
    int state = f == 0 ? kVisible | kSelected : f <= kHandTiles ? kVisible | kEnabled : 0;
    tile.sprite->m_nFlags = state;
}

void CLxRDominoScr::DrawSlots() {
    CLxRLEBitmap shadow(kShadow);
    if (!m_pGUI->m_pBackground || shadow.m_nWidth == 0) return;
    for (int k = 0; k < kSlots; ++k)
        shadow.Draw(m_pGUI->m_pBackground, 80 + 64 * k, k % 2 ? 440 : 504, kShadowColour);
}

int CLxRDominoScr::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingScr::OnMouseEvent(event)) return sent;
    if (!event || !event->m_pControl) return 0;
    for (int f = 0; f < static_cast<int>(m_tiles.size()); ++f) {
        if (!m_tiles[f].sprite || m_tiles[f].sprite != event->m_pControl) continue;
        RECT at;
        if (event->m_nType == kMouseDown && m_tiles[f].sprite->GetDrawRect(&at))
            m_ptFrom = POINT{at.left, at.top};
        if (event->m_nType == kMouseClick || event->m_nType == kMouseReleasedOut) Drop(f);
        break;
    }
    return 0;
}

// A tile let go: placed at the chain's next place when it lies near enough and its word
// fits the last tile's letter, else back where it came from.
void CLxRDominoScr::Drop(int f) {
    CLxBMPSprite* sprite = m_tiles[f].sprite;
    RECT at;
    if (!sprite->Is(kEnabled) || !sprite->GetDrawRect(&at)) return;
    POINT target = Target(m_nChain);
    bool near = std::abs(at.left - target.x) <= kSlack && std::abs(at.top - target.y) <= kSlack;
    m_pGUI->DrawBackground(&at, sprite, true);
    if (!near || m_bEnded || !DominoFits(m_tiles[f].word, m_tiles[m_nLast].letter)) {
        MoveSprite(sprite, m_ptFrom);
        sprite->Draw();
        return;
    }
    MoveSprite(sprite, target);
    sprite->m_nFlags = kVisible;
    sprite->Draw();
    m_nLast = f;
    ++m_nChain;
    int next = m_nChain + 7;
    if (next < static_cast<int>(m_tiles.size()) && m_tiles[next].sprite) {
        MoveSprite(m_tiles[next].sprite, m_ptFrom);
        m_tiles[next].sprite->m_nFlags = kVisible | kEnabled;
        m_tiles[next].sprite->Draw();
    }
    if (m_nChain < kChainEnd) return;
    m_bEnded = true;
    if (m_pEndSound) PlaySound(m_pEndSound, false, true);
}
