// The display factories' shared arguments; see DisplayArguments.h.
#include "core/DisplayArguments.h"

#include "Input.h"
#include "core/Arguments.h"
#include "core/File.h"
#include "core/Report.h"

namespace {
const char* const kOrdinals[] = {"First", "Second", "Third", "Fourth", "Fifth"};

const char* Ordinal(int position) {
    return position >= 0 && position < 5 ? kOrdinals[position] : "A";
}
} // namespace

bool ReadDisplayTarget(const Arguments& args, int at, const char* who, DisplayTarget* target) {
    target->window = args.Get<Window>(at, "Window");
    if (!target->window) {
        report("%s: %s parameter must be 'Window' Interface", who, Ordinal(at));
        return false;
    }
    auto title = args.Get<Input>(at + 1, "Input");
    if (!title) {
        report("%s: %s parameter must be 'Input' Interface", who, Ordinal(at + 1));
        return false;
    }
    target->title = InputText(title.get());
    return true;
}

uint32_t ReadColour(const Arguments& args, int position) {
    double colour = 0;
    args.GetNumber(position, &colour);
    return colour >= 0 && colour < 4294967296.0 ? static_cast<uint32_t>(colour) : 0;
}

void ShowInWindow(const DisplayTarget& target, Interface* display) {
    target.window->Set(target.title.c_str(), static_cast<int>(target.title.size()), display, 0);
}
