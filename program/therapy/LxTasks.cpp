// The tasks of a therapy day; see LxTasks.h.
#include "therapy/LxTasks.h"

#include <cstring>

#include "reading/LxLetters.h"
#include "shell/LxDriverBlock.h"
#include "shell/LxTHistory.h"
#include "shell/LxUserRecords.h"

namespace {
// The day's letters: what the history keeps of them.
constexpr int kMaxDayLetters = kHistoryLetters - 1;

char* DayLetters() {
    return reinterpret_cast<char*>(g_Driver.aScreenLetters);
}
} // namespace

unsigned char TaskLetter(int k) {
    const unsigned char* order = TherapyOrder();
    int n = int(std::strlen(reinterpret_cast<const char*>(order)));
    return k >= 1 && k < kTaskValues && k < n ? order[k] : 0;
}

bool IsTaskMarked(int k) {
    unsigned char letter = TaskLetter(k);
    return letter && std::strchr(DayLetters(), letter);
}

bool MarkTask(int k, bool marked, int allowed) {
    unsigned char letter = TaskLetter(k);
    if (!letter) return false;
    char* letters = DayLetters();
    char* at = std::strchr(letters, letter);
    if (marked) {
        int n = int(std::strlen(letters));
        if (!at && (n >= allowed || n >= kMaxDayLetters)) return false;
        if (!at) letters[n] = char(letter), letters[n + 1] = 0;
        g_aTaskValues[k] &= ~kTaskNotPractised;
    } else {
        if (at) std::memmove(at, at + 1, std::strlen(at));
        g_aTaskValues[k] |= kTaskNotPractised;
    }
    return true;
}

void TaskValuesFromLetters() {
    for (int k = 1; k < kTaskValues; ++k)
        if (TaskLetter(k)) MarkTask(k, IsTaskMarked(k), kMaxDayLetters);
}
