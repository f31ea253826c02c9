// ModifySoundBuffer(info, prosody, database): assembling recorded units and changing
// their prosody, for a speech-output side of the engine. Its request comes from
// objects offering "PhonemeInfo" and "Prosody", which no class of this engine
// offers, so the factory checks its arguments in order and always stops at one of
// them with its message. The class is registered so that scripts naming it get
// those messages.
#include "Input.h"
#include "core/Arguments.h"
#include "core/Report.h"

Interface* NewModifySoundBuffer(Input* lexer, Interface* context) {
    Arguments args(lexer, context, 3);
    if (!args.Get<Interface>(0, "PhonemeInfo")) {
        report("ModifySoundBuffer: First parameter must be 'PhonemeInfo' Interface");
        return nullptr;
    }
    if (!args.Get<Interface>(1, "Prosody")) {
        report("ModifySoundBuffer: Second parameter must be 'Prosody' Interface");
        return nullptr;
    }
    if (!args.Get<Input>(2, "Input")) {
        report("ModifySoundBuffer: Third parameter must be 'Input' Interface");
        return nullptr;
    }
    // An object answering "PhonemeInfo" still has no layout this engine knows.
    report("ModifySoundBuffer: First parameter must be 'PhonemeInfo' Interface");
    return nullptr;
}
