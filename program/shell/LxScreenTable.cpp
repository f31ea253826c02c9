// The screen table; see LxScreenTable.h. The rules are one constant table; the
// factories a second one, indexed by message, filled by the screen modules.
#include "shell/LxScreenTable.h"

#include "shell/LxMessages.h"
#include "shell/LxProgramData.h"

namespace {
// The extra game needs a current lesson that has one.
bool HasExtraGame(WPARAM) {
    return g_nCourseLesson >= 0 && g_nCourseLesson < kCourseEntries &&
           g_aCourse[g_nCourseLesson][7] != 0;
}

// A letter chosen on a selection screen becomes the current one, in no lesson.
bool ChooseLetter(WPARAM letter) {
    g_nCourseLetter = static_cast<int>(letter);
    g_nCourseLesson = -1;
    return true;
}

struct Rule {
    UINT first, last; // the messages the rule holds for
    LxSwitch how;
    UINT as = 0;                            // whose factory builds the screen; 0 for its own
    bool (*admit)(WPARAM wParam) = nullptr; // runs first; false: the message does nothing
};

constexpr Rule kRules[] = {
    {kMsgMainScreen, kMsgReadingGame6, LxSwitch::Create},
    {kMsgReadingExtraGame, kMsgReadingExtraGame, LxSwitch::Create, 0, HasExtraGame},
    {kMsgExtendedMemory, kMsgExtendedMemory, LxSwitch::CreateSaving},
    {kMsgConsonantSelection, kMsgPairSelection3, LxSwitch::Create},
    {kMsgReadingLetter, kMsgReadingLetter, LxSwitch::Create, kMsgReading, ChooseLetter},
    {kMsgTherapyPreparation, kMsgAutomation, LxSwitch::Create},
    {kMsgUserSelection, kMsgUserSelection, LxSwitch::Push},
    {kMsgUserSelected, kMsgUserSelected, LxSwitch::Pop},
    {kMsgTherapySetup, kMsgTherapySetup, LxSwitch::Push},
    {kMsgTherapySetupDone, kMsgTherapySetupDone, LxSwitch::Pop},
    {kMsgVoiceSetup, kMsgVoiceSetup, LxSwitch::Push},
    {kMsgVoiceSetupDone, kMsgVoiceSetupDone, LxSwitch::Pop},
    {kMsgMemoryGame, kMsgInfoScreen, LxSwitch::Create},
    {kMsgExtendedMemoryDone, kMsgExtendedMemoryDone, LxSwitch::RestoreSaved},
    {kMsgWordList, kMsgWordList, LxSwitch::Push},
    {kMsgWordChosen, kMsgWordChosen, LxSwitch::Pop},
    {kMsgUserList, kMsgUserList, LxSwitch::Push},
    {kMsgUserChosen, kMsgUserChosen, LxSwitch::Pop},
    {kMsgDayList, kMsgDayList, LxSwitch::Push},
    {kMsgDayChosen, kMsgDayChosen, LxSwitch::Pop},
    {kMsgRecordingList, kMsgRecordingList, LxSwitch::Push},
    {kMsgRecordingChosen, kMsgRecordingChosen, LxSwitch::Pop},
    {kMsgSentences, kMsgSentences, LxSwitch::Push},
    {kMsgSentenceChosen, kMsgSentenceChosen, LxSwitch::Pop},
    {kMsgHelp, kMsgHelp, LxSwitch::PushOver},
    {kMsgHelpDone, kMsgHelpDone, LxSwitch::Pop},
};

LxScreenFactory g_factories[kLastProgramMessage - kFirstProgramMessage + 1] = {};

bool IsProgramMessage(UINT msg) {
    return msg >= kFirstProgramMessage && msg <= kLastProgramMessage;
}

const Rule* FindRule(UINT msg) {
    for (const Rule& rule : kRules)
        if (msg >= rule.first && msg <= rule.last) return &rule;
    return nullptr;
}
} // namespace

void RegisterScreen(UINT msg, LxScreenFactory make) {
    if (IsProgramMessage(msg)) g_factories[msg - kFirstProgramMessage] = make;
}

void ClearScreenTable() {
    for (LxScreenFactory& make : g_factories)
        make = nullptr;
}

LxRoute RouteMessage(UINT msg, WPARAM wParam) {
    const Rule* rule = FindRule(msg);
    if (!rule || (rule->admit && !rule->admit(wParam))) return {};
    if (rule->how == LxSwitch::Pop || rule->how == LxSwitch::RestoreSaved)
        return LxRoute{rule->how, nullptr, msg};
    UINT as = rule->as ? rule->as : msg;
    LxScreenFactory make = g_factories[as - kFirstProgramMessage];
    if (!make) return {};
    return LxRoute{rule->how, make, as};
}
