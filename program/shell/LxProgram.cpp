#include "shell/LxProgram.h"

CBSoundBuffer* g_pRecording = nullptr;
CBSoundBuffer* g_pCaptureRing = nullptr;
CLxScreen* g_pActiveScreen = nullptr;
CLxTHistory* g_pHistory = nullptr;
CLxCallPic* g_pCallPics = nullptr;
CLxSmallPic* g_pSmallPics = nullptr;
int g_bRenderEnabled = 0;
int g_bVideoMode = 0;
int g_bVideoRunning = 0;
int g_nDriverTimer = 0;
int g_nOutFile = 0;
char g_szToday[16] = {};

static LxMessageHandler g_pfnMessageHandler = nullptr;

LRESULT LxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return g_pfnMessageHandler ? g_pfnMessageHandler(msg, wParam, lParam) : 0;
}

void LxSetMessageHandler(LxMessageHandler handler) {
    g_pfnMessageHandler = handler;
}
