// Reading game 4 for an extra letter; see LxRPGameScr4.h. The members are drawn in
// black with the largest outline font in which they fit side by side, straight into the
// background; the black rows found under each member mark its lower part and its accent.
// Each member has a fill picture of its rectangle: black (the colour key) outside the
// letter and on its outline, the member colour inside, so that blitting bands of it
// fills the letter between its lines. The inside comes from the plain font of the same
// size; without that font the whole box between the outlines is coloured.
#include "reading/LxRPGameScr4.h"

#include <cstdio>
#include <cstdlib>
#include <random>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxFontServer.h"
#include "media/LxRLEFonts.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxSprite.h"

namespace {
const char* const kPieceFont = "data\\fonts\\tnr32.xml";
constexpr int kPieceY = 524, kMembersCentreY = 344, kBoardWidth = 660;
constexpr int kMissingGlyphWidth = 1000, kMemberGap = 20;
constexpr uint32_t kBlack = 0x000000;

// One of 31, 63, ... 191 for a channel of a random colour.
uint32_t RandomChannel() {
    static std::minstd_rand engine(std::random_device{}());
    return 31 + 32 * static_cast<uint32_t>(std::uniform_int_distribution<int>(0, 5)(engine));
}

uint32_t RandomColour() {
    uint32_t green = RandomChannel(), blue = RandomChannel(), red = RandomChannel();
    return red << 16 | green << 8 | blue;
}

bool IsBlack(const uint8_t* p, int bits) {
    if (bits == 24 || bits == 32) return (p[0] | p[1] | p[2]) == 0;
    return (p[0] | p[1]) == 0;
}
} // namespace

int PieceColour(const std::string& item) {
    const char* text = item.c_str();
    char* end = nullptr;
    long value = item.size() > 1 && (item[1] == 'x' || item[1] == 'X')
                     ? std::strtol(text, &end, 16)
                     : std::strtol(text, &end, 10);
    if (end == text || value < -1 || value > 0xFFFFFF) return -1;
    return static_cast<int>(value);
}

void FindBands(CLxSurface* surface, const RECT& rect, int bands[4]) {
    for (int b = 0; b < 4; ++b)
        bands[b] = 0;
    LxSurfaceDesc d;
    if (!surface || !surface->m_pSurface || surface->Lock(&rect, &d) != 0) return;
    int bytes = d.nBitsPerPixel == 24 ? 3 : d.nBitsPerPixel == 32 ? 4 : 2;
    int top = rect.top > 0 ? rect.top : 0; // where the locked rows start
    // Looking for outline in B3, then a row without, then outline again, then without.
    int next = 3;
    for (int row = d.nHeight - 1; row >= 0 && next >= 0; --row) {
        const uint8_t* p = d.pPixels + static_cast<ptrdiff_t>(row) * d.nPitch;
        bool outline = false;
        for (int x = 0; x < d.nWidth && !outline; ++x)
            outline = IsBlack(p + x * bytes, d.nBitsPerPixel);
        bool wanted = next == 3 || next == 1;
        if (outline != wanted) continue;
        bands[next--] = top + row;
    }
}

void FillMember(CLxSurface* background, const RECT& rect, const int bands[4], CLxSurface* fill,
                int c, int q) {
    if (!background || !fill || q <= 0) return;
    auto blit = [&](int top, int bottom) {
        if (bottom <= top) return;
        RECT to{rect.left, top, rect.right, bottom};
        RECT from{0, top - rect.top, rect.right - rect.left, bottom - rect.top};
        BltSurface(background, &to, fill, &from, 0);
    };
    const int b0 = bands[0], b1 = bands[1], b2 = bands[2], b3 = bands[3];
    blit(b3 - (b3 - b2) * c / q, b3 + 1);
    if (b0 != 0) blit(b0, b0 + (b1 - b0) * c / q + 1);
}

