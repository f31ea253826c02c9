// lexora: the program. Loads the engine, reads the program's data, opens the window,
// sound and video, builds the main screen and runs the window's loop until the window
// is closed (F12 or the window's close button). Options on the command line choose the
// sound devices: pdrv and pdev for playback, cdrv and cdev for recording, each an index
// into SDL's lists ("pdrv=1").
#include <SDL.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include <dlfcn.h>
#include <unistd.h>

#include "Folder.h"
#include "core/TextCodec.h"
#include "reading/LxReadingScreens.h"
#include "shell/LxDriver.h"
#include "shell/LxMainWindow.h"
#include "shell/LxMenuScreen.h"
#include "shell/LxProgram.h"
#include "shell/LxStartup.h"
#include "shell/LxWindowProc.h"

namespace {

std::string ExecutableFolder() {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    path[n] = 0;
    char* slash = std::strrchr(path, '/');
    if (slash) *slash = 0;
    return path;
}

// The engine's root from libtalviklib.so beside the program, else from the default
// search; null when there is none.
Interface* LoadEngine() {
    std::string beside = ExecutableFolder() + "/libtalviklib.so";
    const int flags = RTLD_NOW | RTLD_NODELETE;
    void* library = dlopen(beside.c_str(), flags);
    if (!library) library = dlopen("libtalviklib.so", flags);
    if (!library) return nullptr;
    auto** root = static_cast<Folder**>(dlsym(library, "export_root"));
    return root ? *root : nullptr;
}

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
    Interface* root = LoadEngine();
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
    RegisterReadingScreens();

    int code = 0;
    if (CreateMainWindow()) {
        InitAudio();
        InitVideo();
        g_bRenderEnabled = 0;
        WindowProc(1024, 0, 0);
        g_bRenderEnabled = 1;
        Render();
        ShowMainWindow();
        code = RunMessageLoop();
        WindowProc(1084, 0, 0);
        ReleaseVideo();
        ReleaseAudio();
        DestroyMainWindow();
    }
    ReleaseApplication();
    SDL_Quit();
    return code;
}
