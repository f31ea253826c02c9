// The phoneme database and prosody modification: each factory checks its arguments in
// order, stops at the first wrong one with its message and makes no object; nothing
// in the engine offers "PhonemeInfo", so no script gets past it. A test object that
// answers the two request names reaches the later checks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "signal/SignalTest.h"

namespace {
// Answers "PhonemeInfo" and "Prosody" without any layout behind them.
class Request : public ModuleBase {
  public:
    void* GetInterface(const char* name) override {
        if (std::strcmp(name, "PhonemeInfo") && std::strcmp(name, "Prosody"))
            return ModuleBase::GetInterface(name);
        AddRef();
        return static_cast<Interface*>(this);
    }
};

class PhonemeDatabase : public SignalTest {};

TEST_F(PhonemeDatabase, FactoriesStopAtTheFirstWrongArgument) {
    auto* home = QueryInterface<Folder>(Evaluate(folder), "Folder");
    home->Set("r", 1, new Request, 0);
    home->Release();
    ASSERT_EQ(In("p = new SimplePhonemes(\"a,b\", \",\")"), "");
    struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"x = new FindPhoneme(5, r, \"db\")",
         "FindPhoneme: First parameter must be 'Phonemes' Interface\n"},
        {"x = new FindPhoneme(p, 5, \"db\")",
         "FindPhoneme: Second parameter must be 'PhonemeInfo' Interface\n"},
        {"x = new FindPhoneme(p, p, \"db\")",
         "FindPhoneme: Second parameter must be 'PhonemeInfo' Interface\n"},
        {"x = new FindPhoneme(p, r, 5)",
         "FindPhoneme: Third parameter must be 'Input' Interface\n"},
        {"x = new FindPhoneme(p, r, \"db\")",
         "FindPhoneme: Second parameter must be 'PhonemeInfo' Interface\n"},
        {"x = new FindPhoneme()", "FindPhoneme: First parameter must be 'Phonemes' Interface\n"},
        {"x = new ModifySoundBuffer(p, r, \"db\")",
         "ModifySoundBuffer: First parameter must be 'PhonemeInfo' Interface\n"},
        {"x = new ModifySoundBuffer(r, 5, \"db\")",
         "ModifySoundBuffer: Second parameter must be 'Prosody' Interface\n"},
        {"x = new ModifySoundBuffer(r, r, 5)",
         "ModifySoundBuffer: Third parameter must be 'Input' Interface\n"},
        {"x = new ModifySoundBuffer(r, r, \"db\")",
         "ModifySoundBuffer: First parameter must be 'PhonemeInfo' Interface\n"},
    };
    for (auto& c : cases) {
        std::string written = In(c.script);
        EXPECT_NE(written.find(c.message), std::string::npos) << c.script << ": " << written;
        EXPECT_EQ(Get("x"), nullptr) << c.script;
    }
}
} // namespace
