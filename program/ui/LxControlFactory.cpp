// The control types a description may name; see LxControlFactory.h.
#include "ui/LxControlFactory.h"

#include <cstring>

#include "ui/LxButton.h"

CLxControl* LxCreateControl(const char* type, CLxCGUI* gui, CLxGroup* group,
                            CLxXMLParser* reader, const char* tag) {
    if (!std::strcmp(type, "button")) return new CLxButton(gui, group, reader, tag);
    if (!std::strcmp(type, "checkbox")) return new CLxCheckBox(gui, group, reader, tag);
    return nullptr;
}
