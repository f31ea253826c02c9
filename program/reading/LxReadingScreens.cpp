// Registers the reading screens. Game 1's class is chosen by the current letter, not by
// the course entry: after a letter was chosen on a selection screen the entry is not
// known yet (or the letter has none), and the letter alone decides the variant.
#include "reading/LxReadingScreens.h"

#include <type_traits>

#include "media/LxFile.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "reading/LxRGameScr1.h"
#include "reading/LxRGameScr2.h"
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

// Game n: its pair variant for an extra letter, else the single letter's game (game 1
// where Single is void: that game is not built yet).
template <class Single, class Pair> CLxScreen* LetterGame(UINT msg, WPARAM wParam, LPARAM lParam) {
    ResolveCoursePosition();
    if (IsExtraLetter(CurrentCourseLetter())) return new Pair(kReadingDescription);
    if constexpr (std::is_void_v<Single>)
        return Game1(msg, wParam, lParam);
    else
        return new Single(kReadingDescription);
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
    RegisterScreen(kMsgReadingGame3, LetterGame<void, CLxRPGameScr3>);
    RegisterScreen(kMsgReadingGame4, LetterGame<void, CLxRPGameScr4>);
    RegisterScreen(kMsgReadingGame5, LetterGame<void, CLxRPGameScr5>);
    RegisterScreen(kMsgReadingGame6, LetterGame<void, CLxRPGameScr6>);
    // A selection screen whose description the data set lacks would be an empty page
    // with no way back: its tab then does nothing.
    for (UINT msg = kMsgConsonantSelection; msg <= kMsgPairSelection3; ++msg)
        if (CLxFile::Exists(kSelections[msg - kMsgConsonantSelection]))
            RegisterScreen(msg, Selection);
}
