// The flower game: the child tells two sounds apart by their pitch. In the first stage
// each sound long enough plants a flower: a sound mostly above the threshold of the
// pitch measure (a lower voice) plants a blue flower in the lower bed, one mostly below
// it (a higher voice) a red flower in the upper bed, twelve flowers from left to right.
// In the second stage the child says the same sounds again with a watering can: a sound
// that matches the flower's bed makes it bloom, one that does not wilts it and waters
// the other bed. Clicking the can calibrates the threshold of the stage with the
// child's own sound.
//
// Phases: 0 and 1 calibrate the threshold of stage one or two; 2 and 3 wait for the
// first flower of stage one or two; 4 and 6 wait between flowers for the next sound to
// get going; 5 and 7 count a flower's sound.
#pragma once
#include <cstdint>

#include "therapy/LxTGameScr.h"

class CLxBMPSprite;
class CLxSurface;

class CLxTGameScr5 : public CLxTGameScr {
  public:
    enum Phase {
        kCalibrateOne = 0,
        kCalibrateTwo = 1,
        kFirstOne = 2,
        kFirstTwo = 3,
        kBetweenOne = 4,
        kCountOne = 5,
        kBetweenTwo = 6,
        kCountTwo = 7,
    };
    enum Kind { kPlanted = 0, kFlowering = 1, kWilted = 2 };
    static constexpr int kFlowers = 12;
    static constexpr int kUpperBedY = 220, kLowerBedY = 360;
    static constexpr int kBedLeft = 60, kFlowerWidth = 48, kFlowerHeight = 64;
    static constexpr int kCanY = 290;
    static constexpr int kCalibrationSteps = 11;
    // Between flowers a sound is counted from the voiced step that finds more than this
    // many voiced steps before it (its seventh after a pause).
    static constexpr int kWarmUpSteps = 4;

    explicit CLxTGameScr5(const char* descriptionPath);
    ~CLxTGameScr5() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    void Refresh() override;
    // A new first stage: no flowers, the beds drawn afresh.
    void Restart();

    // The box of flower k in the upper or the lower bed.
    static RECT FlowerBox(int k, bool lower);

    Phase GetPhase() const { return m_nPhase; }
    int Flower() const { return m_nFlower; }
    int Below() const { return m_nBelow; } // A: measures at or below the threshold
    int Above() const { return m_nAbove; } // B: measures above it
    int Count() const { return m_nCount; }
    float CalibrationSum() const { return m_fSum; }
    // Bit k: flower k went to the lower bed.
    uint16_t Rows() const { return m_nRows; }
    CLxBMPSprite* Can() const { return m_pCan; }

  private:
    void Step(int write);
    void Calibrate(bool silent, float c);
    void StartCalibration(Phase phase);
    void EndCalibration();
    void Plant();
    void Water();
    void DrawBeds();
    void DrawFlower(int k, bool lower, bool blue, Kind kind);
    void DrawPicture(CLxSurface* picture, const RECT& box);
    void MoveCan(int x);
    void UseCanPictures(bool watering);

    CLxSurface* m_apRed[3] = {};
    CLxSurface* m_apBlue[3] = {};
    CLxSurface* m_pBed = nullptr;
    CLxSurface* m_pWater = nullptr;
    CLxSurface* m_pBucket = nullptr;
    CLxSurface* m_pWateringCan = nullptr;
    CLxSurface* m_pWateringCanSelected = nullptr;
    CLxBMPSprite* m_pCan = nullptr;
    uint16_t m_nRows = 0;
    float m_fSum = 0.0f;
    Phase m_nPhase = kFirstOne;
    int m_nCount = 1;
    int m_nFlower = 0;
    int m_nBelow = 0;
    int m_nAbove = 0;
};
