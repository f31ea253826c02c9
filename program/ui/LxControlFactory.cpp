// The control types a description may name; see LxControlFactory.h.
#include "ui/LxControlFactory.h"

#include <cstdio>
#include <cstring>

#include "ui/LxButton.h"
#include "ui/LxCGUI.h"
#include "ui/LxScrollBar.h"
#include "ui/LxText.h"
#include "ui/LxTextArea.h"
#include "ui/LxTimeDiagramm.h"
#include "ui/LxVolumeSlider.h"

namespace {
CLxControl* Make(const char* type, CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader,
                 const char* tag) {
    if (!std::strcmp(type, "button")) return new CLxButton(gui, group, reader, tag);
    if (!std::strcmp(type, "checkbox")) return new CLxCheckBox(gui, group, reader, tag);
    if (!std::strcmp(type, "text")) return new CLxText(gui, group, reader, tag);
    if (!std::strcmp(type, "textfield")) return new CLxTextField(gui, group, reader, tag);
    if (!std::strcmp(type, "numberfield")) return new CLxNumberField(gui, group, reader, tag);
    if (!std::strcmp(type, "textarea")) return new CLxTextArea(gui, group, reader, tag);
    if (!std::strcmp(type, "scrollbar")) return new CLxScrollBar(gui, group, reader, tag);
    if (!std::strcmp(type, "slider")) return new CLxSlider(gui, group, reader, tag);
    if (!std::strcmp(type, "timediagramm")) return new CLxTimeDiagramm(gui, group, reader, tag);
    if (!std::strcmp(type, "volumeslider")) return new CLxVolumeSlider(gui, group, reader, tag);
    return nullptr;
}
} // namespace

CLxControl* LxCreateControl(const char* type, CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader,
                            const char* tag) {
    CLxControl* control = Make(type, gui, group, reader, tag);
    if (!control) return nullptr;
    // The rectangle tags follow the control's tag.
    control->ReadRects(reader);
    if (control->m_nRects > 0 || !gui->RectsFull()) return control;
    std::fprintf(stderr, "Too many rectangles in the screen description: %s is left out\n",
                 control->GetFullName().c_str());
    delete control;
    return nullptr;
}
