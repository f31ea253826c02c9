// The reading course as the reading screens see it: where in the course the child is
// (the entry index g_nCourseLesson and the letter g_nCourseLetter of LxProgramData.h),
// what the current lesson offers, and the lesson material that each game reads from
// the course loaded at start-up when it is built. The position is resolved lazily: a letter chosen
// on a selection screen leaves the index -1 until a reading screen looks it up, and stepping
// through the course leaves the letter -1 until the entry's letter is taken.
#pragma once
#include <string>
#include <vector>

inline constexpr const char* kCourseFile = "data\\olvfej_tem.xml";

// Finds the entry of the current letter (the last one that has it) when the index is
// -1, and takes the entry's letter when the letter is -1. A letter outside the course
// keeps the index -1: such a letter has no lesson.
void ResolveCoursePosition();
// The current letter code (0 when neither letter nor entry is known).
unsigned char CurrentCourseLetter();
// Whether the current lesson offers reading game 1 to 6; false without a lesson.
bool LessonOffers(int game);
// The lesson's seventh game: 0 none, 1 game 7, 2 colouring, 3 domino.
int LessonSeventhGame();

// The items of attribute attr of the element game ("game1") in the first lesson of the
// letter in the loaded course, split as a list; at most max items. Empty when the
// lesson, the element or the attribute is missing.
std::vector<std::string> LessonList(unsigned char letter, const char* game, const char* attr,
                                    int max);

// The place of a letter in the therapy letter order, which is also its recogniser
// class; -1 when it is not there.
int TherapyPlace(unsigned char code);
