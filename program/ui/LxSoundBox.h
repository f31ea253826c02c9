// The sound box: an invisible area of a screen built in code that plays a sound, in a
// loop, for as long as the mouse is over it. The sound comes from a file, or by name
// from the sound bank "data\speech\soundbank.xml"; one that cannot be found leaves the
// box silent. The sound is shared through the sound server and released with the box.
#pragma once
#include "ui/LxControl.h"

class CBSoundBuffer;

class CLxSoundBox : public CLxControl {
  public:
    struct Descriptor {
        CLxControl::Descriptor control;
        const char* file;  // a sound file, played whole; null to use the name
        const char* sound; // the name of a sound of the bank
    };

    explicit CLxSoundBox(const Descriptor* d);
    ~CLxSoundBox() override;

    void Draw() override {}
    void OnEnter(CLxMouseEvent* event) override;
    void OnLeave(CLxMouseEvent* event) override;

    CBSoundBuffer* m_pSound = nullptr;
};
