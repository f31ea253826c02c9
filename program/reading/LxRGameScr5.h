// Reading game 5, "sort the pictures": four pictures of words in a row and two stacks of
// four letter sprites above them, one stack per letter. The child drags a letter onto
// each picture whose word contains it. A picture is done when a sprite of a letter of
// its word lies wholly inside it and no sprite of another letter touches it: it gets a
// tick and that sprite is fixed. A sprite dropped where no open picture takes it goes
// home. When every picture is done the end sound plays.
#pragma once
#include <string>
#include <vector>

#include "reading/LxReadingGame.h"

class CLxRGameScr5 : public CLxReadingGame {
  public:
    static constexpr int kPictures = 4;
    static constexpr int kCopies = 4; // sprites of each letter

    explicit CLxRGameScr5(const char* descriptionPath);

    int OnMouseEvent(CLxMouseEvent* event) override;

    int PictureCount() const { return static_cast<int>(m_pictures.size()); }
    bool PictureDone(int i) const { return m_pictures[i].done; }
    RECT PictureRect(int i) const { return m_pictures[i].rect; }

  private:
    struct Picture {
        RECT rect;
        std::string codes; // the word in lower-case letter codes
        bool done = false;
    };

    bool InWord(const Picture& picture, unsigned char letter) const;
    bool InOpenPicture(const RECT& r) const;
    void Check();

    std::vector<Picture> m_pictures;
};
