// lexora: the program. Loads the engine, reads the program's data, opens the window,
// sound and video, builds the main screen and runs the window's loop until the window
// is closed (F12 or the window's close button). Options on the command line choose the
// sound devices: pdrv and pdev for playback, cdrv and cdev for recording, each an index
// into SDL's lists ("pdrv=1"). When LEXORA_AUTOPILOT names a script, the autopilot
// plays it as the program runs (LxAutopilot.h); a script that does not parse ends the
// program at once with exit code 2. Where the program works, from a build tree or
// installed, is settled first (LxPlaces.h), as the engine mounts the working folder.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EngineLoader.h"
#include "core/TextCodec.h"
#include "media/LxFile.h"
#include "reading/LxExerciseScreens.h"
#include "reading/LxMainScr.h"
#include "reading/LxReadingScreens.h"
#include "shell/LxAutopilot.h"
#include "shell/LxDriver.h"
#include "shell/LxMainWindow.h"
#include "shell/LxMessages.h"
#include "shell/LxNotice.h"
#include "shell/LxPlaces.h"
#include "shell/LxProgram.h"
#include "shell/LxStartup.h"
#include "shell/LxWindowProc.h"
#include "therapy/LxTherapyScreens.h"

namespace {

// A fault that ends the program: said on standard error and in a message box, except
// when the autopilot runs, which nobody watches to close a box.
void Fatal(const std::string& latin2) {
    std::string text = talvik::Latin2ToUtf8(latin2);
    std::fprintf(stderr, "%s\n", text.c_str());
    if (!std::getenv("LEXORA_AUTOPILOT"))
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Lexora", text.c_str(), nullptr);
}

std::string CommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

} // namespace

int main(int argc, char** argv) {
    // Messages appear line by line also when the output goes to a file or a pipe.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!StartAutopilot()) return 2;
    std::string said;
    if (!EnterPlaces(FindOwnPlaces(), &said)) {
        Fatal(said);
        return 1;
    }
    if (!said.empty()) std::printf("%s\n", talvik::Latin2ToUtf8(said).c_str());
    std::string error;
    Interface* root = talvik::LoadEngineLibrary(&error);
    if (!root) {
        Fatal("Nem találom a 'libtalviklib.so'-t!");
        return 1;
    }
    DriverInit(root);
    std::string cmdLine = CommandLine(argc, argv);
    InitApplication(cmdLine.c_str());
    LxSetMessageHandler(WindowProc);
    ConnectDriverToScreens();
    RegisterExerciseScreens();
    RegisterTherapyScreens();
    RegisterReadingScreens();

    int code = 1;
    CLxFile mainScreen;
    if (!mainScreen.Open(kMainScreenDescription))
        Fatal(std::string("Nem olvasható a főképernyő leírása: ") + kMainScreenDescription);
    else if (!CreateMainWindow())
        Fatal(std::string("Nem nyílik meg a program ablaka: ") + SDL_GetError());
    else {
        InitAudio();
        InitVideo();
        g_bRenderEnabled = 0;
        WindowProc(kMsgMainScreen, 0, 0);
        std::string copied = CopiedRecordsNotice();
        if (!copied.empty()) ShowNotice(copied);
        g_bRenderEnabled = 1;
        Render();
        ShowMainWindow();
        code = RunMessageLoop();
        WindowProc(kMsgStop, 0, 0);
        ReleaseVideo();
        ReleaseAudio();
        DestroyMainWindow();
    }
    ReleaseApplication();
    SDL_Quit();
    return code;
}
