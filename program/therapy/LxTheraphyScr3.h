// The fixation screen ("Theraphy3", "data\beszedjav3.xml"): a practised sound fixed in
// words. The therapist chooses a picture group of the small-picture catalogue for a
// letter ("bv.b" + row digit + letter; its numbers "bv.c" + row digit + 1 ... 4), and the
// group's first six pictures come up as draggable sprites ("kepek.s00" ... "s05"); a
// picture dropped on one of the three big frames ("fo.v00" ... "fo.v02", 40 pixels of
// slack round each) is shown there, with its word under it on page 6, or as an empty
// frame with the word on page 7 ("alja.m5" ... "m7"). While a frame is selected, the
// best-recognised day letter is drawn over it in the 128-pixel font.
//
// With a camera, "jobb.fullscreen" rebuilds the screen in its full-screen view: the
// description whose name ends "f.xml", the camera mirror large at the top left, the
// pictures down the right edge and the frames below the mirror; "also.vissza" comes
// back. The screen rebuilds itself by asking for a new fixation screen with its view
// (page, full-screen bit, selected frames) in the message's wParam, so the controls
// that were clicked are never deleted under the click; the recorder keeps running.
#pragma once
#include <memory>
#include <string>

#include "media/LxSurface.h"
#include "therapy/LxTheraphyScr.h"

class CLxBMPSprite;
class CLxCamera;
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
    // The view's bits besides the page (5 ... 7, or 0): the full-screen view, and frame
    // i selected at kFirstFrameBit << i.
    static constexpr int kFullScreen = 8, kFirstFrameBit = 16;
    // The full-screen view: the mirror, the part of the camera picture it shows, the
    // pictures' homes down the right edge and where they may be dragged.
    static constexpr RECT kCameraRect = {34, 32, 674, 432};
    static constexpr RECT kCameraSource = {0, 20, 320, 220};
    static constexpr int kFullHomeX = 708, kFullHomeStep = 92;
    static constexpr RECT kFullDragArea = {0, 0, 800, 600};
    // Pictures are laid out at this size in the full-screen view, then scaled to the frame.
    static constexpr int kFullFrameSize = 200;

    explicit CLxTheraphyScr3(const char* descriptionPath, int view = 0);
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
    int Page() const { return m_nPage & 7; }
    bool FullScreen() const { return (m_nPage & kFullScreen) != 0; }
    // The view to rebuild in: the page with the full-screen bit and the selected frames.
    int View() const;
    RECT Home(int sprite) const;
    // "data\beszedjav3.xml" gives "data\beszedjav3f.xml".
    static std::string FullScreenDescription(const std::string& descriptionPath);

    unsigned char m_cLetter = 0; // the group letter's code
    int m_nNumber = 1;
    int m_nRow = 1; // the row of group buttons the letter is in
    int m_aGroupPictures[kSprites] = {-1, -1, -1, -1, -1, -1};
    int m_aFramePictures[kFrames] = {-1, -1, -1};
    CLxBMPSprite* m_apSprites[kSprites] = {};
    CLxCamera* m_pCamera = nullptr;

  private:
    void BuildCamera();
    // Asks for the screen again in another view.
    void Rebuild(int view);
    void BuildSprites();
    void GoHome(int sprite);
    void DrawFrame(int frame);
    void WriteWord(CLxSurface* surface, const RECT& frame, const char* word);
    std::string ButtonName(char kind, int row, const std::string& what) const;
    // Finds the letter's row of group buttons from the bottom one up; false when none.
    bool FindRow(unsigned char letter, int* row) const;

    std::string m_description; // the windowed view's
    CLxGroup* m_pSpriteGroup = nullptr;
    std::unique_ptr<CLxSurface> m_aSpritePictures[kSprites][2];
};
