// The number word table and the parse; see NumberWords.h.
#include "recognition/NumberWords.h"

#include "core/Report.h"

namespace talvik {
namespace {
struct NumberWord {
    std::wstring_view word;
    int value;
};

// Searched in this order: longer words that start like shorter ones come first.
constexpr NumberWord kWords[] = {
    {L"száz", 100},      {L"egyszáz", 100},   {L"kétszáz", 200},    {L"kettőszáz", 200},
    {L"háromszáz", 300}, {L"négyszáz", 400},  {L"ötszáz", 500},     {L"hatszáz", 600},
    {L"hétszáz", 700},   {L"nyolcszáz", 800}, {L"kilencszáz", 900}, {L"tizen", 10},
    {L"huszon", 20},     {L"harminc", 30},    {L"negyven", 40},     {L"ötven", 50},
    {L"hatvan", 60},     {L"hetven", 70},     {L"nyolcvan", 80},    {L"kilencven", 90},
    {L"tíz", 10},        {L"húsz", 20},       {L"egy", 1},          {L"kettő", 2},
    {L"két", 2},         {L"három", 3},       {L"négy", 4},         {L"öt", 5},
    {L"hat", 6},         {L"hét", 7},         {L"nyolc", 8},        {L"kilenc", 9},
};

long long Sum(std::wstring_view part) {
    long long sum = 0;
    while (!part.empty()) {
        const NumberWord* found = nullptr;
        for (const NumberWord& entry : kWords) {
            if (!part.starts_with(entry.word)) continue;
            found = &entry;
            break;
        }
        if (!found) {
            report("Unknown number found!");
            break;
        }
        sum += found->value;
        part.remove_prefix(found->word.size());
    }
    return sum;
}

// The value of the part before the first marker (1 when that part is empty, 0 without
// the marker); rest becomes the text after the marker.
long long Scale(std::wstring_view* rest, std::wstring_view marker) {
    size_t at = rest->find(marker);
    if (at == std::wstring_view::npos) return 0;
    long long value = at ? Sum(rest->substr(0, at)) : 1;
    rest->remove_prefix(at + marker.size());
    return value;
}
} // namespace

std::string NumberText(std::wstring_view words) {
    if (words == L"nulla") return "0";
    if (words == L"tizen") return "10-";
    if (words == L"huszon") return "20-";
    std::wstring_view rest = words;
    long long millions = Scale(&rest, L"millió");
    long long thousands = Scale(&rest, L"ezer");
    long long units = Sum(rest);
    return std::to_string(units + 1000 * (thousands + 1000 * millions));
}

} // namespace talvik
