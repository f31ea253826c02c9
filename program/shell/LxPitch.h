// The driver's own pitch and voicing measure of one block of samples: a 7-tap smoothing
// filter, then the autocorrelation over the lags of the wanted pitch range. The lag with
// the largest correlation gives the pitch; its normalised correlation is the voicing.
#pragma once

// Filters samples in place and returns the pitch in Hz (22050 / best lag), 0 when no lag
// correlates (or the range is empty). voicing gets sqrt(r(lag) / (count - lag) / energy),
// 0 for silence or a best correlation that is not positive.
float PitchEstimate(float* samples, int count, int minHz, int maxHz, float* voicing);
