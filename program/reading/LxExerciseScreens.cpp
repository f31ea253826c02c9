// Registers the main and information screens and the memory games; see
// LxExerciseScreens.h.
#include "reading/LxExerciseScreens.h"

#include "reading/LxMainScr.h"
#include "shell/LxMessages.h"
#include "shell/LxScreenTable.h"

namespace {
CLxScreen* MainScreen(UINT, WPARAM, LPARAM) {
    return new CLxMainScr(kMainScreenDescription);
}

CLxScreen* InfoScreen(UINT, WPARAM, LPARAM) {
    return new CLxInfoScr(kInfoScreenDescription);
}
} // namespace

void RegisterExerciseScreens() {
    RegisterScreen(kMsgMainScreen, MainScreen);
    RegisterScreen(kMsgInfoScreen, InfoScreen);
}
