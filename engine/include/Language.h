// A node of a language graph (a pronunciation tree or a number automaton), which the
// search engines walk while they extend hypotheses. A node's successors are First()
// and then, from each successor, Next(). The fields are read by the engines and by
// hosts: the phoneme code (-1 marks the end of a word), the text the node contributes
// to a result (often empty) and the transition weight (automaton nodes).
//
// Nodes are reference counted like every engine object. A graph keeps its nodes
// alive as one: holding any node (as a hypothesis does) keeps the whole graph.
#pragma once
#include <cstdint>

#include "Interface.h"

class Language : public virtual Interface {
  public:
    // The next alternative among the successors of the same predecessor, or nullptr.
    virtual Language* Next() = 0;
    // The first successor, or nullptr.
    virtual Language* First() = 0;

    int32_t code = 0;
    // NUL-terminated; owned by the graph.
    const wchar_t* letters = L"";
    float probability = 1.0f;
};
