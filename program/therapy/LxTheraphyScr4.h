// The automation screen ("Theraphy4", "data\beszedjav4.xml"): the child reads whole
// sentences. Sentences 0 ... 7 are the therapy sentences, 8 ... 13 the child's own,
// typed into the text area "fo.mondatok" and kept when another sentence is chosen or
// the screen is left; the buttons "mondatok.m0" ... "m7" and "ma" ... "mf" choose one.
// Page 0 shows the sentence plainly (and lets a user sentence be edited); page 1 marks
// the practised letters and reads along (LxReadAlong.h) on every driver tick, moving
// the text area's caret and selection, with the letter heard and the letter expected
// in two overlay slots below the text.
#pragma once
#include "therapy/LxReadAlong.h"
#include "therapy/LxTheraphyScr.h"

class CLxTextArea;

class CLxTheraphyScr4 : public CLxTheraphyScr {
  public:
    static constexpr int kUserSentenceFirst = 8;
    static constexpr int kLastSentence = 13;
    static constexpr int kPeriod = 20, kSmooth = 3;

    explicit CLxTheraphyScr4(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    void ShowPage() override;
    void OnAnswer(UINT msg, WPARAM wParam) override;

    // Shows sentence n (0 ... 13; others are ignored) and makes it the setting.
    void SetSentence(int n);
    // The button character of sentence n: "0" ... "7", then "a" ... "f".
    static char ButtonCharacter(int n);
    // The codes of sentence n; empty outside 0 ... 13.
    static std::string SentenceCodes(int n);
    // Keeps the text area's text as the shown user sentence (cut to what the list holds).
    void SaveUserSentence();

    CLxReadAlong m_reading;

  private:
    CLxTextArea* Area() const;
    void ShowReading();
};
