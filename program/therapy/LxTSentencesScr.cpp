// The words and sentences list; see LxTSentencesScr.h.
#include "therapy/LxTSentencesScr.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "reading/LxLetters.h"
#include "shell/LxDriver.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxRecordingSave.h"
#include "shell/LxWords.h"
#include "therapy/LxTPanels.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxScrollBar.h"
#include "ui/LxText.h"

namespace {
const char* const kRec = "fo.rec%02d";
const char* const kNewWord = "fo.szo";
const char* const kPlaceholder = "új szó";
constexpr int kPlayWiden = 20;
// The characters of the sentence samples "mondat1" ... "mondat8", "mondata" ... "mondatf".
const char kSentenceMarks[] = "12345678abcdef";

std::string SentenceName(int i) {
    return std::string("mondat") + kSentenceMarks[i];
}
} // namespace

CLxTSentencesScr::CLxTSentencesScr(const char* descriptionPath, bool sentences)
    : CLxScreen(descriptionPath), m_bSentences(sentences) {
    m_szName = "TSentences";
    LxSendMessage(kMsgStop);
    StartLetterOverlay(m_pGUI);
    int count = sentences ? kSentences : std::clamp(g_nWords, 0, kMaxWords);
    for (int i = 0; i < count; ++i)
        m_rows.push_back(i);
    if (!sentences)
        std::stable_sort(m_rows.begin(), m_rows.end(),
                         [](int a, int b) { return CompareCodes(g_aWords[a], g_aWords[b]) < 0; });
    char name[32];
    int shown = 0;
    for (; shown < kListRows && shown < RowCount(); ++shown) {
        if (!m_pGUI || !m_pGUI->FindControl(RowName(name, kListRow, shown))) break;
        DrawPlayButton(m_pGUI, RowName(name, kListPlay, shown), kPlayWiden);
    }
    if (CLxScrollBar* bar = ListScrollBar(this)) {
        if (shown < RowCount()) {
            bar->SetRange(0, RowCount());
        } else {
            bar->m_nFlags &= ~kVisible;
        }
    }
    RefreshRows();
    CopyHeader(m_pGUI, {kHeaderTop, kHeaderCornerShort});
    DrawListFrame(m_pGUI);
    SetControlFlag(kNewWord, kEnabled | kVisible, !sentences);
    SetControlText(kNewWord, kPlaceholder);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
}

std::string CLxTSentencesScr::RowText(int i) const {
    if (i < 0 || i >= RowCount()) return "";
    return m_bSentences ? SentenceName(m_rows[size_t(i)]) : g_aWords[m_rows[size_t(i)]];
}

int CLxTSentencesScr::RowAt(int control) {
    int row = control + ListScroll(this);
    return control >= 0 && row < RowCount() ? row : -1;
}

void CLxTSentencesScr::RefreshRows() {
    CLxScrollBar* bar = ListScrollBar(this);
    if (bar && bar->Is(kEnabled | kVisible)) {
        bar->SetRange(0, RowCount());
        bar->Draw();
    }
    char name[32];
    for (int i = 0; i < kListRows; ++i) {
        int row = RowAt(i);
        CLxControl* control = m_pGUI ? m_pGUI->FindControl(RowName(name, kListRow, i)) : nullptr;
        if (row < 0 || !control) break;
        control->m_nFlags = (control->m_nFlags | kEnabled | kVisible) & ~(kEditing | kSelected);
        control->SetText(CodesToText(RowText(row).c_str()).c_str());
        SetControlFlag(RowName(name, kListPlay, i), kEnabled,
                       !SamplePath(RowText(row).c_str()).empty());
        SetControlFlag(RowName(name, kRec, i), kEnabled | kVisible, true);
        SetControlFlag(RowName(name, kListPlay, i), kVisible, true);
    }
    // Rows past the list's end are hidden with their buttons.
    for (int i = std::max(RowCount() - ListScroll(this), 0); i < kListRows; ++i) {
        if (!SetControlFlag(RowName(name, kListRow, i), kVisible, false)) break;
        SetControlFlag(RowName(name, kRec, i), kVisible, false);
        SetControlFlag(RowName(name, kListPlay, i), kVisible, false);
    }
}

bool CLxTSentencesScr::AddWord(const std::string& given) {
    std::string codes = given.substr(0, kWordBytes - 1);
    if (m_bSentences || codes.empty() || g_nWords >= kMaxWords) return false;
    auto at =
        std::lower_bound(m_rows.begin(), m_rows.end(), codes, [](int row, const std::string& c) {
            return CompareCodes(g_aWords[row], c.c_str()) < 0;
        });
    if (at != m_rows.end() && CompareCodes(g_aWords[*at], codes.c_str()) == 0) return false;
    bool last = at == m_rows.end();
    std::snprintf(g_aWords[g_nWords], kWordBytes, "%s", codes.c_str());
    m_rows.insert(at, g_nWords++);
    CLxScrollBar* bar = ListScrollBar(this);
    if (last && bar) {
        bar->SetRange(0, RowCount());
        bar->SetValue(bar->m_nValue + 1);
    }
    RefreshRows();
    return true;
}

