// The terminal dialog of a TransWindow on the screen: the output field (what "put"
// wrote), the input field the user types into, and the OK and Quit buttons. Typing
// edits the shared input field; OK (or Return) wakes the waiting reads, which take
// the text; Quit marks the dialog ended, wakes the reads and closes the dialog.
#pragma once
#include <memory>

#include "core/ScreenView.h"
#include "core/TransWindow.h"

std::shared_ptr<ScreenView> NewTransDialog(std::shared_ptr<TransWindow::Fields> fields);
