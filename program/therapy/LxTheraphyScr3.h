// The fixation screen ("Theraphy3", "data\beszedjav3.xml"): a practised sound fixed in
// words. The therapist chooses a picture group of the small-picture catalogue for a
// letter ("bv.b" + row digit + letter; its numbers "bv.c" + row digit + 1 ... 4), and the
// group's first six pictures come up as draggable sprites ("kepek.s00" ... "s05"); a
// picture dropped on one of the three big frames ("fo.v00" ... "fo.v02", 40 pixels of
// slack round each) is shown there, with its word under it on page 6, or as an empty
// frame with the word on page 7 ("alja.m5" ... "m7"). While a frame is selected, the
// best-recognised day letter is drawn over it in the 128-pixel font.
#pragma once
#include <memory>
#include <string>

#include "media/LxSurface.h"
#include "therapy/LxTheraphyScr.h"

class CLxBMPSprite;
class CLxGroup;

class CLxTheraphyScr3 : public CLxTheraphyScr {
  public:
    static constexpr int kSprites = 6, kFrames = 3;
    static constexpr int kSpriteSize = 96;
    // The sprites' group and the area they may be dragged in.
    static constexpr POINT kSpriteGroup = {16, 144};
    static constexpr RECT kDragArea = {16, 144, 656, 584};
    static constexpr int kHomeStep = 104, kHomeY = 344;
    // How far outside a frame a dropped picture still lands in it.
    static constexpr int kSlack = 40;

    explicit CLxTheraphyScr3(const char* descriptionPath);
    ~CLxTheraphyScr3() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    void ShowPage() override;

    // Loads the group of the current letter and number; false when the catalogue lacks it.
    bool LoadGroup();
    // A sprite let go: lands in the first frame that holds it whole (with the slack) and
    // goes home either way. The frame it landed in, or -1.
    int Drop(int sprite);
    // Page 5 shows the pictures, 6 with their words, 7 empty frames with the words.
    int Mode() const { return m_nPage & 3; }

    unsigned char m_cLetter = 0; // the group letter's code
    int m_nNumber = 1;
    int m_nRow = 1; // the row of group buttons the letter is in
    int m_aGroupPictures[kSprites] = {-1, -1, -1, -1, -1, -1};
    int m_aFramePictures[kFrames] = {-1, -1, -1};
    CLxBMPSprite* m_apSprites[kSprites] = {};

  private:
    void BuildSprites();
    void GoHome(int sprite);
    void DrawFrame(int frame);
    void WriteWord(CLxSurface* surface, const RECT& frame, const char* word);
    std::string ButtonName(char kind, int row, const std::string& what) const;
    // Finds the letter's row of group buttons from the bottom one up; false when none.
    bool FindRow(unsigned char letter, int* row) const;

    CLxGroup* m_pSpriteGroup = nullptr;
    std::unique_ptr<CLxSurface> m_aSpritePictures[kSprites][2];
};
