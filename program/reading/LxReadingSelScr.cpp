// The letter selection screen; see LxReadingSelScr.h.
#include "reading/LxReadingSelScr.h"

#include <cctype>
#include <cstring>

#include "core/Path.h"
#include "media/LxDraw.h"
#include "media/LxSurface.h"
#include "reading/LxLetters.h"
#include "shell/LxMessages.h"
#include "shell/LxProgram.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"
#include "ui/LxControl.h"
#include "ui/LxGroup.h"

namespace {
constexpr int kBoxWidth = 200, kBoxHeight = 150;
constexpr uint32_t kTransparent = 0xFF00FF;

// Paints the picture file into the group picture of a state, scaled into box (screen
// coordinates).
void PaintButton(CLxGroup* group, int state, const std::string& path, const RECT& box) {
    CLxSurface* target = group->m_aPictures[state];
    if (!target) return;
    CLxSurface* picture = LoadBitmap(path.c_str());
    if (picture->m_pSurface) {
        picture->SetColorKey(ColorToPixel(picture, kTransparent));
        RECT at{box.left - group->m_nX, box.top - group->m_nY, box.right - group->m_nX,
                box.bottom - group->m_nY};
        BltSurface(target, &at, picture, nullptr, 0);
    }
    FreeSurface(&picture);
}
} // namespace

unsigned char SelectionLetter(const char* name) {
    if (!name || std::strncmp(name, "fo.", 3) != 0) return 0;
    const char* p = name + 3;
    if (!std::isdigit(static_cast<unsigned char>(p[0])) ||
        !std::isdigit(static_cast<unsigned char>(p[1])) || !p[2])
        return 0;
    return DecodeLetter(p + 2);
}

CLxReadingSelScr::CLxReadingSelScr(const char* descriptionPath, int message)
    : CLxScreen(descriptionPath), m_nMessage(message) {
    m_szName = "ReadingSel";
    m_pGUI->DrawBackground(nullptr, nullptr, true);
    FindFolder(descriptionPath);
    DrawLetterButtons();
    m_pGUI->DrawBackground(nullptr, nullptr, true);
}

// The description's folder, and below it the root's "path" when it has one.
void CLxReadingSelScr::FindFolder(const char* descriptionPath) {
    m_folder = talvik::FolderOf(descriptionPath ? descriptionPath : "");
    CLxXMLParser xml;
    if (xml.Open(descriptionPath)) {
        while (char* tag = xml.NextTag()) {
            if (!LxTagStarts(tag, "Lexo")) continue;
            const char* sub = xml.GetAttr(tag, "path");
            // A path that climbs out of the data folder or starts at the root is ignored.
            if (sub && !std::strstr(sub, "..") && sub[0] != '\\' && sub[0] != '/')
                m_folder += std::string(sub) + "\\";
            break;
        }
    }
    if (m_folder.size() > kMaxFolder) m_folder.resize(kMaxFolder);
}

void CLxReadingSelScr::DrawLetterButtons() {
    CLxGroup* group = m_pGUI->FindGroup("fo");
    if (!group) return;
    for (CLxControl* c = m_pGUI->m_pControls; c; c = c->m_pNext) {
        unsigned char letter = SelectionLetter(c->GetFullName().c_str());
        RECT rect;
        if (!letter || !c->GetDrawRect(&rect)) continue;
        int x = (rect.left + rect.right - kBoxWidth) / 2,
            y = (rect.top + rect.bottom - kBoxHeight) / 2;
        RECT box{x, y, x + kBoxWidth, y + kBoxHeight};
        char codes[2] = {static_cast<char>(letter), 0};
        std::string base = m_folder + ToDoubledText(codes);
        PaintButton(group, 4, base + "0.bmp", box);
        PaintButton(group, 5, base + "1.bmp", box);
    }
}

int CLxReadingSelScr::OnKeyEvent(CLxKeyEvent*) {
    return 0;
}

int CLxReadingSelScr::OnTimerEvent(CLxTimerEvent*) {
    return 0;
}

int CLxReadingSelScr::OnMouseEvent(CLxMouseEvent* event) {
    CLxScreen::OnMouseEvent(event);
    if (!event || event->m_nType != kMouseClick || !event->m_pControl) return 0;
    std::string name = event->m_pControl->GetFullName();
    if (name == "fo.kilepes") {
        LxSendMessage(kMsgClose);
        return kMsgClose;
    }
    if (name == "fo.vissza") {
        LxSendMessage(kMsgMainScreen);
        return kMsgMainScreen;
    }
    unsigned char letter = SelectionLetter(name.c_str());
    if (!letter) return 0;
    LxSendMessage(kMsgReadingLetter, letter, m_nMessage);
    return kMsgReadingLetter;
}
