// Registers the main and information screens and the memory games; see
// LxExerciseScreens.h.
#include "reading/LxExerciseScreens.h"

#include "reading/LxMainScr.h"
#include "reading/LxMemoryExtScr.h"
#include "reading/LxMemoryScr.h"
#include "shell/LxMessages.h"
#include "shell/LxScreenTable.h"

namespace {
CLxScreen* MainScreen(UINT, WPARAM, LPARAM) {
    return new CLxMainScr(kMainScreenDescription);
}

CLxScreen* InfoScreen(UINT, WPARAM, LPARAM) {
    return new CLxInfoScr(kInfoScreenDescription);
}

// The memory game answers with the main screen; the extended one, opened from a reading
// screen kept as the saved screen, brings that screen back.
CLxScreen* MemoryGame(UINT, WPARAM, LPARAM) {
    return new CLxMemoryScr("data\\memory.xml", kMsgMainScreen);
}

CLxScreen* ExtendedMemoryGame(UINT, WPARAM, LPARAM) {
    return new CLxMemoryExtScr("data\\memoryext.xml", kMsgExtendedMemoryDone);
}
} // namespace

void RegisterExerciseScreens() {
    RegisterScreen(kMsgMainScreen, MainScreen);
    RegisterScreen(kMsgInfoScreen, InfoScreen);
    RegisterScreen(kMsgMemoryGame, MemoryGame);
    RegisterScreen(kMsgExtendedMemory, ExtendedMemoryGame);
}
