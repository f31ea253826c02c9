// The shared part of reading games 2 to 7; see LxReadingGame.h.
#include "reading/LxReadingGame.h"

#include <algorithm>
#include <cstdio>

#include "media/LxDraw.h"
#include "media/LxFontServer.h"
#include "media/LxSmallPic.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxSprite.h"

namespace {
constexpr uint32_t kTickKey = 0xFFFFFF;
// A row's darkened strip, and the centre of the letter at its left.
constexpr int kRowStripLeft = 4, kRowStripRight = 660, kRowHeadCentre = 36;
constexpr float kRowShade = 0.9f;
} // namespace

uint32_t LetterColour(unsigned char code) {
    return IsVowel(code) ? kVowelColour : kConsonantColour;
}

void SetTextColours(CLxRLEFonts* font, uint32_t normal, uint32_t accent) {
    font->SetColors(normal >> 16 & 0xFF, normal >> 8 & 0xFF, normal & 0xFF, accent >> 16 & 0xFF,
                    accent >> 8 & 0xFF, accent & 0xFF);
}

int Spread(int k, int n, int span) {
    return n > 1 ? k * span / (n - 1) : span / 2;
}

int GlyphWidth(const char* fontPath, unsigned char code) {
    return GlyphWidth(ServedFont(fontPath), code);
}

