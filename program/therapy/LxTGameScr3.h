// The frog game: a frog crosses a pond in jumps made by the child's voice. While a sound
// lasts the frog moves right, the louder the higher; when the child has been quiet for
// more than three driver steps the frog lands and leaves a dark print of itself in the
// background picture. It trains the length and loudness of sustained sounds. Once the
// frog has reached the far bank and the child stays quiet, it starts again from the
// left, and no more prints are stamped while the screen lives.
#pragma once
#include "therapy/LxTGameScr.h"

class CLxBMPSprite;
class CLxRLEBitmap;
class CLxSurface;

class CLxTGameScr3 : public CLxTGameScr {
  public:
    // The frog's start and the bounds of the pond.
    static constexpr float kStartX = 10.0f;
    static constexpr int kGroundY = 352;
    static constexpr int kHighestY = 204;
    static constexpr int kFarBank = 600;
    static constexpr int kPondRight = 652;
    static constexpr uint32_t kPrintColour = 0x40000000; // black over a quarter of the pixel

    explicit CLxTGameScr3(const char* descriptionPath);
    ~CLxTGameScr3() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    void Refresh() override;
    void Restart();

    // The frog's height for a level: silence keeps it on the ground, a level at the
    // maximum lifts it by 80 * high / 100 pixels; never above the highest line.
    static int Height(float level, float maxLevel, int high);

    float X() const { return m_fX; }
    float V() const { return m_fV; }
    bool Finished() const { return m_bFinished; }
    CLxBMPSprite* Frog() const { return m_pFrog; }

  private:
    void Step(int write);
    // Redraws the frog's rectangle, cut to the pond, from the background and the
    // controls, without the frog or with it.
    void RedrawFrogArea(bool withFrog);
    void StampPrint(int y);

    CLxSurface* m_pFrogPicture = nullptr;
    CLxRLEBitmap* m_pPrint = nullptr;
    CLxBMPSprite* m_pFrog = nullptr;
    bool m_bFinished = false;
    float m_fX = kStartX;
    float m_fV = 0.0f;
    int m_nQuiet = 0;
};
