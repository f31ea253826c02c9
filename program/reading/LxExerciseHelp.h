// The spoken help of the memory and colouring games: while the mouse is over their help
// button, "data\help\<name>.bmp" stands in a black double frame at the top of the screen
// and "data\help\<name>.wav" plays once; leaving the button takes both away.
#pragma once

class CBSoundBuffer;
class CLxScreen;

class CLxExerciseHelp {
  public:
    CLxExerciseHelp() = default;
    CLxExerciseHelp(const CLxExerciseHelp&) = delete;
    CLxExerciseHelp& operator=(const CLxExerciseHelp&) = delete;
    ~CLxExerciseHelp() { ReleaseSound(); }

    // The button (a full control name) gains its selected bit; the page and sound show.
    void Show(CLxScreen* screen, const char* button, const char* name);
    // The button loses its selected and hot bits, the sound stops, the screen is redrawn.
    void Hide(CLxScreen* screen, const char* button);

  private:
    void ReleaseSound();
    CBSoundBuffer* m_pSound = nullptr;
};
