// The clown game: a clown climbs ladders by holding the loudness of the voice at the
// height of each ladder's rung. The louder the sound the higher the clown stands; on a
// ladder the child must keep it within the tolerance of the rung for "time" steps in a
// row (leaving the band once starts the count again), then a pause finishes the ladder
// and the clown walks on to the next one. The number of ladders (1 to 4), the hold time,
// the tolerance and the rungs' heights (dragged with the mouse) are the child's settings.
#pragma once
#include "therapy/LxTGameScr.h"

class CLxBMPSprite;
class CLxSurface;

class CLxTGameScr2 : public CLxTGameScr {
  public:
    static constexpr int kMaxLadders = 4;
    static constexpr int kGroundY = 388; // the clown's top in silence
    static constexpr int kHighestY = 160;
    static constexpr int kSilenceLimit = 4; // quiet steps that walk on between ladders
    static constexpr int kStepEvery = 4;    // the game steps on every fourth driver step

    explicit CLxTGameScr2(const char* descriptionPath);
    ~CLxTGameScr2() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    void Refresh() override;
    // Lays out the ladders the settings ask for and puts the clown before the first.
    void Layout();

    // The number of ladders the settings hold, kept to 1 ... 4.
    static int Ladders();
    // The width of a rung with g ladders, and the offset d of ladder c.
    static int RungWidth(int ladders);
    static int LadderOffset(int ladder, int ladders);
    // The clown's top for a level; the ground without a usable maximum.
    static int Height(float level, float maxLevel);

    // s: even between ladders (0 before the first), odd on ladder (s - 1) / 2.
    int Stage() const { return m_nStage; }
    // t: quiet steps between ladders; on a ladder, -time counting up to 0 while on target.
    int Hold() const { return m_nHold; }
    CLxBMPSprite* Clown() const { return m_pClown; }
    CLxBMPSprite* Rung(int ladder) const { return m_apRungs[ladder]; }

  private:
    void Step(int write);
    void DrawRod(CLxSurface* background, int left);
    // The clown walks into the stretch of stage s.
    void WalkTo(int stage);

    CLxSurface* m_pRung = nullptr;
    CLxSurface* m_pHotRung = nullptr;
    CLxSurface* m_pClownPicture = nullptr;
    CLxSurface* m_pRod = nullptr;
    CLxBMPSprite* m_pClown = nullptr;
    CLxBMPSprite* m_apRungs[kMaxLadders] = {};
    int m_nStage = 0;
    int m_nHold = 0;
};
