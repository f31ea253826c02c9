// The car game: a car drives along a road while the child's sound is voiced. Each
// driver step whose voicing passes the threshold moves the car by the square of the
// excess, scaled by the speed slider, so a clearly voiced sound drives it fast and a
// whisper leaves it standing. The car's wheels turn through eight pictures as it goes,
// and it leaves the road on the right to come back on the left.
#pragma once
#include "therapy/LxTGameScr.h"

class CLxBMPSprite;
class CLxSurface;

class CLxTGameScr1 : public CLxTGameScr {
  public:
    static constexpr int kCarPictures = 8;
    static constexpr float kVoicingThreshold = 0.36f;
    static constexpr float kStartPosition = 300.0f;
    // The road repeats every this many pixels of position: the car drives out on the
    // right and comes back on the left.
    static constexpr float kRoadPeriod = 800.0f;
    static constexpr int kCarY = 420;

    explicit CLxTGameScr1(const char* descriptionPath);
    ~CLxTGameScr1() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    void Refresh() override;

    // The position after one step with this voicing at this speed; a silent or
    // unvoiced step keeps it. Always inside [0, the road's period).
    static float Advance(float position, float voicing, bool silent, int speed);
    // Where the car is drawn for a position, and which picture shows.
    static int CarLeft(float position);
    static int CarPicture(float position);

    float Position() const { return m_fPosition; }
    CLxBMPSprite* Car() const { return m_pCar; }

  private:
    void Step(int write);
    void ShowCar();

    CLxSurface* m_apCars[kCarPictures] = {};
    CLxSurface* m_pSpritePicture = nullptr; // the car sprite's picture, redrawn per phase
    CLxBMPSprite* m_pCar = nullptr;
    float m_fPosition = kStartPosition;
    int m_nShown = -1; // the car picture in the sprite's picture
};
