// Wait(module); see Wait.h. The read blocks, so it lets go of the engine lock:
// other threads (connections, the window thread) go on running scripts meanwhile.
#include "core/Wait.h"

#include "Output.h"
#include "core/Arguments.h"
#include "core/EngineLock.h"
#include "core/Hold.h"
#include "core/Report.h"
#include "core/Root.h"

int Wait::Process() {
    NameList::Node* term = RootFolder()->PlainMembers().Lookup("term", 4);
    if (!term) return 0;
    if (auto* out = QueryInterface<Output>(term->object, "Output")) {
        out->WriteLine("Press enter...");
        out->Release();
    }
    if (auto* in = QueryInterface<Input>(term->object, "Input")) {
        {
            EngineUnlocked unlocked; // our reference keeps "term" if it is replaced meanwhile
            int length = 0, kind = 0;
            in->Read(&length, &kind);
        }
        in->Release();
    }
    return 0;
}

Interface* NewWait(Input* lexer, Interface* context) {
    Obtained<Module> source;
    {
        Arguments args(lexer, context, 1);
        source = args.Get<Module>(0, "Module");
    }
    if (!source) {
        report("Wait: Must be bound to a Module");
        return nullptr;
    }
    auto* wait = new Wait;
    // A source that nobody else holds dies with our reference and lets go of the
    // Wait: keep the Wait, as a fresh temporary, through that, so the reference is
    // given back here, while the hold lasts.
    Hold self(wait);
    wait->Link(source.get());
    source.reset();
    return wait;
}
