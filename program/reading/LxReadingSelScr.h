// A letter selection screen (consonants, vowels, phoneme pairs): a grid of picture
// buttons, one per letter, each opening that letter's lesson. A button is a control of
// group "fo" named "fo.", two digits and the letter ("fo.07sz"); its two pictures
// ("sz0.bmp" and "sz1.bmp", with the letter in the doubled form of file names) come
// from the picture folder of the description and are painted into the group's enabled
// pictures, magenta transparent.
#pragma once
#include "ui/LxScreen.h"

#include <string>

class CLxReadingSelScr : public CLxScreen {
  public:
    static constexpr int kMaxFolder = 63;

    // message is the one that opened the screen (1034 to 1038); it goes with the chosen
    // letter so the window knows where the choice came from.
    CLxReadingSelScr(const char* descriptionPath, int message);

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;

    const std::string& PictureFolder() const { return m_folder; }
    int m_nMessage;

  private:
    void FindFolder(const char* descriptionPath);
    void DrawLetterButtons();

    std::string m_folder;
};

// The letter of a letter button's name ("fo.07sz" gives sz), or 0 for another control.
unsigned char SelectionLetter(const char* fullName);
