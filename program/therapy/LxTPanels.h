// Pieces the pushed therapy screens share (child selection, set-ups, lists, help): the
// calling screen's header kept visible by copying it from the drawing surface into the
// new description's background, the four-colour frame around a list, the rows of a
// scrolled list ("fo.tf%02d") with their scroll bar ("fo.sb") and play buttons, the
// recognised letter shown beside a list while the child speaks, and the speech samples
// of words ("save\speech\<word>.wav", else the program's own under "data\speech").
// Also what every therapy screen does for help, and the placeholder of a text field.
#pragma once
#include <initializer_list>
#include <string>

#include "media/LxWin.h"

class CLxCGUI;
class CLxMouseEvent;
class CLxScreen;
class CLxScrollBar;

// Header areas: the words list and the child selection; help; lists and set-ups.
constexpr RECT kHeaderTop = {0, 0, 800, 172};
constexpr RECT kHeaderTopShort = {0, 0, 800, 160};
constexpr RECT kHeaderCornerShort = {672, 128, 800, 180};
constexpr RECT kHeaderCornerTall = {672, 128, 800, 560};

// The most rows a list description may have, and the names of a row's text and play
// button ("fo.tf07", "fo.play07").
constexpr int kListRows = 32;
inline constexpr const char* kListRow = "fo.tf%02d";
inline constexpr const char* kListPlay = "fo.play%02d";
// The list's scroll bar; a list screen fills its rows again when it moves.
inline constexpr const char* kListScrollBar = "fo.sb";

// Copies the rectangles of the drawing surface (the screen underneath) into the
// description's background.
void CopyHeader(CLxCGUI* gui, std::initializer_list<RECT> areas);
// Four outlines around the list area, each one pixel further in.
void DrawListFrame(CLxCGUI* gui);

// The name of row i's control, "fo.tf07", or of another kind ("fo.icon%02d").
const char* RowName(char* out, const char* format, int row);
// The list's scroll bar, or null when the description has none.
CLxScrollBar* ListScrollBar(CLxScreen* screen);
// The scroll bar's value, 0 without one.
int ListScroll(CLxScreen* screen);
// The row number of a row control's name made with format ("fo.tf%02d"); -1 otherwise.
int RowOf(const char* name, const char* format);

// Draws the play-button pictures ("data\buttons\prs1.bmp" ... "prs6.bmp", white
// transparent) into group "fo"'s state pictures at the control's rectangle, widened to
// the right by widen pixels.
void DrawPlayButton(CLxCGUI* gui, const char* control, int widen);

// The letter overlay beside a list: per-phoneme recognition every 30 ms, the best
// practised letter above the minimum score drawn in a box at the right.
void StartLetterOverlay(CLxCGUI* gui);
// One driver event (not the window timer): the box cleared, then the letter of the
// therapy letter order whose score is highest and above g_aTaskValues[0] / 100, its
// colour's weight (1 - score) * 255; nothing while the level is below fMinLevel / 15.
void StepLetterOverlay(CLxCGUI* gui);

// The speech sample of a word (letter codes): its path when one of the two files
// exists, else empty.
std::string SamplePath(const char* word);
// With load, stops the recorder and reads the sample into the recording; with start,
// plays it. False when the word has no sample.
bool PlaySample(const char* word, bool load, bool start);

// Stops what plays or records and opens the help page of name (a screen's name).
void OpenHelpPage(const char* name);
// A mouse event on a text field that shows placeholder while empty: coming onto it
// empties it of the placeholder, leaving it empty puts the placeholder back.
void TrackPlaceholder(const CLxMouseEvent* event, const char* placeholder);
