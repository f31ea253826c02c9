// Buttons and check boxes: controls drawn from their group's state pictures (the
// description's background when the group has none). A check box toggles its selected
// bit on every click.
#pragma once
#include "ui/LxControl.h"

class CLxButton : public CLxControl {
  public:
    explicit CLxButton(const Descriptor* d, int type = kButton) : CLxControl(d, type) {}
    CLxButton(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag,
              int type = kButton);

    void Draw() override;
};

class CLxCheckBox : public CLxButton {
  public:
    explicit CLxCheckBox(const Descriptor* d) : CLxButton(d, kCheckBox) {}
    CLxCheckBox(CLxCGUI* gui, CLxGroup* group, CLxXMLParser* reader, const char* tag)
        : CLxButton(gui, group, reader, tag, kCheckBox) {}

    void OnClick(CLxMouseEvent* event) override;
};

// The picture a control of the group shows for its state: the group's state picture,
// else the description's background; null when neither exists.
CLxSurface* LxStatePicture(const CLxControl* control, int state);
