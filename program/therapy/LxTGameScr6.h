// The mole game, played with the pitch of the voice. In the first stage a mole digs a
// tunnel from left to right while the child makes a sound; the higher the voice against
// the child's calibrated norm, the shallower it digs. In the second stage a mole with a
// lamp must follow the tunnel with the voice: where it strays above or below the tunnel
// a lightning mark is drawn. Clicking the mole before a run starts a calibration: the
// child's own sustained sound becomes the norm of that stage. A pause at the right edge
// ends a run; the tunnel is saved when digging ends and restored for every new run of
// the second stage.
#pragma once
#include "therapy/LxTGameScr.h"

class CLxBMPSprite;
class CLxRLEBitmap;
class CLxRLESprite;
class CLxSurface;

class CLxTGameScr6 : public CLxTGameScr {
  public:
    enum Phase { kCalibrateDigging = 0, kCalibrateFollowing = 1, kDigging = 2, kFollowing = 3 };
    static constexpr int kPathWidth = 800;
    static constexpr int kSurfaceY = 330; // the mole's row at the norm
    static constexpr float kStartX = 12.0f;
    static constexpr float kRightEdge = 718.0f; // a run ends after a pause here
    static constexpr float kMaxDepth = 120.0f;
    static constexpr int kCalibrationSteps = 11; // the old norm and ten voiced steps
    static constexpr int kPeriod = 20;           // the driver's period in this game, ms
    static constexpr RECT kGround{12, 144, 652, 544};

    explicit CLxTGameScr6(const char* descriptionPath);
    ~CLxTGameScr6() override;

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    void Refresh() override;

    // The undamped depth of a pitch measure c against a norm: ln(c / norm) times the
    // gain, a quarter more below the norm's row, kept within +-120. False for a measure
    // or norm of 0 or below (a voice over 500 Hz, noise, a bad setting), which give none.
    static bool RawDepth(float c, float norm, int high, float* depth);
    // The depth after damping a jump from the previous one: a tenth of the way when it
    // is more than 16 rows, so a sudden change is followed gradually and a sustained one
    // is reached.
    static float Damp(float depth, float previous);

    Phase GetPhase() const { return m_nPhase; }
    float X() const { return m_fX; }
    float Depth() const { return m_fDepth; }
    int Row() const;
    float CalibrationSum() const { return m_fSum; }
    int CalibrationCount() const { return m_nCount; }
    int PathAt(int x) const { return m_aPath[x]; }
    CLxBMPSprite* Mole() const { return m_pMole; }
    CLxRLESprite* Shadow() const { return m_pShadow; }

  private:
    void Step(int write);
    void Calibrate(bool silent, float c);
    void Dig(float step);
    // Shades the tunnel's cross-section at the row into the background's columns.
    void DigTunnel(int left, int right, int row);
    void Follow(float step);
    // A pause at the right edge; true when it ended the run.
    bool PauseAtEdge();
    void StartFollowing();
    void RestartFollowing();
    void StartCalibration();
    void ShowDebug(const char* text);
    // Redraws the union of the rectangles before and after a move, cut to the ground's
    // columns, and then what a shadow reaching past them covered.
    void RedrawMove(const RECT& before, const RECT& after);
    void MarkLightning(int k, int top);

    int m_aPath[kPathWidth];
    CLxSurface* m_pLampMole = nullptr;
    CLxSurface* m_pLampMoleSelected = nullptr;
    CLxSurface* m_pMolePicture = nullptr;
    CLxSurface* m_pMoleSelected = nullptr;
    CLxSurface* m_pLightning = nullptr;
    CLxSurface* m_pBackup = nullptr;
    CLxRLEBitmap* m_pShadowMask = nullptr;
    CLxBMPSprite* m_pMole = nullptr;
    CLxRLESprite* m_pShadow = nullptr;
    Phase m_nPhase = kDigging;
    float m_fX = kStartX;
    float m_fSum = 0.0f;
    float m_fDepth = 0.0f;
    int m_nSpeed = 100;
    int m_nCount = 1;
};
