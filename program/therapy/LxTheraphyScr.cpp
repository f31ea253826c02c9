// The therapy screens' base; see LxTheraphyScr.h.
#include "therapy/LxTheraphyScr.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/Path.h"
#include "media/LxFile.h"
#include "media/LxSoundHelpers.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxChildren.h"
#include "shell/LxDriver.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxProgressPage.h"
#include "shell/LxSettings.h"
#include "shell/LxTHistory.h"
#include "shell/LxUserRecords.h"
#include "shell/LxWords.h"
#include "therapy/LxTPanels.h"
#include "therapy/LxTasks.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxText.h"

namespace {
// The driver on the therapy screens: per-phoneme recognition under the letter overlay.
constexpr int kTherapyPeriod = 25, kTherapySmooth = 4;
constexpr LxOverlaySlot kOverlay[] = {{0, 0, {220, 180, 420, 380}}};

const char* const kRecord = "fo.felvetel";
const char* const kStop = "fo.megallitas";
const char* const kPause = "fo.pillanatallj";
const char* const kPlay = "fo.lejatszas";
const char* const kWordField = "fo.szavak";
const char* const kNoRecordings = "Nincs hanganyag";

// The twin in the other group: "fö.x" for "fo.x".
std::string Twin(const std::string& name) {
    return "fö." + name.substr(3);
}

} // namespace

CLxTheraphyScr::CLxTheraphyScr(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "Theraphy";
    SetDriverMode({kDriverPhonemes, kTherapyPeriod, kTherapySmooth, nullptr, nullptr, kOverlay, 1});
    for (const char* name : {"fo.mentes", "fo.beallit", "fo.szobe", "fo.beolvasas", "fo.lassu",
                             "fo.minta", "fo.hangmentes"})
        SetControlFlag(name, kEnabled, false);
    SetControlState("fo.mondatok", 0);
    SetRecorderButtons(4, 6, 0, 4);
    for (const char* name : {"fo.fa00", "fo.fa18", "fo.fa19"})
        SetControlState(name, 0);
    SetControlText(kWordField, CodesToText(CurrentWord().c_str()).c_str());
    ShowHeader();
    ShowTaskMarks();
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

std::string& CLxTheraphyScr::CurrentWord() {
    static std::string word = TextToCodes("szavak");
    return word;
}

std::string CLxTheraphyScr::WordRecordingPath(const char* word, const char* day) {
    char folder[256];
    std::string name = SafeFileName(ToDoubledText(word));
    if (!g_szUserName[0] || name.empty() || name == "." || !*MakeUserPath(folder, g_szUserName, -2))
        return "";
    return std::string(folder) + "\\" + day + "\\" + name + ".wav";
}

std::string CLxTheraphyScr::DayText(int date) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d. %s %02d.", date / 10000 % 10000,
                  MonthName(date / 100 % 100), date % 100);
    return text;
}

