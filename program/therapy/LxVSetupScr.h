// The voice set-up ("VSetup"), pushed over a therapy screen: the recorder to try the
// microphone, its recording volume ("fo.hangero", through the platform's mixer; disabled
// without one), the noise and sensitivity levels ("fo.zaj", "fo.erzekenyseg", in
// thousandths) and a live level meter under them: orange below the noise level, green
// up to the sensitivity level, red above it, in 8-pixel segments, with black marks at
// the two levels. The driver listens for levels only meanwhile; the screen underneath
// puts its own mode back when it returns.
#pragma once
#include "ui/LxScreen.h"

class IVolume;

class CLxVSetupScr : public CLxScreen {
  public:
    static constexpr int kMeterWidth = 500, kMeterHeight = 24;

    explicit CLxVSetupScr(const char* descriptionPath);
    ~CLxVSetupScr() override;

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;

    // Draws the meter for the newest level of the driver and shows it.
    void DrawMeter();
    CLxSurface* Meter() const { return m_pMeter; }

  private:
    void SetRecorderButtons(int record, int stop, int pause, int play);
    void BindVolume();
    static void VolumeChanged(uint32_t volume, void* user);

    IVolume* m_pVolume = nullptr;
    CLxSurface* m_pMeter = nullptr;
};
