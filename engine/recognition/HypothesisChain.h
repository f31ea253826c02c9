// Reading a recognised result: the chain of hypotheses from the start hypothesis to
// the result, and the path text, which is the letters of every node after the start
// joined in that order (the start hypothesis contributes nothing).
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "Hypothesis.h"

namespace talvik {

// The chain ending at h, oldest first; empty when h is nullptr.
inline std::vector<Hypothesis*> Chain(Hypothesis* h) {
    std::vector<Hypothesis*> chain;
    for (; h; h = h->parent)
        chain.push_back(h);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

// Whether a hypothesis ends in a node that contributes text: a result to compare.
inline bool HasLetters(const Hypothesis* h) {
    return h && h->node && h->node->letters && h->node->letters[0];
}

// The path text of h, cut at limit characters.
inline std::wstring PathText(Hypothesis* h, size_t limit) {
    std::wstring text;
    for (Hypothesis* step : Chain(h)) {
        if (!step->parent || !step->node || !step->node->letters) continue;
        text += step->node->letters;
        if (text.size() < limit) continue;
        text.resize(limit);
        break;
    }
    return text;
}

} // namespace talvik