std::vector<std::string> CLxTheraphyScr::DayRecordings(const char* day) {
    std::vector<std::string> names;
    char folder[256];
    if (!g_szUserName[0] || !*MakeUserPath(folder, g_szUserName, -2)) return names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(
             RecordOsPath(std::string(folder) + "\\" + day), error)) {
        std::string file = talvik::EnginePath(entry.path().filename().string());
        if (file.size() > 4 && strcasecmp(file.c_str() + file.size() - 4, ".wav") == 0 &&
            entry.is_regular_file(error))
            names.push_back(DoubledTextToCodes(file.substr(0, file.size() - 4).c_str()));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareCodes(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

bool CLxTheraphyScr::UpdateTask(int k, bool marked) {
    return MarkTask(k, marked, m_nAllowed);
}

void CLxTheraphyScr::ShowTaskMarks() {
    for (int k = 1; k <= kTasks; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "fo.fa%02d", k);
        int state = !TaskLetter(k) ? 0 : IsTaskMarked(k) ? 14 : 12;
        SetControlState(name, state);
        SetControlState(Twin(name).c_str(), state);
    }
}

void CLxTheraphyScr::ShowHeader() {
    std::string name = CodesToText(g_szUserName);
    size_t blank = name.find_last_of(' ');
    SetControlText("fo.vnev",
                   blank == std::string::npos ? name.c_str() : name.substr(0, blank).c_str());
    SetControlText("fo.knev", blank == std::string::npos ? "" : name.substr(blank + 1).c_str());
    bool chosen = g_szUserName[0] != 0;
    for (const char* control : {"fo.mentes", "fo.bido", "fo.blista", "fo.hangmentes",
                                "fo.beolvasas", "fo.beallit", "fo.szobe"})
        SetControlFlag(control, kEnabled, chosen);
    int date = 0;
    char letters[kHistoryLetters] = {};
    if (g_pHistory &&
        g_pHistory->GetEntry(g_pHistory->GetCount() - 1, &date, g_aTaskValues, letters)) {
        std::memcpy(g_Driver.aScreenLetters, letters, sizeof letters);
        TaskValuesFromLetters();
        std::snprintf(g_szTherapyDate, sizeof g_szTherapyDate, "%04d.%02d.%02d",
                      date / 10000 % 10000, date / 100 % 100, date % 100);
    }
    ShowDate(g_szTherapyDate);
    char path[64];
    std::snprintf(path, sizeof path, "data\\icons\\icon%02d.bmp", g_Settings.nIcon);
    PaintUnder("fo.bnev", path, {4, 5});
}

void CLxTheraphyScr::PaintUnder(const char* control, const char* picturePath,
                                std::initializer_list<int> states) {
    CLxControl* c = m_pGUI ? m_pGUI->FindControl(control) : nullptr;
    CLxGroup* group = m_pGUI ? m_pGUI->FindGroup("fo") : nullptr;
    RECT r;
    if (!c || !group || !c->GetDrawRect(&r)) return;
    CLxSurface* picture = LoadBitmap(picturePath);
    OffsetRect(&r, -group->m_nX, -group->m_nY);
    for (int state : states)
        if (group->m_aPictures[state] && picture)
            BltSurface(group->m_aPictures[state], &r, picture, nullptr, 0);
    FreeSurface(&picture);
}

void CLxTheraphyScr::ShowDate(const char* date) {
    std::string text = date;
    SetControlText("fo.tev", text.substr(0, std::min<size_t>(5, text.size())).c_str());
    SetControlText("fo.thonap", text.size() > 5 ? (text.substr(5) + ".").c_str() : "");
}

void CLxTheraphyScr::SetRecorderButtons(int record, int stop, int pause, int play) {
    for (const std::string group : {"fo.", "fö."}) {
        SetControlState((group + (kRecord + 3)).c_str(), record | kVisible);
        SetControlState((group + (kStop + 3)).c_str(), stop | kVisible);
        SetControlState((group + (kPause + 3)).c_str(), pause | kVisible);
        SetControlState((group + (kPlay + 3)).c_str(), play | kVisible);
    }
}

void CLxTheraphyScr::ShowRecorderState() {
    switch (DriverRecorderState()) {
    case kMsgRecord:
        SetRecorderButtons(6, 4, 0, 4);
        return;
    case kMsgPlayBack:
        SetRecorderButtons(4, 4, 4, 6);
        return;
    default:
        SetRecorderButtons(4, 6, 0, 4);
    }
}

void CLxTheraphyScr::Refresh() {
    SetDriverMode({kDriverPhonemes, kTherapyPeriod, kTherapySmooth, nullptr, nullptr, kOverlay, 1});
    ShowHeader();
    ShowTaskMarks();
    CLxScreen::Refresh();
}

void CLxTheraphyScr::SaveWordRecording() {
    if (!g_szUserName[0]) return;
    int today = TodayDate();
    if (g_pHistory && g_pHistory->FindDate(today) < 0) {
        SaveTherapyDay();
        ShowHeader();
    }
    std::string path = WordRecordingPath(CurrentWord().c_str(), g_szToday);
    LxSendMessage(kMsgStop);
    SetControlFlag(kRecord, kSelected, false);
    SetControlFlag(kPlay, kSelected, false);
    // Nothing captured: nothing to save, and an earlier take of the word stays.
    if (path.empty() || nRecorded <= 0 || !g_pRecording) return;
    std::error_code error;
    std::filesystem::create_directories(RecordOsPath(path.substr(0, path.rfind('\\'))), error);
    // The progress page lists the day's recordings: it is written again with the new one.
    if (WriteWave(g_pRecording, path.c_str(), 0, unsigned(nRecorded)) && g_pHistory)
        SaveProgressPage(*g_pHistory, g_szUserName);
}

void CLxTheraphyScr::PlayWordRecording() {
    SetControlFlag(kRecord, kSelected, false);
    SetControlFlag(kPlay, kSelected, false);
    if (PlayDayRecording()) SetControlFlag(kPlay, kSelected, true);
}

bool CLxTheraphyScr::PlayDayRecording() {
    LxSendMessage(kMsgStop);
    std::string path = WordRecordingPath(CurrentWord().c_str(), g_szTherapyDate);
    if (path.empty() || !g_pRecording || !CLxFile::Exists(path.c_str())) return false;
    nRecorded = int(ReadWave(g_pRecording, path.c_str(), -1, -1));
    if (nRecorded <= 0) return false;
    LxSendMessage(kMsgPlayBack);
    return true;
}

void CLxTheraphyScr::SendList(UINT msg, std::vector<std::string> texts) {
    m_listTexts = std::move(texts);
    m_listPointers.clear();
    for (const std::string& text : m_listTexts)
        m_listPointers.push_back(text.c_str());
    LxSendMessage(msg, WPARAM(m_listPointers.size()),
                  reinterpret_cast<LPARAM>(m_listPointers.data()));
}

void CLxTheraphyScr::ListDays() {
    std::vector<std::string> days;
    int date = 0;
    for (int i = 0; g_pHistory && g_pHistory->GetEntry(i, &date, nullptr, nullptr); ++i)
        days.push_back(DayText(date));
    SendList(kMsgDayList, std::move(days));
}

void CLxTheraphyScr::ListRecordings() {
    m_recordings = DayRecordings(g_szTherapyDate);
    std::vector<std::string> texts;
    for (const std::string& name : m_recordings)
        texts.push_back(CodesToText(name.c_str()));
    if (texts.empty()) texts.push_back(kNoRecordings);
    SendList(kMsgRecordingList, std::move(texts));
}

void CLxTheraphyScr::ListWords() {
    m_sortedWords.assign(g_aWords, g_aWords + std::clamp(g_nWords, 0, kMaxWords));
    std::sort(m_sortedWords.begin(), m_sortedWords.end(),
              [](const std::string& a, const std::string& b) {
                  return CompareCodes(a.c_str(), b.c_str()) < 0;
              });
    std::vector<std::string> texts;
    for (const std::string& word : m_sortedWords)
        texts.push_back(CodesToText(word.c_str()));
    SendList(kMsgWordList, std::move(texts));
}

void CLxTheraphyScr::OnAnswer(UINT msg, WPARAM wParam) {
    int index = int(wParam);
    int date = 0;
    char letters[kHistoryLetters] = {};
    if (msg == kMsgDayChosen && g_pHistory &&
        g_pHistory->GetEntry(index, &date, g_aTaskValues, letters)) {
        std::memcpy(g_Driver.aScreenLetters, letters, sizeof letters);
        TaskValuesFromLetters();
        std::snprintf(g_szTherapyDate, sizeof g_szTherapyDate, "%04d.%02d.%02d",
                      date / 10000 % 10000, date / 100 % 100, date % 100);
        ShowDate(g_szTherapyDate);
        ShowTaskMarks();
        ListRecordings();
    } else if (msg == kMsgRecordingChosen && index >= 0 && index < int(m_recordings.size())) {
        CurrentWord() = m_recordings[size_t(index)];
        SetControlText(kWordField, CodesToText(CurrentWord().c_str()).c_str());
        PlayWordRecording();
    } else if (msg == kMsgWordChosen && index >= 0 && index < int(m_sortedWords.size())) {
        CurrentWord() = m_sortedWords[size_t(index)];
        SetControlText(kWordField, CodesToText(CurrentWord().c_str()).c_str());
    } else if (msg == kMsgSentenceChosen && index >= 0 && index < g_nWords) {
        CurrentWord() = g_aWords[index];
        SetControlText(kWordField, CodesToText(CurrentWord().c_str()).c_str());
    }
}

int CLxTheraphyScr::OnKeyEvent(CLxKeyEvent* event) {
    // The word field takes a new current word with Enter.
    if (!event || event->m_nType != kKeyChar || event->m_nKey != 13 || !event->m_pControl) return 0;
    if (event->m_pControl->GetFullName() != kWordField) return 0;
    if (auto* field = dynamic_cast<CLxText*>(event->m_pControl))
        if (field->GetText()[0]) CurrentWord() = TextToCodes(field->GetText());
    return 0;
}

int CLxTheraphyScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name.compare(0, 3, "fö.") == 0) name = "fo." + name.substr(3);
    if (name == kWordField) {
        // Over the field it is empty for typing; left empty it shows the current word.
        auto* field = dynamic_cast<CLxText*>(event->m_pControl);
        if (field && event->m_nType == kMouseEnter) field->SetText("");
        if (field && event->m_nType == kMouseLeave && !field->GetText()[0])
            field->SetText(CodesToText(CurrentWord().c_str()).c_str());
    }
    if (name == "fo.hangmentes" || name == "fo.mentes") {
        if (event->m_nType == kMouseEnter) ShowDate(g_szToday);
        if (event->m_nType == kMouseLeave) ShowDate(g_szTherapyDate);
    }
    if (event->m_nType == kMouseClick) Click(name);
    return 0;
}

