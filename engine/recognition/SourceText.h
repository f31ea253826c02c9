// The text a source offers for one production of its consumer. A source that is a
// module re-arms its own text when it produces (a comparison's score line, a data
// file's annotation) and must not be rewound: rewinding a corpus traversal would
// restart its list. Any other source (a string, a file) is rewound first, so each
// production sees its text and not just the first one.
#pragma once
#include <string>

#include "Input.h"
#include "Module.h"

namespace talvik {

// False when the source gives nothing; the text is cut at limit bytes.
inline bool SourceText(Input* source, std::string* text, size_t limit) {
    auto* module = QueryInterface<Module>(source, "Module");
    if (module)
        module->Release();
    else
        source->Rewind();
    int length = 0, kind = 0;
    const char* chunk = source->Read(&length, &kind);
    if (!chunk || length < 0) return false;
    text->assign(chunk, std::min(static_cast<size_t>(length), limit));
    return true;
}

} // namespace talvik
