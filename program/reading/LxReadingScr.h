// The screen every reading game is built on. From the reading description it shows the
// current letter's card (its call picture, or for an extra letter such as "b-p" its
// members in coloured type), the lesson number, the buttons of the lesson's games, the
// steps to the next and previous letter, the tabs of the letter selection screens and a
// spoken help. The games derive from it and keep its key and mouse handling; each
// game has its own timer handling.
#pragma once
#include "ui/LxScreen.h"

class CBSoundBuffer;

class CLxReadingScr : public CLxScreen {
  public:
    static constexpr int kMaxMembers = 4;
    // The driver's period and smoothing window while a reading game listens.
    static constexpr int kListenPeriod = 25;
    static constexpr int kSmoothFrames = 2;

    explicit CLxReadingScr(const char* descriptionPath);
    ~CLxReadingScr() override;

    // Enter on the lesson number opens that lesson's letter (1039).
    int OnKeyEvent(CLxKeyEvent* event) override;
    // The buttons of the description; the message sent, 0 for none.
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override = 0;

    unsigned char Letter() const { return m_nLetter; }
    // The letter's members: the letters of an extra letter, else the letter itself.
    int MemberCount() const { return m_nMemberCount; }
    unsigned char Member(int i) const;

    CBSoundBuffer* m_pHelpSound = nullptr;
    // Up to four member codes, lowest byte first.
    unsigned m_nMembers = 0;

  protected:
    // The letter's card in the background (games that reload the background draw it again).
    void DrawLetterCard();

    unsigned char m_nLetter = 0;
    int m_nMemberCount = 0;

  private:
    void StoreMembers();
    void MarkTabs();
    void SetUpGameButtons();
    void SetUpSeventhGame();
    void DrawExtraLetterCard();
    void DrawCallPictureCard();
    void ShowHelp();
    void HideHelp();
    void ReleaseHelpSound();
};