void CLxTheraphyScr::Click(const std::string& name) {
    static const struct {
        const char* control;
        UINT msg;
        bool stopFirst;
    } kSwitches[] = {
        {"fo.elokeszites", kMsgTherapyGames, false},
        {"fo.hangfejlesztes", kMsgSoundDevelopment, false},
        {"fo.rogzites", kMsgFixation, false},
        {"fo.automatizalas", kMsgAutomation, false},
        {"fo.bnev", kMsgUserSelection, false},
        {"fo.beallit", kMsgTherapySetup, true},
        {"fo.hangbe", kMsgVoiceSetup, true},
        {"fo.kilepes", kMsgClose, false},
        {"jobb.vissza", kMsgMainScreen, false},
    };
    for (const auto& s : kSwitches) {
        if (name != s.control) continue;
        if (s.stopFirst) {
            SetRecorderButtons(4, 6, 0, 4);
            LxSendMessage(kMsgStop);
        }
        LxSendMessage(s.msg);
        return;
    }
    if (name == kStop) {
        SetRecorderButtons(4, 6, 0, 4);
        LxSendMessage(kMsgStop);
    } else if (name == kPlay) {
        SetRecorderButtons(4, 4, 4, 6);
        LxSendMessage(kMsgPlayBack);
    } else if (name == kRecord) {
        SetRecorderButtons(6, 4, 0, 4);
        LxSendMessage(kMsgRecord);
    } else if (name == kPause) {
        LxSendMessage(kMsgPause);
    } else if (name == "fo.hangmentes") {
        SaveWordRecording();
    } else if (name == "fo.hangle") {
        PlayWordRecording();
    } else if (name == "fo.bido" || name == "fo.beolvasas") {
        ListDays();
    } else if (name == "fo.blista") {
        ListRecordings();
    } else if (name == "fo.szolista") {
        ListWords();
    } else if (name == "fo.szobe") {
        LxSendMessage(kMsgSentences, 0);
    } else if (name == "fo.mentes") {
        SaveTherapyDay();
        ShowHeader();
        ShowTaskMarks();
    } else if (name == "fo.sugo") {
        SetRecorderButtons(4, 6, 0, 4);
        static char help[32];
        std::snprintf(help, sizeof help, "%s%d", m_szName, m_nPage);
        OpenHelpPage(help);
    } else if (name.size() == 7 && name.compare(0, 6, "jobb.m") == 0 && name[6] >= '0' &&
               name[6] <= '5' && name[6] - '0' != m_nPage) {
        bDriverOff = 1;
        m_nPage = name[6] - '0';
        ShowPage();
        bDriverOff = 0;
    } else if (name.size() == 7 && name.compare(0, 5, "fo.fa") == 0 && std::isdigit(name[5]) &&
               std::isdigit(name[6])) {
        int k = (name[5] - '0') * 10 + name[6] - '0';
        bool want = !IsTaskMarked(k);
        bool marked = UpdateTask(k, want) && want;
        SetControlFlag(name.c_str(), kSelected, marked || (!want && IsTaskMarked(k)));
        SetControlFlag(Twin(name).c_str(), kSelected, marked || (!want && IsTaskMarked(k)));
    }
}

int CLxTheraphyScr::OnTimerEvent(CLxTimerEvent* event) {
    if (event && event->m_nMessage == int(kMsgStop)) SetRecorderButtons(4, 6, 0, 4);
    return 0;
}
