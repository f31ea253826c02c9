// The child selection; see LxTUserLoadScr.h.
#include "therapy/LxTUserLoadScr.h"

#include <cstdio>
#include <cstring>

#include "media/LxDraw.h"
#include "media/LxFile.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxSettings.h"
#include "shell/LxUserRecords.h"
#include "therapy/LxTPanels.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"
#include "ui/LxScrollBar.h"
#include "ui/LxText.h"

namespace {
const char* const kPlaceholder = "új felhasználó";
const char* const kIcon = "fo.icon%02d";
const char* const kNameField = "fo.szo";
constexpr uint32_t kIconFrame = 0x0000FF; // red, as FrameRect takes it

std::string IconPath(int icon) {
    char path[64];
    std::snprintf(path, sizeof path, "data\\icons\\icon%02d.bmp", icon);
    return path;
}
} // namespace

CLxTUserLoadScr::CLxTUserLoadScr(const char* descriptionPath) : CLxScreen(descriptionPath) {
    m_szName = "TUserLoad";
    Scan();
    CopyHeader(m_pGUI, {kHeaderTop, kHeaderCornerShort});
    DrawListFrame(m_pGUI);
    SetControlText(kNameField, kPlaceholder);
    if (m_pGUI) m_pGUI->DrawBackground(nullptr, nullptr, true);
    // Going back without a choice restores what was set when the list opened.
    SaveSettings(nullptr);
}

void CLxTUserLoadScr::Scan() {
    m_children = ScanChildren();
    CLxScrollBar* bar = ListScrollBar(this);
    int count = int(m_children.size());
    int page = bar ? bar->m_nPage : kListRows;
    char name[32];
    for (int i = 0; i < page && i < kListRows; ++i) {
        bool shown = i < count;
        if (!SetControlFlag(RowName(name, kListRow, i), kVisible, shown)) break;
        SetControlFlag(RowName(name, kIcon, i), kVisible, shown);
    }
    if (bar) {
        bool scrolls = count > page;
        bar->m_nFlags = scrolls ? (bar->m_nFlags | kEnabled | kVisible)
                                : (bar->m_nFlags & ~(kEnabled | kVisible));
        if (!scrolls) bar->m_nValue = 0;
    }
    FillRows();
}

void CLxTUserLoadScr::FillRows() {
    CLxScrollBar* bar = ListScrollBar(this);
    if (bar && bar->Is(kEnabled | kVisible)) {
        bar->SetRange(0, int(m_children.size()));
        bar->Draw();
    }
    CLxGroup* group = m_pGUI ? m_pGUI->FindGroup("fo") : nullptr;
    char name[32];
    for (int i = 0; i < kListRows; ++i) {
        int child = ChildAt(i);
        CLxControl* row = m_pGUI ? m_pGUI->FindControl(RowName(name, kListRow, i)) : nullptr;
        if (child < 0 || !row) break;
        // A row answers clicks and takes no typing.
        row->m_nFlags = (row->m_nFlags | kEnabled) & ~kEditing;
        row->SetText(CodesToText(m_children[size_t(child)].name.c_str()).c_str());
        CLxControl* icon = m_pGUI->FindControl(RowName(name, kIcon, i));
        RECT r;
        if (!icon || !group || !icon->GetDrawRect(&r)) continue;
        OffsetRect(&r, -group->m_nX, -group->m_nY);
        CLxSurface* picture = LoadBitmap(IconPath(m_children[size_t(child)].icon).c_str());
        for (int slot : {4, 5})
            if (group->m_aPictures[slot] && picture)
                BltSurface(group->m_aPictures[slot], &r, picture, nullptr, 0);
        if (group->m_aPictures[5]) FrameRect(group->m_aPictures[5], &r, kIconFrame);
        FreeSurface(&picture);
        icon->Draw();
    }
}

int CLxTUserLoadScr::ChildAt(int row) {
    int child = row + ListScroll(this);
    return row >= 0 && child < int(m_children.size()) ? child : -1;
}

void CLxTUserLoadScr::NextPicture(int child) {
    const char* name = m_children[size_t(child)].name.c_str();
    LoadSettings(name);
    int next = g_Settings.nIcon + 1;
    if (!CLxFile::Exists(IconPath(next).c_str())) next = 1;
    g_Settings.nIcon = next;
    SaveSettings(name);
    m_children[size_t(child)].icon = next;
    // The current child keeps its own settings in memory.
    if (g_szUserName[0] && std::strcmp(g_szUserName, name) != 0) LoadSettings(g_szUserName);
    FillRows();
}

void CLxTUserLoadScr::Create(const char* text) {
    std::string codes = TextToCodes(text);
    if (codes.empty() || codes == TextToCodes(kPlaceholder)) return;
    if (CreateChild(codes.c_str()) == LxChildMade::Refused) return;
    SetControlText(kNameField, kPlaceholder);
    Scan();
}

int CLxTUserLoadScr::OnKeyEvent(CLxKeyEvent* event) {
    // Enter reaches the screen as a key and as a character; the character alone counts.
    if (!event || event->m_nType != kKeyChar || event->m_nKey != 13 || !event->m_pControl) return 0;
    if (event->m_pControl->GetFullName() != kNameField) return 0;
    if (auto* field = dynamic_cast<CLxText*>(event->m_pControl)) Create(field->GetText());
    return 0;
}

int CLxTUserLoadScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == kListScrollBar) {
        FillRows();
        return 0;
    }
    if (name == kNameField) {
        TrackPlaceholder(event, kPlaceholder);
        return 0;
    }
    if (event->m_nType != kMouseClick) return 0;
    if (name == "al.vissza") {
        LoadSettings(nullptr);
        LxSendMessage(kMsgUserSelected, WPARAM(-1));
    } else if (name == "help.sugo") {
        OpenHelpPage(m_szName);
    } else if (int child = ChildAt(RowOf(name.c_str(), kListRow)); child >= 0) {
        ChooseChild(m_children[size_t(child)].name.c_str());
        LxSendMessage(kMsgUserSelected, 0);
    } else if (int pictured = ChildAt(RowOf(name.c_str(), kIcon)); pictured >= 0) {
        NextPicture(pictured);
    }
    return 0;
}

int CLxTUserLoadScr::OnTimerEvent(CLxTimerEvent*) {
    return 0;
}
