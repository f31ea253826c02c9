// Registers the reading screens. Game 1's class is chosen by the current letter, not by
// the course entry: after a letter was chosen on a selection screen the entry is not
// known yet (or the letter has none), and the letter alone decides the variant.
#include "reading/LxReadingScreens.h"

#include <type_traits>

#include "media/LxFile.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "reading/LxRColoringScr.h"
#include "reading/LxRDominoScr.h"
#include "reading/LxRGameScr1.h"
#include "reading/LxRGameScr2.h"
#include "reading/LxRGameScr3.h"
#include "reading/LxRGameScr4.h"
#include "reading/LxRGameScr5.h"
#include "reading/LxRGameScr6.h"
#include "reading/LxRGameScr7.h"
#include "reading/LxRPGameScr1.h"
#include "reading/LxRPGameScr2.h"
#include "reading/LxRPGameScr3.h"
#include "reading/LxRPGameScr4.h"
#include "reading/LxRPGameScr5.h"
#include "reading/LxRPGameScr6.h"
#include "reading/LxReadingSelScr.h"
#include "shell/LxMessages.h"
#include "shell/LxScreenTable.h"

namespace {
const char* const kReadingDescription = "data\\olvfej.xml";

CLxScreen* Game1(UINT, WPARAM, LPARAM) {
    ResolveCoursePosition();
    if (IsExtraLetter(CurrentCourseLetter())) return new CLxRPGameScr1(kReadingDescription);
    return new CLxRGameScr1(kReadingDescription);
}

// Game n: its pair variant for an extra letter, else the single letter's game.
template <class Single, class Pair> CLxScreen* LetterGame(UINT, WPARAM, LPARAM) {
    ResolveCoursePosition();
    if (IsExtraLetter(CurrentCourseLetter())) return new Pair(kReadingDescription);
    return new Single(kReadingDescription);
}

// The lesson's seventh game (1032), by its kind: 1 reading game 7, 2 colouring,
// 3 domino. The screen table routes 1032 here only for a lesson that has one.
CLxScreen* SeventhGame(UINT msg, WPARAM wParam, LPARAM lParam) {
    ResolveCoursePosition();
    int kind = LessonSeventhGame();
    if (kind == 2) return new CLxRColoringScr("data\\coloring.xml");
    if (kind == 3) return new CLxRDominoScr(kReadingDescription);
    if (kind == 1 && !IsExtraLetter(CurrentCourseLetter())) // game 7 has no pair variant
        return new CLxRGameScr7(kReadingDescription);
    return Game1(msg, wParam, lParam);
}

const char* const kSelections[] = {"data\\consel.xml", "data\\vowsel.xml", "data\\pair1sel.xml",
                                   "data\\pair2sel.xml", "data\\pair3sel.xml"};

CLxScreen* Selection(UINT msg, WPARAM, LPARAM) {
    return new CLxReadingSelScr(kSelections[msg - kMsgConsonantSelection], static_cast<int>(msg));
}
} // namespace

void RegisterReadingScreens() {
    RegisterScreen(kMsgReading, Game1);
    RegisterScreen(kMsgReadingGame1, Game1);
    RegisterScreen(kMsgReadingGame2, LetterGame<CLxRGameScr2, CLxRPGameScr2>);
    RegisterScreen(kMsgReadingGame3, LetterGame<CLxRGameScr3, CLxRPGameScr3>);
    RegisterScreen(kMsgReadingGame4, LetterGame<CLxRGameScr4, CLxRPGameScr4>);
    RegisterScreen(kMsgReadingGame5, LetterGame<CLxRGameScr5, CLxRPGameScr5>);
    RegisterScreen(kMsgReadingGame6, LetterGame<CLxRGameScr6, CLxRPGameScr6>);
    RegisterScreen(kMsgReadingExtraGame, SeventhGame);
    // A selection screen whose description the data set lacks would be an empty page
    // with no way back: its tab then does nothing.
    for (UINT msg = kMsgConsonantSelection; msg <= kMsgPairSelection3; ++msg)
        if (CLxFile::Exists(kSelections[msg - kMsgConsonantSelection]))
            RegisterScreen(msg, Selection);
}
