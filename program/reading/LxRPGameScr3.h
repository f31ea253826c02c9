// Reading game 3 for an extra letter: two pictures at a time, and under them two
// letter sprites per member. The child drags a member onto each picture whose word
// contains it; a picture with a right letter on it and no wrong one gets a tick. Six
// rounds of two pictures (twelve pictures) follow one another after the change-over
// delay; after the last round the end sound plays.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

class CLxRPGameScr3 : public CLxReadingGame {
  public:
    static constexpr int kMaxPictures = 12, kCopies = 2, kLastPage = 10;
    static constexpr RECT kPictures[2] = {{80, 200, 280, 400}, {400, 200, 600, 400}};

    explicit CLxRPGameScr3(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    // The first picture's place in the lesson's list: 0, 2, 4 ...
    int Page() const { return m_nPage; }
    // Whether picture i (0 or 1) of the round is done; a place without a picture is.
    bool PictureDone(int i) const { return m_targets[i].done; }

  protected:
    void ChangeOver() override;

  private:
    struct Target {
        std::string codes; // the syllabified word in letter codes
        bool done = true;
    };

    void Build();
    bool Contains(const Target& target, unsigned char member) const;
    void Check();

    std::vector<std::string> m_words;
    Target m_targets[2];
    int m_nPage = 0;
};
