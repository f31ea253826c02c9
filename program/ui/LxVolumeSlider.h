// The volume slider: a slider bound to the microphone's recording volume in the system
// mixer. It follows changes made elsewhere (the volume object's callback, delivered on
// the window thread) and, when horizontal, shows the live input level of the
// recognition driver as a bar inside its track. The user changes the volume only with
// Ctrl held, so a stray click cannot spoil a set-up. Without a microphone volume control
// the slider is disabled and shows no level.
#pragma once
#include "ui/LxScrollBar.h"

class IVolume;

class CLxVolumeSlider : public CLxSlider {
  public:
    CLxVolumeSlider(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag);
    ~CLxVolumeSlider() override;

    void Draw() override;
    void OnMove(CLxMouseEvent* event) override;
    void OnDrag(CLxMouseEvent* event) override;
    void OnClick(CLxMouseEvent* event) override;
    void OnButtonDown(CLxMouseEvent* event) override;

    IVolume* m_pVolume = nullptr; // owned; kept even when it has no volume control

  private:
    static void OnVolumeChange(uint32_t volume, void* user);
    // The mixer's volume inside the slider's range (a failed read gives the minimum).
    int ReadVolume() const;
    void DrawLevel() const;
};
