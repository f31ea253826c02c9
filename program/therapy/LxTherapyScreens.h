// The therapy module's screens in the window procedure's table.
#pragma once

// The therapy-games menu (1041) and its six games (1042 to 1047: car, clown, frog,
// picture board, flowers, mole), all built on "data\beszedjavj.xml"; the preparation
// screen (1040), the sound-development, fixation and automation screens (1048 to 1050); the child
// selection (1053), the level set-up (1055) and the voice set-up (1057).
void RegisterTherapyScreens();
