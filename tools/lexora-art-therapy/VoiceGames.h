// The pictures of the car, clown, flower and mole games (see VoiceGames.cpp).
#pragma once
#include <string>

// Draws them into the data folder DATA (and DATA/sprites); false when one cannot be
// written. The mole's shadow is drawn as "sprites/vakondk.bmp" for lexora-picture to
// turn into its mask.
bool DrawVoiceGames(const std::string& data);
