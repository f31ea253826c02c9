// The shared part of reading games 2 to 7; see LxReadingGame.h.
#include "reading/LxReadingGame.h"

#include <cstdio>

#include "media/LxDraw.h"
#include "media/LxSmallPic.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"
#include "reading/LxCourse.h"
#include "reading/LxLetters.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"

namespace {
constexpr uint32_t kTickKey = 0xFFFFFF;
}

uint32_t LetterColour(unsigned char code) {
    return IsVowel(code) ? kVowelColour : kConsonantColour;
}

std::vector<std::vector<std::string>> LessonGroups(unsigned char letter, const char* game,
                                                   const char* attr, int groupFrom, int maxGroups,
                                                   int maxItems) {
    std::vector<std::vector<std::string>> groups;
    std::vector<std::string> items = LessonList(letter, game, attr, maxItems);
    if (items.empty()) return groups;
    if (static_cast<int>(items.size()) >= groupFrom) {
        groups.push_back(items);
        return groups;
    }
    std::vector<char*> split(maxItems > 0 ? maxItems : 1);
    for (std::string& item : items) {
        if (static_cast<int>(groups.size()) >= maxGroups) break;
        int n = CLxXMLParser::SplitList(item.data(), split.data(), maxItems);
        groups.emplace_back(split.begin(), split.begin() + n);
    }
    return groups;
}

CLxReadingGame::CLxReadingGame(const char* descriptionPath, int game, const char* prefix)
    : CLxReadingScr(descriptionPath) {
    char text[40];
    std::snprintf(text, sizeof text, "fo.jatek%d", game);
    SetControlFlag(text, kSelected, true);
    std::snprintf(text, sizeof text, "data\\sounds\\%s%dEnd.wav", prefix, game);
    if (g_pSoundServer) m_pEndSound = g_pSoundServer->GetSound(text, -1, -1);
}

CLxReadingGame::~CLxReadingGame() {
    if (m_pEndSound && g_pSoundServer) g_pSoundServer->ReleaseSound(m_pEndSound);
}

int CLxReadingGame::OnTimerEvent(CLxTimerEvent* event) {
    if (!event || event->m_nMessage != static_cast<int>(kMsgTimer) || m_nDelay <= 0) return 0;
    if (--m_nDelay == 0) ChangeOver();
    return 0;
}

void CLxReadingGame::End() {
    if (m_bEnded) return;
    m_bEnded = true;
    if (m_pEndSound) PlaySound(m_pEndSound, false, true);
}

bool CLxReadingGame::DrawWordPicture(const std::string& word, const RECT& rect,
                                     std::string* syllables) {
    int index = g_pSmallPics ? g_pSmallPics->FindPicture(word.c_str()) : -1;
    if (syllables) *syllables = word;
    if (index < 0) return false;
    if (syllables && !g_pSmallPics->Picture(index).syllables.empty())
        *syllables = g_pSmallPics->Picture(index).syllables;
    CLxSurface* picture = LoadBitmap(g_pSmallPics->PicturePath(index));
    if (picture->m_pSurface && m_pGUI->m_pBackground)
        BltSurface(m_pGUI->m_pBackground, &rect, picture, nullptr, 0);
    FreeSurface(&picture);
    return true;
}

void CLxReadingGame::DrawTick(const char* path, const RECT& rect) {
    CLxSurface* tick = LoadBitmap(path);
    if (tick->m_pSurface && m_pGUI->m_pBackground) {
        tick->SetColorKey(ColorToPixel(tick, kTickKey));
        BltSurface(m_pGUI->m_pBackground, &rect, tick, nullptr, 0);
        m_pGUI->DrawBackground(&rect, nullptr, true);
    }
    FreeSurface(&tick);
}
