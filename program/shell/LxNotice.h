// A notice for the user over the bottom of the screen, such as a save that failed: a
// band with the text for a few seconds, then the screen underneath drawn again. The
// window's timer ends it; nothing else of the screen changes.
#pragma once
#include <string>

// Shows text (Latin-2) from now on, replacing any notice shown.
void ShowNotice(const std::string& text);
// Ends the notice when its time is up; called with the clock's milliseconds.
void NoticeTick(int nowMs);
// Whether a notice is shown, and its text.
bool NoticeShown();
const std::string& NoticeText();
