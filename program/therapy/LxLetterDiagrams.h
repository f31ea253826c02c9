// The time-diagram page of the sound-development screen: one row per letter of the day
// (at most nine, letters outside the therapy letter order left out) in the group "al",
// each with the letter ("al.tf%d"), its level in hundredths ("al.nf%d", with the buttons
// "al.bm%d" and "al.bp%d" to lower and raise it) and the time diagram of its class-score
// history ("al.td%d") with the level as threshold and the minimum level as marker. Up to
// five rows are tall and have the buttons; more are packed 40 pixels apart. A level
// dragged on a diagram, stepped or typed is stored in the letter's task value, whose
// "not practised" bit is kept.
#pragma once

class CLxScreen;
class CLxControl;
class CLxMouseEvent;
class CLxKeyEvent;

class CLxLetterDiagrams {
  public:
    static constexpr int kRows = 9;
    static constexpr int kTallRows = 5;

    explicit CLxLetterDiagrams(CLxScreen* screen) : m_pScreen(screen) {}

    // Lays the rows out from the day's letters and shows them; hidden hides every row.
    void Show(bool shown);
    // Draws each diagram's newest column (all of it when the history starts again).
    void DrawTick();
    // A diagram's threshold, a level button or a history-length button ("fo.ido1" ...
    // "fo.ido4": 256 ... 2048 values); true when the event was the page's.
    bool OnMouse(CLxMouseEvent* event);
    // A level typed into a row's number field; true when it was one.
    bool OnKey(CLxKeyEvent* event);

    int Rows() const { return m_nRows; }
    // The letter's level (0 ... 100) of a row.
    int Level(int row) const;

  private:
    CLxControl* Find(const char* kind, int row) const;
    // The row of a control named "al." kind digit, or -1.
    int RowOf(const CLxControl* control, const char* kind) const;
    void SetLevel(int row, int level);
    void SetHistoryLength(int length);

    CLxScreen* m_pScreen;
    int m_nRows = 0;
    int m_aPlaces[kRows] = {};
};
