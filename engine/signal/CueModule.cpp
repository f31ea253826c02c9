// The cue base; see CueModule.h.
#include "signal/CueModule.h"

#include <cstring>

#include "core/Hold.h"

CueModule::CueModule(Feature* feature) : feature_(feature) {
    if (feature_) feature_->AddRef();
}

CueModule::~CueModule() {
    if (feature_) feature_->Release();
}

void* CueModule::GetInterface(const char* name) {
    return AnswerAs<ACue>(this, "ACue", name);
}

Interface* LinkCue(CueModule* cue, Interface* source) {
    Hold self(cue);
    if (source) cue->Link(source);
    return cue;
}
