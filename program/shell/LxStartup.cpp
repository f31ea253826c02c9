#include "shell/LxStartup.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "media/LxCallPic.h"
#include "media/LxFile.h"
#include "media/LxFontServer.h"
#include "media/LxSaveFile.h"
#include "media/LxSmallPic.h"
#include "media/LxSoundDevice.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "media/LxVideo.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxClock.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxEngineBinding.h"
#include "shell/LxNotice.h"
#include "shell/LxPlaces.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "shell/LxSettings.h"
#include "shell/LxTHistory.h"
#include "shell/LxUserRecords.h"
#include "shell/LxWindowRules.h"
#include "shell/LxWords.h"

CLxVideo* g_pVideo = nullptr;
int g_nPlayerDriver = -1, g_nPlayerDevice = -1, g_nCaptureDriver = -1, g_nCaptureDevice = -1;

static void FormatToday() {
    int date = LxToday();
    char today[48];
    std::snprintf(today, sizeof today, "%04d.%02d.%02d", date / 10000, date / 100 % 100,
                  date % 100);
    today[sizeof g_szToday - 1] = 0;
    memcpy(g_szToday, today, sizeof g_szToday);
}

void InitApplication(const char* cmdLine) {
    g_pfnSaveFailed = ShowNotice; // a save that fails is told on the screen too
    EngineStartRecogniser();
    g_nPlayerDriver = GetOptionValue(cmdLine, "pdrv", -1);
    g_nPlayerDevice = GetOptionValue(cmdLine, "pdev", -1);
    g_nCaptureDriver = GetOptionValue(cmdLine, "cdrv", -1);
    g_nCaptureDevice = GetOptionValue(cmdLine, "cdev", -1);

    CLxFile::SetRoots(g_Places.FirstRoot().c_str(), g_Places.SecondRoot().c_str());
    LoadAlphabet(kCourseFile, "data\\beszedjav.xml");

    g_pFontServer = new CLxFontServer;
    g_pSoundServer = new CLxSoundServer;
    g_pCallPics = new CLxCallPic("data\\callpic.xml");
    g_pSmallPics = new CLxSmallPic("data\\smallpic.xml");
    g_pHistory = new CLxTHistory;
    FormatToday();
    ResetSettings();
    memcpy(g_szTherapyDate, g_szToday, sizeof g_szToday);

    LoadSentences("data\\beszedjav.xml");
    LoadCourse(kCourseFile);
    g_nCourseLesson = 0;
    g_nCourseLetter = g_aCourse[0][0];
    LoadWords();
}

void ReleaseApplication() {
    SaveWordsIfChanged();
    delete g_pHistory;
    g_pHistory = nullptr;
    delete g_pCallPics;
    g_pCallPics = nullptr;
    delete g_pSmallPics;
    g_pSmallPics = nullptr;
    delete g_pFontServer;
    g_pFontServer = nullptr;
}

bool InitAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::printf("SDL_Init Error: %s\n", SDL_GetError());
        return false;
    }
    g_pPlayer = new CLxSoundDevice(false);
    g_pPlayer->OpenPlayer(g_nPlayerDriver, g_nPlayerDevice);
    g_pRecording = CreateSoundBuffer(kRecordingSamples, 22050, 16);
    // A recording that was never made plays as silence, never as old memory.
    ClearSound(g_pRecording, kRecordingSamples);
    g_pCapture = new CLxSoundDevice(true);
    g_pCapture->OpenCapture(g_nCaptureDriver, g_nCaptureDevice);
    g_pCaptureRing = CreateCaptureBuffer(kCaptureRingSamples, 22050, 16);
    return g_pRecording && g_pCaptureRing;
}

void ReleaseAudio() {
    StopSound(g_pRecording);
    delete g_pRecording;
    g_pRecording = nullptr;
    delete g_pPlayer;
    g_pPlayer = nullptr;
    StopCaptureRing(g_pCaptureRing);
    delete g_pCaptureRing;
    g_pCaptureRing = nullptr;
    delete g_pCapture;
    g_pCapture = nullptr;
}

bool InitVideo() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::printf("SDL_Init Error: %s\n", SDL_GetError());
        return false;
    }
    g_pVideo = new CLxVideo(nullptr, 0, 0, 800, 600);
    g_pDrawSurface = g_pVideo->CreateSurface();
    g_pScreenSurface = g_pVideo->CreateSurface();
    return g_pDrawSurface && g_pScreenSurface;
}

void ReleaseVideo() {
    FreeSurface(&g_pScreenSurface);
    FreeSurface(&g_pDrawSurface);
    delete g_pVideo;
    g_pVideo = nullptr;
}
