// A child's therapy history: one entry per therapy day with the task values of the day
// and the letters practised on it. It is kept as an HTML page ("history.html" in the
// child's folder) that the therapist reads in a browser and the program reads back.
// When the record is full, the oldest day gives way to the newest.
#pragma once

constexpr int kHistoryEntries = 256;
constexpr int kHistoryValues = 24;
constexpr int kHistoryLetters = 24; // 23 codes and a terminating 0

class CLxTHistory {
  public:
    CLxTHistory();
    explicit CLxTHistory(const char* name); // at most 63 bytes of the name are kept
    virtual ~CLxTHistory() = default;

    // Replaces the last entry when it has this date, else appends one. values holds one
    // value per code of the therapy letter order (at most 20 are taken); letters are
    // letter codes (at most 23 are kept).
    void AddEntry(int date, const int* values, const char* letters);
    // AddEntry with today's local date as yyyymmdd.
    void AddToday(const int* values, const char* letters);
    // The index of the last entry of that date; -1 when there is none.
    int FindDate(int date) const;
    // Copies the entry into whichever output is not null; false for a bad index.
    bool GetEntry(int index, int* date, int* values, char* letters) const;

    // False, leaving the record as it was, when the page cannot be read.
    bool Load(const char* path);
    // Writes the page; false when there is nothing to write or writing failed.
    bool Save(const char* path) const;

    const char* GetName() const { return m_szName; }
    int GetCount() const { return m_nEntries; }

  private:
    // Full: the oldest day gives way.
    void DropOldest();
    void ReadEntry(const char* line, bool withMin, int columns);

    char m_szName[64];
    int m_aDates[kHistoryEntries];
    int m_aValues[kHistoryEntries][kHistoryValues];
    char m_aLetters[kHistoryEntries][kHistoryLetters];
    int m_nEntries;
};
