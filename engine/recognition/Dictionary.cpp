// Dictionary(words, phonemes): a pronunciation tree built from a word list, rebuilt at
// every Process so it follows its input. Each line is a word: phoneme symbols separated
// by blanks or tabs, then "=" and the word's text, which becomes the letters of its last
// node; lines sharing a prefix share its nodes, and each word ends with an end marker
// (code -1). A "*" on a line makes the word continue with any word instead: its last
// node gets one link node per first-level node, showing that node's successors.
//
// As a Language the dictionary itself has no alternatives and its first successor is
// the root (code 0). The tree is one graph (see LanguageNode.h): a rebuild releases
// the old tree, which lives on while hypotheses still hold any of its nodes.
#include <cstring>
#include <string>
#include <vector>

#include "Phonemes.h"
#include "core/Arguments.h"
#include "core/File.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "core/TextCodec.h"
#include "recognition/LanguageNode.h"

namespace {
constexpr size_t kMaxLine = 1023;

// The child of a node with a code; link nodes are not followed (they own nothing).
LanguageNode* Child(LanguageNode* node, int code) {
    for (LanguageNode* c = node->first; c; c = c->next)
        if (c->code == code && !c->shares) return c;
    return nullptr;
}

LanguageNode* Append(LanguageNode* root, LanguageNode* parent, int code) {
    LanguageNode* node = root->Make(code);
    LanguageNode** tail = &parent->first;
    while (*tail)
        tail = &(*tail)->next;
    *tail = node;
    return node;
}

class Dictionary : public ModuleBase, public virtual Language {
  public:
    Dictionary(Input* words, Phonemes* phonemes) : words_(words), phonemes_(phonemes) {
        words_->AddRef();
        phonemes_->AddRef();
        NewRoot();
    }
    ~Dictionary() override {
        root_->Release();
        words_->Release();
        phonemes_->Release();
    }

    Language* Next() override { return nullptr; }
    Language* First() override { return root_; }

    int Process() override {
        NewRoot();
        std::string text = InputAllText(words_);
        size_t at = 0;
        while (at < text.size()) {
            size_t end = text.find('\n', at);
            if (end == std::string::npos) end = text.size();
            if (end > at) AddLine(text.substr(at, std::min(end - at, kMaxLine)));
            at = end + 1;
        }
        return 0;
    }

    void* GetInterface(const char* name) override {
        return AnswerAs<Language>(this, "Language", name);
    }

  private:
    void NewRoot() {
        auto* root = new LanguageNode(0, L"", 1.0f);
        root->AddRef();
        if (root_) root_->Release();
        root_ = root;
    }

    void AddLine(const std::string& line) {
        LanguageNode* node = root_;
        bool link = false;
        size_t at = line.find_first_not_of(" \t\r");
        while (at != std::string::npos) {
            size_t end = line.find_first_of(" \t\r", at);
            std::string token = line.substr(at, end == std::string::npos ? end : end - at);
            if (token == "=") {
                size_t start =
                    std::min(end == std::string::npos ? line.size() : end + 1, line.size());
                std::string letters = line.substr(start, line.find('\r', start) - start);
                node->SetLetters(talvik::Latin2ToWide(letters));
                break;
            }
            if (token == "*") {
                link = true;
            } else {
                int code = phonemes_->Code(token.c_str());
                if (code <= 0) report("Dictionary: Unknown phoneme %s", token.c_str());
                LanguageNode* child = Child(node, code);
                node = child ? child : Append(root_, node, code);
            }
            at = end == std::string::npos ? end : line.find_first_not_of(" \t\r", end);
        }
        if (link) {
            std::vector<LanguageNode*> firstLevel;
            for (LanguageNode* c = root_->first; c; c = c->next)
                if (c->code != -1) firstLevel.push_back(c);
            for (LanguageNode* target : firstLevel) {
                LanguageNode* shown = Append(root_, node, target->code);
                shown->shares = target;
                shown->SetLetters(target->letters);
            }
            return;
        }
        if (!Child(node, -1)) Append(root_, node, -1);
    }

    Input* words_;
    Phonemes* phonemes_;
    LanguageNode* root_ = nullptr;
};
} // namespace

Interface* NewDictionary(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto words = args.Get<Input>(0, "Input");
    if (!words) {
        report("Dictionary: First parameter error");
        return nullptr;
    }
    auto phonemes = args.Get<Phonemes>(1, "Phonemes");
    if (!phonemes) {
        report("Dictionary: Second parameter error");
        return nullptr;
    }
    auto* dictionary = new Dictionary(words.get(), phonemes.get());
    Hold self(dictionary);
    dictionary->Link(args.At(1));
    dictionary->Link(args.At(0));
    return dictionary;
}