void CLxTSentencesScr::DeleteRow(int i) {
    if (m_bSentences || i < 0 || i >= RowCount()) return;
    int place = m_rows[size_t(i)];
    std::memmove(g_aWords[place], g_aWords[place + 1], size_t(g_nWords - place - 1) * kWordBytes);
    std::memset(g_aWords[--g_nWords], 0, kWordBytes);
    m_rows.erase(m_rows.begin() + i);
    for (int& row : m_rows)
        if (row > place) --row;
    RefreshRows();
}

void CLxTSentencesScr::ScrollTo(const std::string& codes) {
    CLxScrollBar* bar = ListScrollBar(this);
    int row = 0;
    while (row < RowCount() && CompareCodes(codes.c_str(), RowText(row).c_str()) > 0)
        ++row;
    if (!bar || row == RowCount() || bar->m_nValue == row) return;
    bar->SetValue(row);
    RefreshRows();
}

void CLxTSentencesScr::Record(int control) {
    char name[32];
    int state = 0;
    GetControlState(RowName(name, kRec, control), &state);
    if (state & kSelected) {
        // The recording ends: it becomes the word's sample.
        SetControlFlag("so.sb", kEnabled, true);
        LxSendMessage(kMsgStop);
        SaveRecording(RowText(RowAt(control)).c_str(), nRecorded);
        for (int i = 0; i < kRecordRows && RowAt(i) >= 0; ++i) {
            SetControlState(RowName(name, kRec, i), kVisible | kEnabled);
            SetControlState(RowName(name, kListPlay, i),
                            kVisible |
                                (SamplePath(RowText(RowAt(i)).c_str()).empty() ? 0 : kEnabled));
        }
        return;
    }
    for (int i = 0; i < kRecordRows; ++i) {
        SetControlState(RowName(name, kRec, i), kVisible);
        SetControlState(RowName(name, kListPlay, i), kVisible);
    }
    SetControlState(RowName(name, kRec, control), kVisible | kEnabled | kSelected);
    SetControlFlag("so.sb", kEnabled, false);
    LxSendMessage(kMsgRecord);
}

int CLxTSentencesScr::OnKeyEvent(CLxKeyEvent* event) {
    // Keys that also type (Enter, backspace) count once, as characters.
    if (m_bSentences || !event || event->m_nType != kKeyChar || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == kNewWord) {
        auto* field = dynamic_cast<CLxText*>(event->m_pControl);
        std::string codes = field ? TextToCodes(field->GetText()) : "";
        bool word = !codes.empty() && codes != TextToCodes(kPlaceholder);
        if (event->m_nKey == 13 && word) {
            // The field is emptied for the next word once this one is in the list.
            if (AddWord(codes) && field) field->SetText("");
        } else if (word) {
            ScrollTo(codes);
        }
        return 0;
    }
    int row = RowAt(RowOf(name.c_str(), kListRow));
    if (row >= 0 && (event->m_nKey == '.' || event->m_nKey == 8)) DeleteRow(row);
    return 0;
}

int CLxTSentencesScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == kListScrollBar) {
        RefreshRows();
        return 0;
    }
    if (name == kNewWord) {
        TrackPlaceholder(event, kPlaceholder);
        return 0;
    }
    if (event->m_nType != kMouseClick) return 0;
    if (name == "al.vissza") {
        LxSendMessage(kMsgStop);
        LxSendMessage(kMsgSentenceChosen, WPARAM(-1));
    } else if (name == "help.sugo") {
        OpenHelpPage(m_szName);
    } else if (int row = RowAt(RowOf(name.c_str(), kListRow)); row >= 0) {
        LxSendMessage(kMsgSentenceChosen, WPARAM(m_rows[size_t(row)]));
    } else if (int played = RowAt(RowOf(name.c_str(), kListPlay)); played >= 0) {
        PlaySample(RowText(played).c_str(), true, true);
    } else if (int control = RowOf(name.c_str(), kRec); RowAt(control) >= 0) {
        Record(control);
    }
    return 0;
}

int CLxTSentencesScr::OnTimerEvent(CLxTimerEvent* event) {
    if (event && event->m_nMessage != int(kMsgTimer)) StepLetterOverlay(m_pGUI);
    return 0;
}
