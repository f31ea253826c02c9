// Button groups and their state pictures; see LxGroup.h. A description's group tag is
// followed by "unselected" and "selected" tags whose "disabled", "passive" and
// "active" attributes name the pictures of the states 0, 4, 5 and 2, 6, 7; the first
// other tag ends the list and is used up.
#include "ui/LxGroup.h"

#include <cstring>

#include "media/LxDraw.h"
#include "shell/LxXMLParser.h"
#include "ui/LxCGUI.h"

namespace {
// The states an "unselected" and a "selected" tag fill, in attribute order.
constexpr int kUnselected[3] = {0, 4, 5};
constexpr int kSelected[3] = {2, 6, 7};
constexpr const char* kAttributes[3] = {"disabled", "passive", "active"};
} // namespace

CLxGroup::CLxGroup(CLxCGUI* gui, CLxXMLParser* reader, char* tag) : m_pCGUI(gui) {
    m_szName = gui->StoreText(reader->GetAttr(tag, "name"));
    LxPoint origin = reader->GetPosition(tag);
    m_nX = origin.x;
    m_nY = origin.y;
    while ((tag = reader->NextTag())) {
        // "selected" is checked first: "unselected" does not start with it.
        const int* states = LxTagStarts(tag, "selected")     ? kSelected
                            : LxTagStarts(tag, "unselected") ? kUnselected
                                                             : nullptr;
        if (!states) break;
        for (int i = 0; i < 3; ++i) {
            const char* name = reader->GetAttr(tag, kAttributes[i]);
            if (!name) continue;
            FreeSurface(&m_aPictures[states[i]]);
            m_aPictures[states[i]] = LoadBitmap(MakeBitmapPath(gui->GetFile(), name).c_str());
        }
    }
    gui->AddGroup(this);
}

CLxGroup::CLxGroup(const Descriptor* d) : m_pCGUI(d ? d->gui : nullptr) {
    if (!m_pCGUI) return;
    m_szName = m_pCGUI->StoreText(d->name);
    const int states[6] = {0, 2, 4, 5, 6, 7};
    for (int i = 0; i < 6; ++i)
        m_aPictures[states[i]] = d->pictures[i];
    m_nX = d->x;
    m_nY = d->y;
    m_pCGUI->AddGroup(this);
}

CLxGroup::~CLxGroup() {
    if (!m_pCGUI) return;
    for (CLxSurface*& picture : m_aPictures)
        FreeSurface(&picture);
    m_pCGUI->RemoveGroup(this);
}

CLxSurface* CLxGroup::GetPicture(int state) const {
    int i = state & 7;
    if (!m_aPictures[i]) i &= ~1;
    if (!m_aPictures[i]) i |= 4;
    return m_aPictures[i];
}

void CLxGroup::SetPosition(int x, int y) {
    if (!m_pCGUI) return;
    m_nX = x;
    m_nY = y;
}

bool CLxGroup::ExpandBitmaps(int width, int height) {
    if (m_nX != 0 || m_nY != 0) return true;
    for (CLxSurface*& picture : m_aPictures) {
        if (!picture) continue;
        CLxSurface* larger = CreateSurface(width, height);
        BltSurfaceFast(larger, 0, 0, picture, nullptr, 0);
        FreeSurface(&picture);
        picture = larger;
    }
    return true;
}

void CLxGroup::DeleteControls() {
    if (m_pCGUI) m_pCGUI->DeleteGroupControls(this);
}