bool LiesInside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlaps(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

CLxFontPen::CLxFontPen(CLxRLEFonts* font, CLxSurface* surface) {
    LxSurfaceDesc locked;
    if (!font || !surface || !surface->m_pSurface || surface->Lock(nullptr, &locked) != 0) return;
    font->Attach(&locked);
    m_pFont = font;
    m_pSurface = surface;
}

CLxFontPen::~CLxFontPen() {
    if (!m_pFont) return;
    m_pFont->Attach(nullptr);
    m_pSurface->Unlock();
}

std::vector<std::vector<std::string>> LessonGroups(unsigned char letter, const char* game,
                                                   const char* attr, int groupFrom, int maxGroups,
                                                   int maxItems) {
    std::vector<std::vector<std::string>> groups;
    std::vector<std::string> items = LessonList(letter, game, attr, std::max(maxItems, maxGroups));
    if (items.empty()) return groups;
    if (static_cast<int>(items.size()) >= groupFrom) {
        if (static_cast<int>(items.size()) > maxItems) items.resize(maxItems);
        groups.push_back(items);
        return groups;
    }
    std::vector<char*> split(maxItems > 0 ? maxItems : 1);
    for (std::string& item : items) {
        if (static_cast<int>(groups.size()) >= maxGroups) break;
        int n = CLxXMLParser::SplitList(item.data(), split.data(), maxItems);
        groups.emplace_back(split.begin(), split.begin() + n);
    }
    return groups;
}

CLxReadingGame::CLxReadingGame(const char* descriptionPath, int game, const char* prefix)
    : CLxReadingScr(descriptionPath) {
    char text[40];
    std::snprintf(text, sizeof text, "fo.jatek%d", game);
    SetControlFlag(text, kSelected, true);
    if (!prefix) return;
    std::snprintf(text, sizeof text, "data\\sounds\\%s%dEnd.wav", prefix, game);
    if (g_pSoundServer) m_pEndSound = g_pSoundServer->GetSound(text, -1, -1);
}

CLxReadingGame::~CLxReadingGame() {
    if (m_pEndSound && g_pSoundServer) g_pSoundServer->ReleaseSound(m_pEndSound);
}

int CLxReadingGame::OnTimerEvent(CLxTimerEvent* event) {
    if (!event || event->m_nMessage != static_cast<int>(kMsgTimer) || m_nDelay <= 0) return 0;
    if (--m_nDelay == 0) ChangeOver();
    return 0;
}

void CLxReadingGame::End() {
    if (m_bEnded) return;
    m_bEnded = true;
    if (m_pEndSound) PlaySound(m_pEndSound, false, true);
}

bool CLxReadingGame::DrawWordPicture(const std::string& word, const RECT& rect,
                                     std::string* syllables) {
    int index = g_pSmallPics ? g_pSmallPics->FindPicture(word.c_str()) : -1;
    if (syllables) *syllables = word;
    if (index < 0) return false;
    if (syllables && !g_pSmallPics->Picture(index).syllables.empty())
        *syllables = g_pSmallPics->Picture(index).syllables;
    CLxSurface* picture = LoadBitmap(g_pSmallPics->PicturePath(index));
    if (picture->m_pSurface && m_pGUI->m_pBackground)
        BltSurface(m_pGUI->m_pBackground, &rect, picture, nullptr, 0);
    FreeSurface(&picture);
    return true;
}

void CLxReadingGame::DrawTick(const char* path, const RECT& rect) {
    CLxSurface* tick = LoadBitmap(path);
    if (tick->m_pSurface && m_pGUI->m_pBackground) {
        tick->SetColorKey(ColorToPixel(tick, kTickKey));
        BltSurface(m_pGUI->m_pBackground, &rect, tick, nullptr, 0);
        m_pGUI->DrawBackground(&rect, nullptr, true);
    }
    FreeSurface(&tick);
}

void CLxReadingGame::ReloadBoard() {
    m_pGUI->ReloadBackground();
    DrawLetterCard();
}

CLxGroup* CLxReadingGame::ClearSprites() {
    m_pPressed = nullptr;
    m_sprites.clear();
    if (CLxGroup* group = m_pGUI->FindGroup("sprites")) {
        m_pGUI->DeleteGroupControls(group);
        return group;
    }
    CLxGroup::Descriptor d{m_pGUI, "sprites", {}, 0, 0};
    return new CLxGroup(&d);
}

const CLxReadingGame::Sprite& CLxReadingGame::AddLetterSprite(const char* name, CLxRLEFonts* font,
                                                              unsigned char code, int x, int y,
                                                              uint32_t colour, uint32_t hotColour,
                                                              uint32_t disabledColour) {
    Sprite sprite{nullptr, code, POINT{x, y}};
    CLxGroup* group = m_pGUI->FindGroup("sprites");
    const CLxRLEBitmap* glyph = font ? font->Glyph(code) : nullptr;
    if (group && glyph) {
        CLxRLESprite::RLEDescriptor d{{m_pGUI,
                                       group,
                                       name,
                                       {x, y, x + glyph->m_nWidth, y + glyph->m_nHeight},
                                       kSpriteClip,
                                       {},
                                       false,
                                       false},
                                      {glyph, glyph, glyph},
                                      {disabledColour, colour, hotColour}};
        sprite.control = new CLxRLESprite(&d);
    }
    m_sprites.push_back(sprite);
    return m_sprites.back();
}

const CLxReadingGame::Sprite& CLxReadingGame::AddNumberedSprite(CLxRLEFonts* font,
                                                                unsigned char code, int x, int y,
                                                                uint32_t colour) {
    char name[8];
    std::snprintf(name, sizeof name, "%02d", static_cast<int>(m_sprites.size() % 100));
    return AddLetterSprite(name, font, code, x, y, colour, colour, colour);
}

void CLxReadingGame::AddMemberSprites(CLxRLEFonts* font, int copies, int y,
                                      std::optional<uint32_t> normalColour) {
    m_nMemberCopies = copies;
    int k = MemberCount();
    for (int m = 0; m < k; ++m) {
        unsigned char member = Member(m);
        int x = (290 + 580 * m) / k + 48 - GlyphWidth(font, member) / 2;
        uint32_t colour = LetterColour(member);
        for (int copy = 0; copy < copies; ++copy) {
            char name[24];
            std::snprintf(name, sizeof name, "%d%d", m, copy);
            AddLetterSprite(name, font, member, x, y, normalColour.value_or(colour), colour,
                            colour);
        }
    }
}

CLxControl* CLxReadingGame::MemberSprite(int m, int copy) const {
    size_t i = static_cast<size_t>(m * m_nMemberCopies + copy);
    bool listed = m >= 0 && copy >= 0 && copy < m_nMemberCopies && i < m_sprites.size();
    return listed ? m_sprites[i].control : nullptr;
}

RECT CLxReadingGame::SpriteRect(const Sprite& sprite) {
    RECT r{0, 0, 0, 0};
    if (sprite.control) sprite.control->GetDrawRect(&r);
    return r;
}

void CLxReadingGame::MoveSprite(CLxControl* sprite, int x, int y) {
    RECT before;
    if (!sprite || !sprite->GetDrawRect(&before)) return;
    sprite->MoveTo(x, y);
    RECT after;
    sprite->GetDrawRect(&after);
    m_pGUI->DrawBackground(&before, nullptr, true);
    m_pGUI->DrawBackground(&after, nullptr, true);
}

void CLxReadingGame::SendHome(const Sprite& sprite) {
    MoveSprite(sprite.control, sprite.home.x, sprite.home.y);
}

bool CLxReadingGame::TrackDrop(const CLxMouseEvent* event) {
    if (!event) return false;
    if (event->m_nType == kMouseDown) m_pPressed = event->m_pControl;
    return event->m_nType == kMouseClick || event->m_nType == kMouseReleasedOut;
}

const CLxReadingGame::Sprite* CLxReadingGame::Dropped() const {
    if (!m_pPressed) return nullptr;
    for (const Sprite& sprite : m_sprites)
        if (sprite.control == m_pPressed) return &sprite;
    return nullptr;
}

void CLxReadingGame::DrawRowHead(int y, unsigned char letter, uint32_t colour) {
    CLxSurface* background = m_pGUI->m_pBackground;
    RECT strip{kRowStripLeft, y, kRowStripRight, y + kRowHeight};
    Shade(background, &strip, kRowShade);
    CLxRLEFonts* font = ServedFont(kRowFont);
    if (CLxFontPen pen(font, background); pen)
        pen->DrawChar(letter, colour, kRowHeadCentre - GlyphWidth(font, letter) / 2, y);
}

void CLxReadingGame::MakeRowPictures(CLxSurface* background, int y, int height,
                                     CLxSurface* out[kRowStates], int first) {
    RECT strip{0, y, 800, y + height};
    for (int s = 0; s < kRowStates; ++s) {
        out[s] = nullptr;
        if (s < first) continue;
        out[s] = CreateSurface(800, height);
        if (background) BltSurfaceFast(out[s], 0, 0, background, &strip, 0);
    }
}

CLxGroup* CLxReadingGame::AddRowGroup(int row, int y, CLxSurface* const pictures[kRowStates]) {
    char name[16];
    std::snprintf(name, sizeof name, "c%d", row);
    if (CLxGroup* old = m_pGUI->FindGroup(name)) delete old;
    CLxGroup::Descriptor d{m_pGUI, name, {}, 0, y};
    for (int s = 0; s < kRowStates; ++s)
        d.pictures[s] = pictures[s];
    return new CLxGroup(&d);
}
