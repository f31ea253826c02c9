// The tables the program reads once at start-up: the reading course (one 8-byte entry
// per lesson letter, in course order, saying which games belong to the lesson) and the
// eight therapy sentences. Both are read from the program's XML files; the tables are
// fixed in size and a file that offers more is cut at their end.
#pragma once
#include <string>
#include <vector>

constexpr int kCourseEntries = 128; // 1024 bytes of 8-byte entries
constexpr int kSentenceBytes = 512;
constexpr int kSentences = 8;

// Byte 0: the lesson's letter code; bytes 1 to 6: 1 when game 1 to 6 belongs to it;
// byte 7: the extra game, 0 none, 1 game 7, 2 colouring, 3 domino.
extern unsigned char g_aCourse[kCourseEntries][8];
extern int g_nLastCourseEntry; // index of the last entry
extern int g_nCourseLesson;    // the current lesson, -1 for none
extern int g_nCourseLetter;    // the letter code of the current lesson
// The therapy sentences as NUL-terminated letter codes.
extern unsigned char g_aSentences[kSentences][kSentenceBytes];

// Reads the "character order" list and the "session" lessons of the course file, and
// keeps the material of each letter's first lesson for its games. False when the file
// cannot be read; the table and the material are cleared either way.
bool LoadCourse(const char* path);
// The tags inside the first lesson of a letter, as written, in file order; empty for a
// letter without a lesson.
const std::vector<std::string>& LessonMaterial(unsigned char letter);
// Reads the "sentence0" to "sentence7" tags. False when the file cannot be read.
bool LoadSentences(const char* path);
