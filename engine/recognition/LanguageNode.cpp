// Language graph nodes; see LanguageNode.h.
#include "recognition/LanguageNode.h"

#include <cstring>

LanguageNode::LanguageNode(int nodeCode, std::wstring text, float weight) {
    code = nodeCode;
    probability = weight;
    SetLetters(std::move(text));
}

void LanguageNode::SetLetters(std::wstring text) {
    text_ = std::move(text);
    letters = text_.c_str();
}

LanguageNode* LanguageNode::Make(int nodeCode, std::wstring text, float weight) {
    owned_.push_back(std::make_unique<LanguageNode>(nodeCode, std::move(text), weight));
    owned_.back()->owner_ = this;
    return owned_.back().get();
}

int LanguageNode::AddRef() {
    return owner_ ? owner_->AddRef() : ModuleBase::AddRef();
}

int LanguageNode::Release() {
    return owner_ ? owner_->Release() : ModuleBase::Release();
}

void* LanguageNode::GetInterface(const char* name) {
    return AnswerAs<Language>(this, "Language", name);
}
