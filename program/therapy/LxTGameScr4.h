// The picture board: no voice game but a board for naming exercises. The words of the
// game's description show as small pictures, sixteen to a page on two pages; the child
// drags a picture onto one of three large slots, where it shows large (framed in red
// under the mouse), and names it while the recorder runs. A dragged picture always goes
// back to its place.
#pragma once
#include "therapy/LxTGameScr.h"

class CLxBMPSprite;
class CLxSurface;

class CLxTGameScr4 : public CLxTGameScr {
  public:
    static constexpr int kMaxWords = 32;
    static constexpr int kPerPage = 16;
    static constexpr int kSlots = 3;
    static constexpr int kSlotSize = 200, kSmallSize = 72;
    static constexpr uint32_t kFrameColour = 0xFF0000;

    explicit CLxTGameScr4(const char* descriptionPath);
    ~CLxTGameScr4() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    // The first (0) or the second page (16).
    void ShowPage(int offset);

    // Where slot n and small picture n of a page stand.
    static RECT SlotRect(int slot);
    static RECT HomeRect(int n);

    int Words() const { return m_nWords; }
    // The small-picture catalogue's picture of list entry n (0 for a word without one
    // and for entries past the list).
    int PictureOf(int n) const { return n >= 0 && n < m_nWords ? m_aPictures[n] : 0; }
    int Offset() const { return m_nOffset; }
    CLxBMPSprite* Small(int n) const { return m_apSmall[n]; }
    CLxBMPSprite* Slot(int n) const { return m_apSlots[n]; }

  private:
    void ReadWords(const char* path);
    // Drops small picture n where it was released and sends it home.
    void Drop(int n);
    // Shows a catalogue picture in the slot; -1 leaves it empty.
    void FillSlot(int slot, int picture);

    int m_aPictures[kMaxWords] = {};
    int m_nWords = 0;
    int m_nOffset = 0;
    CLxBMPSprite* m_apSmall[kPerPage] = {};
    CLxSurface* m_apSmallPictures[kPerPage][2] = {}; // shaded and full brightness
    CLxBMPSprite* m_apSlots[kSlots] = {};
    CLxSurface* m_apSlotPictures[kSlots][2] = {}; // plain and framed
};
