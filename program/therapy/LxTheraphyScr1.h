// The preparation screen ("Theraphy1", "data\beszedjav1.xml"): the therapy screens'
// header, recorder, task marks and word recordings, with a text over the page.
#pragma once
#include "therapy/LxTheraphyScr.h"

class CLxTheraphyScr1 : public CLxTheraphyScr {
  public:
    explicit CLxTheraphyScr1(const char* descriptionPath);
    int OnMouseEvent(CLxMouseEvent* event) override;
};
