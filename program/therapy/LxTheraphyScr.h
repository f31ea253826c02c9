// The base of the therapy screens: the child's header, the recorder (in both the "fo."
// and the "fö." groups), the task marks of the therapy letters and the day's letter
// string, the therapy day's date, saving the current word's recording under the child's
// folder of today ("save\theraphy\<child>\<yyyy.mm.dd>\<word>.wav", "ő" and "ű" doubled)
// and playing a saved one back, and the list of therapy days. The screens of the
// therapy stages derive from it and show their own material on their pages.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "therapy/LxTasks.h"
#include "ui/LxScreen.h"

class CLxTheraphyScr : public CLxScreen {
  public:
    static constexpr int kTasks = 9;

    explicit CLxTheraphyScr(const char* descriptionPath);

    int OnKeyEvent(CLxKeyEvent* event) override;
    int OnMouseEvent(CLxMouseEvent* event) override;
    int OnTimerEvent(CLxTimerEvent* event) override;
    // The driver's mode again (a pushed screen may have changed it), the header of the
    // current child, the task marks; then the whole screen.
    void Refresh() override;
    virtual void ShowPage() {}
    // Marks (marked) or unmarks task k in the task values and the day's letters, up to
    // m_nAllowed letters (LxTasks.h). False, changing nothing, when refused.
    bool UpdateTask(int k, bool marked);

    // The current word (letter codes): what "fo.hangmentes" saves and "fo.hangle" plays.
    static std::string& CurrentWord();
    // The file of a word's recording on a therapy day ("yyyy.mm.dd"); empty when the
    // child or the word cannot be a file name.
    static std::string WordRecordingPath(const char* word, const char* day);
    // "2017. szeptember 26." for 20170926 (the day list's form); a month outside 1 to 12
    // shows as "?".
    static std::string DayText(int date);
    // The recordings of a therapy day: names without ".wav", as letter codes, sorted.
    static std::vector<std::string> DayRecordings(const char* day);
    // Stops the recorder and plays the current word's recording of the shown therapy
    // day (g_szTherapyDate); false when there is none.
    static bool PlayDayRecording();
    // The answers of the lists opened from here: a day (its date and marks shown, then
    // its recordings listed), a recording (played, its name shown), a word.
    void OnAnswer(UINT msg, WPARAM wParam) override;

    int m_nAllowed = kDefaultAllowedTasks;
    int m_nPage = 0;

  protected:
    void ShowHeader();
    void ShowTaskMarks();
    void SetRecorderButtons(int record, int stop, int pause, int play);
    // The recorder buttons as the recorder stands: a screen built while it records or
    // plays back shows so.
    void ShowRecorderState();
    // Paints a picture into the given state pictures of group "fo" under a control.
    void PaintUnder(const char* control, const char* picturePath,
                    std::initializer_list<int> states);
    void SaveWordRecording();
    void PlayWordRecording();

  private:
    void Click(const std::string& name);
    void ShowDate(const char* date);
    // Sends a list of texts, kept until the list answers.
    void SendList(UINT msg, std::vector<std::string> texts);
    void ListDays();
    void ListRecordings();
    // The practice words in alphabetical order, to choose the current word from.
    void ListWords();

    std::vector<std::string> m_listTexts;
    std::vector<const char*> m_listPointers;
    std::vector<std::string> m_recordings;  // letter codes, as listed
    std::vector<std::string> m_sortedWords; // letter codes, as listed
};
