// NumberUnit(file, phonemes): a weighted graph of phonemes read from an automaton file
// (the engine's XML reader, element /LANGUAGE/AUTOMATA/AUTOMATON). The element gives
// NUMBEROFSTATES, NUMBEROFCONNECTIONS and, one item per connection, PROBABILITIES,
// TRANSITIONS (target state), LETTERS (text, "*" for none) and PHONEMES; NODES gives
// per state the index of its first leaving connection. Each connection becomes a node
// standing for its phoneme followed by its target state, whose successors are the
// connections leaving that state, highest index first. The factory returns a start
// node whose one successor, the entry node, leads to the connections leaving state 0;
// both have the code of "~". Counts and indices are checked: a file that does not
// describe a whole automaton gives a message and no object.
#include <string>
#include <vector>

#include "Phonemes.h"
#include "core/Arguments.h"
#include "core/Report.h"
#include "core/TextCodec.h"
#include "core/XMLParser.h"
#include "recognition/LanguageNode.h"

namespace {
constexpr int kMaxFileName = 1023;

bool Counted(int items, int wanted, const char* attribute) {
    if (items == wanted) return true;
    report("NumberUnit: Attribute %s does not contain right number of items", attribute);
    return false;
}

LanguageNode* Build(XMLParser& xml, Phonemes* phonemes) {
    int states = xml.AttributeInt(L"NUMBEROFSTATES", 0);
    int connections = xml.AttributeInt(L"NUMBEROFCONNECTIONS", 0);
    if (!Counted(xml.CountItems(L"PROBABILITIES", L","), connections, "PROBABILITIES") ||
        !Counted(xml.CountItems(L"NODES", L","), states, "NODES") ||
        !Counted(xml.CountItems(L"TRANSITIONS", L","), connections, "TRANSITIONS") ||
        !Counted(xml.CountItems(L"LETTERS", L","), connections, "LETTERS") ||
        !Counted(xml.CountItems(L"PHONEMES", L","), connections, "PHONEMES"))
        return nullptr;
    if (states < 1 || connections < 0) {
        report("NumberUnit: The automaton has no states");
        return nullptr;
    }
    std::vector<double> weights = xml.DoubleItems(L"PROBABILITIES", L",");
    std::vector<int> firsts = xml.IntItems(L"NODES", L",");
    std::vector<int> targets = xml.IntItems(L"TRANSITIONS", L",");
    std::vector<std::wstring> letters = xml.StringItems(L"LETTERS", L",");
    std::vector<std::wstring> symbols = xml.StringItems(L"PHONEMES", L",");
    for (int s = 0; s < states; ++s)
        if (firsts[s] < 0 || firsts[s] > connections || (s > 0 && firsts[s] < firsts[s - 1])) {
            report("NumberUnit: Attribute NODES holds a connection out of order or range");
            return nullptr;
        }
    for (int target : targets)
        if (target < 0 || target >= states) {
            report("NumberUnit: Attribute TRANSITIONS holds a state out of range");
            return nullptr;
        }

    int space = phonemes->Code("~");
    auto* start = new LanguageNode(space, L"", 1.0f);
    LanguageNode* entry = start->Make(space);
    start->first = entry;
    std::vector<LanguageNode*> nodes(connections);
    for (int k = 0; k < connections; ++k) {
        std::string symbol = talvik::WideToLatin2(symbols[k]).substr(0, 8);
        nodes[k] = start->Make(phonemes->Code(symbol.c_str()),
                               letters[k] == L"*" ? std::wstring() : letters[k],
                               static_cast<float>(weights[k]));
    }
    // The connections leaving a state, highest index first, chained by next.
    auto leaving = [&](int s) -> LanguageNode* {
        int from = firsts[s], to = s + 1 < states ? firsts[s + 1] : connections;
        for (int k = to - 1; k > from; --k)
            nodes[k]->next = nodes[k - 1];
        return to > from ? nodes[to - 1] : nullptr;
    };
    std::vector<LanguageNode*> heads(states);
    for (int s = 0; s < states; ++s)
        heads[s] = leaving(s);
    entry->first = heads[0];
    for (int k = 0; k < connections; ++k)
        nodes[k]->first = heads[targets[k]];
    return start;
}
} // namespace

Interface* NewNumberUnit(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    std::string file;
    if (!args.GetText(0, &file)) {
        report("NumberUnit: First parameter error");
        return nullptr;
    }
    auto phonemes = args.Get<Phonemes>(1, "Phonemes");
    if (!phonemes) {
        report("NumberUnit: Second parameter must be 'Phonemes' interface");
        return nullptr;
    }
    XMLParser xml;
    xml.Load(file.substr(0, kMaxFileName));
    LanguageNode* start = nullptr;
    if (!xml.Go(L"/LANGUAGE/AUTOMATA/AUTOMATON"))
        report("NumberUnit : Warning, /LANGUAGE/AUTOMATA/AUTOMATON not found!");
    else
        start = Build(xml, phonemes.get());
    return start;
}