CLxRPGameScr4::CLxRPGameScr4(const char* descriptionPath)
    : CLxReadingGame(descriptionPath, 4, "RPGame") {
    m_szName = "RPGame4";
    ReadPieces();
    ChooseOutlineFont();
    DrawMembers();
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

CLxRPGameScr4::~CLxRPGameScr4() {
    for (Outline& member : m_members)
        FreeSurface(&member.fill);
}

// Twelve pieces at most, each a letter in its colour ("colors", else a random one).
void CLxRPGameScr4::ReadPieces() {
    std::vector<std::string> letters = LessonList(m_nLetter, "game4", "characters", kPieces);
    std::vector<std::string> colours = LessonList(m_nLetter, "game4", "colors", kPieces);
    CLxRLEFonts* font = ServedFont(kPieceFont);
    ClearSprites();
    for (size_t i = 0; i < letters.size(); ++i) {
        unsigned char code = DecodeLetter(letters[i].c_str());
        uint32_t colour = RandomColour();
        if (i < colours.size()) {
            int given = PieceColour(colours[i]);
            colour = given < 0 ? LetterColour(code) : static_cast<uint32_t>(given);
        }
        m_colours.push_back(colour);
        int x = 40 + 640 * static_cast<int>(i) / kPieces - GlyphWidth(font, code) / 2;
        AddNumberedSprite(font, code, x, kPieceY, colour);
    }
}

// The largest outline font that exists and in which the members fit the board; when
// none fits, the last one tried.
void CLxRPGameScr4::ChooseOutlineFont() {
    for (int size : kOutlineSizes) {
        char path[40];
        std::snprintf(path, sizeof path, "data\\fonts\\tnr%do.xml", size);
        if (!CLxFile::Exists(path)) continue;
        CLxRLEFonts* font = ServedFont(path);
        if (!font) continue;
        m_pOutline = font;
        m_outlineFont = path;
        m_nSize = size;
        int total = -kMemberGap;
        for (int i = 0; i < MemberCount(); ++i) {
            int width = GlyphWidth(font, Member(i));
            total += (width ? width : kMissingGlyphWidth) + kMemberGap;
        }
        if (total < kMaxWidth) return;
    }
}

// Two members share the board's width in thirds, three in quarters with the middle
// one centred between the others; any other count has no layout.
void CLxRPGameScr4::DrawMembers() {
    int k = MemberCount();
    m_members.assign(static_cast<size_t>(k), Outline{});
    if (!m_pOutline || (k != 2 && k != 3)) return;
    int widths[3], total = 0;
    for (int i = 0; i < k; ++i) {
        widths[i] = GlyphWidth(m_pOutline, Member(i));
        total += widths[i];
    }
    int c = (kBoardWidth - total) / (k + 1);
    int lefts[3];
    lefts[0] = c;
    lefts[k - 1] = kBoardWidth - c - widths[k - 1];
    if (k == 3) lefts[1] = (lefts[0] + widths[0] + lefts[2]) / 2 - widths[1] / 2;
    CLxSurface* background = m_pGUI->m_pBackground;
    {
        CLxFontPen pen(m_pOutline, background);
        for (int i = 0; i < k; ++i) {
            const CLxRLEBitmap* glyph = m_pOutline->Glyph(Member(i));
            if (!glyph) continue;
            int top = kMembersCentreY - glyph->m_nHeight / 2;
            m_members[i].rect =
                RECT{lefts[i], top, lefts[i] + glyph->m_nWidth, top + glyph->m_nHeight};
            if (pen) pen->DrawChar(Member(i), kBlack, lefts[i], top);
        }
    }
    for (int i = 0; i < k; ++i) {
        if (m_members[i].rect.right <= m_members[i].rect.left) continue;
        FindBands(background, m_members[i].rect, m_members[i].bands);
        m_members[i].fill = MakeFillPicture(i);
    }
}

CLxSurface* CLxRPGameScr4::MakeFillPicture(int i) {
    const RECT& rect = m_members[i].rect;
    int w = rect.right - rect.left, h = rect.bottom - rect.top;
    unsigned char member = Member(i);
    CLxSurface* fill = CreateSurface(w, h);
    RECT all{0, 0, w, h};
    char plainPath[40];
    std::snprintf(plainPath, sizeof plainPath, "data\\fonts\\tnr%d.xml", m_nSize);
    CLxRLEFonts* plain = CLxFile::Exists(plainPath) ? ServedFont(plainPath) : nullptr;
    if (plain && plain->Glyph(member)) {
        FillRectRGB(fill, &all, kBlack);
        CLxFontPen pen(plain, fill);
        if (pen) pen->DrawChar(member, LetterColour(member), 0, 0);
    } else {
        FillRectRGB(fill, &all, LetterColour(member));
    }
    FrameRect(fill, &all, kBlack);
    RECT inner{1, 0, w - 1, h};
    FrameRect(fill, &inner, kBlack);
    if (CLxFontPen pen(m_pOutline, fill); pen) pen->DrawChar(member, kBlack, 0, 0);
    fill->SetColorKey(ColorToPixel(fill, kBlack));
    return fill;
}

bool CLxRPGameScr4::MemberArea(int i, RECT* area) const {
    if (i < 0 || i >= static_cast<int>(m_members.size())) return false;
    const Outline& member = m_members[i];
    if (!member.fill || member.bands[3] == 0) return false;
    int top = member.bands[0] ? member.bands[0] : member.bands[2];
    *area = RECT{member.rect.left, top, member.rect.right, member.bands[3] + 1};
    return true;
}

int CLxRPGameScr4::OnMouseEvent(CLxMouseEvent* event) {
    if (int sent = CLxReadingScr::OnMouseEvent(event)) return sent;
    if (!TrackDrop(event)) return 0;
    if (const Sprite* piece = Dropped()) Drop(*piece);
    return 0;
}

// A right piece wholly inside its member's area goes in; any other goes home.
void CLxRPGameScr4::Drop(const Sprite& piece) {
    CLxControl* dropped = piece.control;
    RECT r;
    if (!dropped->GetDrawRect(&r)) return;
    int k = MemberCount();
    for (int i = 0; i < k; ++i) {
        RECT area;
        if (!MemberArea(i, &area) || !LiesInside(r, area) ||
            ToLower(piece.code) != ToLower(Member(i)))
            continue;
        dropped->m_nFlags &= ~(kEnabled | kVisible);
        Outline& member = m_members[i];
        ++member.count;
        FillMember(m_pGUI->m_pBackground, member.rect, member.bands, member.fill, member.count,
                   kPieces / k);
        int in = 0;
        for (int j = 0; j < k && j < 3; ++j)
            in += m_members[j].count;
        if (in == kPieces) End();
        m_pGUI->DrawBackground(nullptr, nullptr, true);
        return;
    }
    SendHome(piece);
}
