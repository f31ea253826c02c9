// Registers the reading screens. Game 1's class is chosen by the current letter, not by
// the course entry: after a letter was chosen on a selection screen the entry is not
// known yet (or the letter has none), and the letter alone decides the variant.
#include "reading/LxReadingScreens.h"

#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "reading/LxRGameScr1.h"
#include "reading/LxRPGameScr1.h"
#include "reading/LxReadingSelScr.h"
#include "shell/LxScreenTable.h"

namespace {
const char* const kReadingDescription = "data\\olvfej.xml";

CLxScreen* Game1(UINT, WPARAM, LPARAM) {
    ResolveCoursePosition();
    if (IsExtraLetter(CurrentCourseLetter())) return new CLxRPGameScr1(kReadingDescription);
    return new CLxRGameScr1(kReadingDescription);
}

CLxScreen* Selection(UINT msg, WPARAM, LPARAM) {
    static const char* const kDescriptions[] = {"data\\consel.xml", "data\\vowsel.xml",
                                                "data\\pair1sel.xml", "data\\pair2sel.xml",
                                                "data\\pair3sel.xml"};
    return new CLxReadingSelScr(kDescriptions[msg - 1034], static_cast<int>(msg));
}
} // namespace

void RegisterReadingScreens() {
    RegisterScreen(1025, LxSwitch::Create, Game1);
    RegisterScreen(1026, LxSwitch::Create, Game1);
    for (UINT msg = 1034; msg <= 1038; ++msg) RegisterScreen(msg, LxSwitch::Create, Selection);
}
