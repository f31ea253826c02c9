// The reading module's entries in the screen table: reading game 1 (1025, 1026; 1039
// arrives as 1025 with the chosen letter), the further reading games (1027 on) and the letter
// selection screens (1034 to 1038).
#pragma once

void RegisterReadingScreens();
