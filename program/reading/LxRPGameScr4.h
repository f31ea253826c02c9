// Reading game 4 for an extra letter: the members stand big and outlined in the middle
// of the board, and twelve coloured letter pieces lie under them. The child drags each
// piece onto its member; a right piece disappears and the member fills further with its
// colour, the lower part from the bottom up and an accent above it from the top down.
// When all twelve pieces are in, the end sound plays.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"
#include "ui/LxSprite.h"

class CLxSurface;

// A piece's colour from the lesson's "colors": "0x..." hexadecimal, else decimal;
// -1 (the piece's own letter colour) for anything that is no number.
int PieceColour(const std::string& item);

// The boundary rows of an outline drawn in black into rect of surface, scanned from
// the bottom row up: bands[3] the first row with a black pixel (the bottom of the lower
// part), bands[2] the next row without, bands[1] the next with one again (the bottom of
// an accent), bands[0] the next without. A boundary not found stays 0.
void FindBands(CLxSurface* surface, const RECT& rect, int bands[4]);

// Paints the filled part of a member: c of q pieces in. The lower part fills the rows
// from B3 - (B3 - B2) c / q to B3, the accent (when B0 is not 0) the rows from B0 to
// B0 + (B1 - B0) c / q, from the colour-keyed fill picture lying on rect.
void FillMember(CLxSurface* background, const RECT& rect, const int bands[4], CLxSurface* fill,
                int c, int q);

class CLxRPGameScr4 : public CLxReadingGame {
  public:
    static constexpr int kPieces = 12;
    static constexpr int kOutlineSizes[4] = {256, 160, 144, 128};
    static constexpr int kMaxWidth = 640;

    explicit CLxRPGameScr4(const char* descriptionPath);
    ~CLxRPGameScr4() override;

    int OnMouseEvent(CLxMouseEvent* event) override;

    // The outline font the members are drawn with (empty when none exists).
    const std::string& OutlineFont() const { return m_outlineFont; }
    int PieceCount() const { return static_cast<int>(m_sprites.size()); }
    CLxControl* Piece(int i) const { return m_sprites[i].control; }
    uint32_t PieceColourAt(int i) const { return m_colours[i]; }
    // Member i's rectangle, boundary rows and pieces in; false when it has no area.
    bool MemberArea(int i, RECT* area) const;
    const RECT& MemberRect(int i) const { return m_members[i].rect; }
    int Band(int i, int b) const { return m_members[i].bands[b]; }
    int Filled(int i) const { return m_members[i].count; }
    CLxSurface* FillPicture(int i) const { return m_members[i].fill; }

  private:
    struct Outline {
        RECT rect{};
        int bands[4] = {};
        int count = 0;
        CLxSurface* fill = nullptr;
    };

    void ReadPieces();
    void ChooseOutlineFont();
    void DrawMembers();
    CLxSurface* MakeFillPicture(int i);
    void Drop(const Sprite& piece);

    std::vector<uint32_t> m_colours;
    std::vector<Outline> m_members;
    CLxRLEFonts* m_pOutline = nullptr;
    std::string m_outlineFont;
    int m_nSize = 0;
};
