// The screen-table entries of the main screen (1024), the information screen (1062),
// the memory game (1061) and the extended memory game (1033).
#pragma once

void RegisterExerciseScreens();
