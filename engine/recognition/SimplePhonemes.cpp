// SimplePhonemes(list, [separator]): a phoneme set read from a text list. Line n of
// the list defines code n; the symbols on a line, separated by the separator (a blank
// unless a one-character text is given), line ends or double quotes, are synonyms of
// that code, and an empty line uses up its code all the same. Symbols are compared by
// their first 11 characters. The table is built once, at creation.
#include <cstring>
#include <string>
#include <vector>

#include "Phonemes.h"
#include "core/Arguments.h"
#include "core/File.h"
#include "core/ModuleBase.h"
#include "core/Report.h"

namespace {
constexpr size_t kMaxLine = 1023;
constexpr size_t kMaxSymbol = 255;
constexpr size_t kCompared = 11;

class SimplePhonemes : public ModuleBase, public virtual Phonemes {
  public:
    SimplePhonemes(const std::string& list, char separator) {
        const std::string delimiters = std::string("\n\r\"") + separator;
        int code = 1;
        size_t at = 0;
        while (at < list.size()) {
            size_t end = list.find('\n', at);
            if (end == std::string::npos) end = list.size();
            std::string line = list.substr(at, std::min(end - at, kMaxLine));
            size_t piece = line.find_first_not_of(delimiters);
            while (piece != std::string::npos) {
                size_t stop = line.find_first_of(delimiters, piece);
                std::string symbol =
                    line.substr(piece, stop == std::string::npos ? stop : stop - piece);
                entries_.push_back(Entry{code, symbol.substr(0, kMaxSymbol)});
                piece = stop == std::string::npos ? stop : line.find_first_not_of(delimiters, stop);
            }
            ++code;
            at = end + 1;
        }
        count_ = code - 1;
    }

    int Code(const char* symbol) override {
        if (!symbol) return -1;
        for (const Entry& e : entries_)
            if (!std::strncmp(e.symbol.c_str(), symbol, kCompared)) return e.code;
        return -1;
    }
    const char* Symbol(int code) override {
        for (const Entry& e : entries_)
            if (e.code == code) return e.symbol.c_str();
        return "";
    }
    int Count() override { return count_; }

    void* GetInterface(const char* name) override {
        return AnswerAs<Phonemes>(this, "Phonemes", name);
    }

  private:
    struct Entry {
        int code;
        std::string symbol;
    };
    std::vector<Entry> entries_;
    int count_ = 0;
};
} // namespace

Interface* NewSimplePhonemes(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 2);
    auto list = args.Get<Input>(0, "Input");
    if (!list) {
        report("SimplePhonemes: First parameter must be 'Input' Interface");
        return nullptr;
    }
    char separator = ' ';
    if (auto given = args.Get<Input>(1, "Input")) {
        std::string text = InputText(given.get());
        if (text.size() == 1)
            separator = text[0];
        else
            report("SimplePhonemes: separator must be a character");
    }
    std::string text = InputAllText(list.get());
    return new SimplePhonemes(text, separator);
}
