// Reading game 4, "letters onto pictures". Part a shows the call picture of the lesson's
// letter (both members' pictures for a vowel pair) and a row of letter sprites; the
// child drags every sprite of the letter onto its picture. Part b shows four pictures of
// words and a row of letters; the child drags each letter onto the pictures whose word
// begins with it. A picture holding exactly the sprites of its letter is done: it gets a
// tick and its sprites are fixed. A sprite dropped where no open picture takes it goes
// home. After part a a short change-over delay on the window timer leads to part b; when
// the last part is done the end sound plays.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

class CLxRGameScr4 : public CLxReadingGame {
  public:
    static constexpr int kMaxLetters = 16;
    static constexpr int kPictures = 4;

    explicit CLxRGameScr4(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    bool InPartB() const { return m_bPartB; }
    int TargetCount() const { return static_cast<int>(m_targets.size()); }
    bool TargetDone(int i) const { return m_targets[i].done; }
    RECT TargetRect(int i) const { return m_targets[i].rect; }

  protected:
    void ChangeOver() override;

  private:
    struct Target {
        RECT rect;
        unsigned char letter; // the letter its sprites show, lower case
        bool done = false;
    };

    void BuildPartA();
    void BuildPartB();
    void AddSprites(const std::vector<std::string>& letters, const char* fontPath, int y);
    bool IsDone(const Target& target) const;
    bool InOpenTarget(const RECT& r) const;
    void Check();

    std::vector<Target> m_targets;
    std::vector<std::string> m_lettersA, m_lettersB, m_words;
    bool m_bPartB = false;
};
