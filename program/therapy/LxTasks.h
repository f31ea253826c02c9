// The tasks of a therapy day: task k (1 and up) is the letter at place k of the therapy
// letter order. A task is marked when its letter is in the day's letter string
// (g_Driver.aScreenLetters); its task value then has the "not practised" bit clear.
// Marking is refused for a task beyond the letter order or the task values, and when
// the string already holds as many letters as allowed.
#pragma once

// The letters a day's string holds where a screen does not say otherwise.
constexpr int kDefaultAllowedTasks = 17;

// The letter of task k; 0 when there is no such task.
unsigned char TaskLetter(int k);
bool IsTaskMarked(int k);
// Marks or unmarks task k; false, changing nothing, when refused.
bool MarkTask(int k, bool marked, int allowed);
// Sets each task's "not practised" bit from the day's letters (the history page keeps
// only the low bits of the values).
void TaskValuesFromLetters();
