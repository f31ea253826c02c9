// Registers the therapy screens; see LxTherapyScreens.h.
#include "therapy/LxTherapyScreens.h"

#include "shell/LxMessages.h"
#include "shell/LxScreenTable.h"
#include "therapy/LxTGameScr.h"
#include "therapy/LxTGameScr3.h"

namespace {
const char* const kGamesDescription = "data\\beszedjavj.xml";

CLxScreen* GameMenu(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr(kGamesDescription);
}
CLxScreen* FrogGame(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr3(kGamesDescription);
}
} // namespace

void RegisterTherapyScreens() {
    RegisterScreen(kMsgTherapyGames, GameMenu);
    RegisterScreen(kMsgTherapyGame3, FrogGame);
}
