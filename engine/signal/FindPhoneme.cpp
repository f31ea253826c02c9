// FindPhoneme(phonemes, info, database): the look-up of a phoneme's recordings in a
// database of recorded units, for a speech-output side of the engine. Its request
// comes from an object offering "PhonemeInfo", and no class of this engine offers
// that interface, so the factory checks its arguments in order and always stops at
// one of them with its message. The class is registered so that scripts naming it
// get those messages.
#include "Input.h"
#include "Phonemes.h"
#include "core/Arguments.h"
#include "core/Report.h"

Interface* NewFindPhoneme(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    if (!args.Get<Phonemes>(0, "Phonemes")) {
        report("FindPhoneme: First parameter must be 'Phonemes' Interface");
        return nullptr;
    }
    if (!args.Get<Interface>(1, "PhonemeInfo")) {
        report("FindPhoneme: Second parameter must be 'PhonemeInfo' Interface");
        return nullptr;
    }
    if (!args.Get<Input>(2, "Input")) {
        report("FindPhoneme: Third parameter must be 'Input' Interface");
        return nullptr;
    }
    // An object answering "PhonemeInfo" still has no layout this engine knows.
    report("FindPhoneme: Second parameter must be 'PhonemeInfo' Interface");
    return nullptr;
}
