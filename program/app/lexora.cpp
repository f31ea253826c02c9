// lexora: the program. Loads the engine, reads the program's data, opens the window,
// sound and video, builds the main screen and runs the window's loop until the window
// is closed (F12 or the window's close button). Options on the command line choose the
// sound devices: pdrv and pdev for playback, cdrv and cdev for recording, each an index
// into SDL's lists ("pdrv=1"). When LEXORA_AUTOPILOT names a script, the autopilot
// plays it as the program runs (LxAutopilot.h); a script that does not parse ends the
// program at once with exit code 2.
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "EngineLoader.h"
#include "core/TextCodec.h"
#include "reading/LxReadingScreens.h"
#include "shell/LxAutopilot.h"
#include "shell/LxDriver.h"
#include "shell/LxMainWindow.h"
#include "shell/LxMenuScreen.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxStartup.h"
#include "shell/LxWindowProc.h"
#include "therapy/LxTherapyScreens.h"

namespace {

void NoEngine() {
    const char text[] = "Nem találom a 'libtalviklib.so'-t!\r\n";
    std::fprintf(stderr, "%s", talvik::Latin2ToUtf8(text).c_str());
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Lexora", talvik::Latin2ToUtf8(text).c_str(),
                             nullptr);
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
    std::string error;
    Interface* root = talvik::LoadEngineLibrary(&error);
    if (!root) {
        NoEngine();
        return 1;
    }
    DriverInit(root);
    std::string cmdLine = CommandLine(argc, argv);
    InitApplication(cmdLine.c_str());
    LxSetMessageHandler(WindowProc);
    ConnectDriverToScreens();
    RegisterMenuScreens();
    RegisterTherapyScreens();
    RegisterReadingScreens();

    int code = 0;
    if (CreateMainWindow()) {
        InitAudio();
        InitVideo();
        g_bRenderEnabled = 0;
        WindowProc(kMsgMainScreen, 0, 0);
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
