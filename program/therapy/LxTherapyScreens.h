// The therapy module's screens in the window procedure's table.
#pragma once

// The therapy-games menu (1041) and the frog game (1044, game 3), both built on
// "data\beszedjavj.xml"; the preparation screen (1040) and the
// child selection (1053).
void RegisterTherapyScreens();
