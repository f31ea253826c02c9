// The node of the recogniser's language graphs (dictionary trees and number automata).
// A graph has one owner node, whose reference count counts for the whole graph: every
// other node forwards AddRef and Release to it, and the owner deletes all the nodes it
// owns when it goes. So a search hypothesis that holds any node keeps the graph alive,
// even after a dictionary rebuilt its tree, and graphs with cycles (automata) cannot
// leak through their own references. Successor links are plain pointers.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Language.h"
#include "core/ModuleBase.h"

class LanguageNode : public ModuleBase, public virtual Language {
  public:
    LanguageNode(int nodeCode, std::wstring text, float weight);

    Language* Next() override { return next; }
    Language* First() override { return shares ? shares->First() : first; }
    void* GetInterface(const char* name) override;
    int AddRef() override;
    int Release() override;

    // Makes a node owned by this owner node.
    LanguageNode* Make(int nodeCode, std::wstring text = L"", float weight = 1.0f);
    void SetLetters(std::wstring text);

    LanguageNode* first = nullptr; // first successor
    LanguageNode* next = nullptr;  // next alternative of the same predecessor
    LanguageNode* shares = nullptr; // a link node: the node whose successors it shows

  private:
    LanguageNode* owner_ = nullptr; // nullptr for the owner itself
    std::wstring text_;
    std::vector<std::unique_ptr<LanguageNode>> owned_;
};
