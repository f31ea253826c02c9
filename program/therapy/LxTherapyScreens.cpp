// Registers the therapy screens; see LxTherapyScreens.h.
#include "therapy/LxTherapyScreens.h"

#include "shell/LxMessages.h"
#include "shell/LxScreenTable.h"
#include "therapy/LxTGameScr.h"
#include "therapy/LxTGameScr1.h"
#include "therapy/LxTGameScr2.h"
#include "therapy/LxTGameScr3.h"
#include "therapy/LxTGameScr4.h"
#include "therapy/LxTGameScr5.h"
#include "therapy/LxTGameScr6.h"
#include "therapy/LxTHelpScr.h"
#include "therapy/LxTListScr.h"
#include "therapy/LxTSentencesScr.h"
#include "therapy/LxTSetupScr.h"
#include "therapy/LxTUserLoadScr.h"
#include "therapy/LxTheraphyScr1.h"
#include "therapy/LxTheraphyScr2.h"
#include "therapy/LxTheraphyScr3.h"
#include "therapy/LxTheraphyScr4.h"
#include "therapy/LxVSetupScr.h"

namespace {
const char* const kGamesDescription = "data\\beszedjavj.xml";

CLxScreen* GameMenu(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr(kGamesDescription);
}
CLxScreen* CarGame(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr1(kGamesDescription);
}
CLxScreen* ClownGame(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr2(kGamesDescription);
}
CLxScreen* FrogGame(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr3(kGamesDescription);
}
CLxScreen* PictureBoard(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr4(kGamesDescription);
}
CLxScreen* FlowerGame(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr5(kGamesDescription);
}
CLxScreen* MoleGame(UINT, WPARAM, LPARAM) {
    return new CLxTGameScr6(kGamesDescription);
}
CLxScreen* Preparation(UINT, WPARAM, LPARAM) {
    return new CLxTheraphyScr1("data\\beszedjav1.xml");
}
CLxScreen* SoundDevelopment(UINT, WPARAM, LPARAM) {
    return new CLxTheraphyScr2("data\\beszedjav2.xml");
}
// wParam: the view a fixation screen rebuilds itself in (0 from the other screens).
CLxScreen* Fixation(UINT, WPARAM view, LPARAM) {
    return new CLxTheraphyScr3("data\\beszedjav3.xml", int(view));
}
CLxScreen* Automation(UINT, WPARAM, LPARAM) {
    return new CLxTheraphyScr4("data\\beszedjav4.xml");
}
CLxScreen* LevelSetup(UINT, WPARAM, LPARAM) {
    return new CLxTSetupScr("data\\beszedjavl.xml");
}
CLxScreen* VoiceSetup(UINT, WPARAM, LPARAM) {
    return new CLxVSetupScr("data\\beszedjavv.xml");
}
// The lists answer with their opening message + 1; the recordings list has play buttons.
CLxScreen* List(UINT msg, WPARAM count, LPARAM texts) {
    const char* description =
        msg == kMsgRecordingList ? "data\\beszedjavf.xml" : "data\\beszedjavt.xml";
    return new CLxTListScr(description, int(count), reinterpret_cast<const char* const*>(texts),
                           msg + 1);
}
CLxScreen* Sentences(UINT, WPARAM sentences, LPARAM) {
    return new CLxTSentencesScr("data\\beszedjavs.xml", sentences != 0);
}
CLxScreen* Help(UINT, WPARAM, LPARAM page) {
    return new CLxTHelpScr("data\\beszedjavh.xml", reinterpret_cast<const char*>(page));
}
CLxScreen* ChildSelection(UINT, WPARAM, LPARAM) {
    return new CLxTUserLoadScr("data\\beszedjavu.xml");
}
} // namespace

void RegisterTherapyScreens() {
    RegisterScreen(kMsgTherapyGames, GameMenu);
    RegisterScreen(kMsgTherapyGame1, CarGame);
    RegisterScreen(kMsgTherapyGame2, ClownGame);
    RegisterScreen(kMsgTherapyGame3, FrogGame);
    RegisterScreen(kMsgTherapyGame4, PictureBoard);
    RegisterScreen(kMsgTherapyGame5, FlowerGame);
    RegisterScreen(kMsgTherapyGame6, MoleGame);
    RegisterScreen(kMsgUserSelection, ChildSelection);
    RegisterScreen(kMsgTherapyPreparation, Preparation);
    RegisterScreen(kMsgSoundDevelopment, SoundDevelopment);
    RegisterScreen(kMsgFixation, Fixation);
    RegisterScreen(kMsgAutomation, Automation);
    RegisterScreen(kMsgTherapySetup, LevelSetup);
    RegisterScreen(kMsgVoiceSetup, VoiceSetup);
    for (UINT list : {kMsgWordList, kMsgUserList, kMsgDayList, kMsgRecordingList})
        RegisterScreen(list, List);
    RegisterScreen(kMsgSentences, Sentences);
    RegisterScreen(kMsgHelp, Help);
}
