// The feature producer base; see FeatureModule.h.
#include "signal/FeatureModule.h"

#include <algorithm>
#include <cstring>

#include "core/Hold.h"

FeatureModule::FeatureModule(std::vector<Feature*> sources)
    : sources_(std::move(sources)), values_(MakeZeroed<float>(kCapacity)) {
    for (Feature* source : sources_)
        source->AddRef();
    data = values_.get();
    length = 0;
}

FeatureModule::~FeatureModule() {
    for (Feature* source : sources_)
        source->Release();
}

void FeatureModule::Discard(int n) {
    if (n < 0 || n >= length) {
        length = 0;
        return;
    }
    std::memmove(data, data + n, static_cast<size_t>(length - n) * sizeof(float));
    length -= n;
}

void* FeatureModule::GetInterface(const char* name) {
    return AnswerAs<Feature>(this, "Feature", name);
}

int FeatureModule::SourceLength(int k) const {
    return std::clamp(sources_[k]->length, 0, kCapacity);
}

Interface* LinkNew(ModuleBase* made, const std::vector<Interface*>& sources) {
    Hold self(made);
    for (Interface* source : sources)
        made->Link(source);
    return made;
}
