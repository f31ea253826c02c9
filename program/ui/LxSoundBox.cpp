// The sound box; see LxSoundBox.h.
#include "ui/LxSoundBox.h"

#include "media/LxSoundHelpers.h"
#include "media/LxSoundServer.h"

CLxSoundBox::CLxSoundBox(const Descriptor* d) : CLxControl(d ? &d->control : nullptr, kSoundBox) {
    if (!d || !g_pSoundServer) return;
    if (d->file)
        m_pSound = g_pSoundServer->GetSound(d->file, -1, -1);
    else if (d->sound)
        m_pSound = g_pSoundServer->GetBankSound(d->sound);
}

CLxSoundBox::~CLxSoundBox() {
    if (!m_pSound) return;
    // A looping sound would keep its cache entry in use: stop it before letting it go.
    StopSound(m_pSound);
    if (g_pSoundServer) g_pSoundServer->ReleaseSound(m_pSound);
}

void CLxSoundBox::OnEnter(CLxMouseEvent* event) {
    CLxControl::OnEnter(event);
    PlaySound(m_pSound, true, true);
}

void CLxSoundBox::OnLeave(CLxMouseEvent* event) {
    CLxControl::OnLeave(event);
    StopSound(m_pSound);
}
