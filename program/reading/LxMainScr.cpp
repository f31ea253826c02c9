// The main and information screens; see LxMainScr.h. Both are their descriptions and a
// table of which control sends which message.
#include "reading/LxMainScr.h"

#include <string>

#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxProgramData.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxTimeDiagramm.h"

namespace {
struct Link {
    const char* control;
    UINT msg;
};

constexpr Link kMainLinks[] = {
    {"fo.kilepes", kMsgClose},
    {"fo.olvfej", kMsgReading},
    {"fo.beszjav", kMsgTherapyPreparation},
    {"fo.jatekok", kMsgTherapyGames},
    {"fo.memory", kMsgMemoryGame},
    {"fo.info", kMsgInfoScreen},
    {"fo.felvetel", kMsgRecord},
    {"fo.lejatszas", kMsgPlayBack},
    {"fo.allj", kMsgStop},
};

constexpr Link kInfoLinks[] = {{"fo.vissza", kMsgMainScreen}};

// Sends the message of the clicked control; the message, or 0.
template <size_t N> int FollowLink(CLxMouseEvent* event, const Link (&links)[N]) {
    if (!event || event->m_nType != kMouseClick || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    for (const Link& link : links) {
        if (name != link.control) continue;
        LxSendMessage(link.msg);
        return static_cast<int>(link.msg);
    }
    return 0;
}
} // namespace

CLxMainScr::CLxMainScr(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "Main";
    g_nCourseLesson = 0;
    g_nCourseLetter = g_aCourse[0][0];
    if (!m_pGUI) return;
    m_pLevel = dynamic_cast<CLxTimeDiagramm*>(m_pGUI->FindControl("fo.szint"));
    if (m_pLevel) m_pLevel->SetData(g_Driver.aHistory[kRowLevel], g_Driver.nHistoryLen);
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

int CLxMainScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    return FollowLink(event, kMainLinks);
}

int CLxMainScr::OnTimerEvent(CLxTimerEvent* event) {
    if (!m_pLevel || (event->m_nMessage != kMsgRecord && event->m_nMessage != kMsgPlayBack))
        return 0;
    m_pLevel->SetData(g_Driver.aHistory[kRowLevel], g_Driver.nHistoryLen);
    m_pLevel->DrawColumn(g_Driver.nWrite);
    return 0;
}

CLxInfoScr::CLxInfoScr(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "Main";
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

int CLxInfoScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    return FollowLink(event, kInfoLinks);
}
