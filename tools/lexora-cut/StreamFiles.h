// Streams and cuts as WAV files in the program's format (22050 Hz, 16-bit mono), read
// and written through the program's own data-file layer and WAV writer, so paths follow
// its rules: read relative to the data roots, written below the working folder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The samples of a WAV file; false when it is missing or not in the program's format.
bool ReadStream(const std::string& path, std::vector<int16_t>* samples);
// Writes samples as name (relative, no ".."), making its folders; false on failure.
bool WriteStream(const std::vector<int16_t>& samples, const std::string& name);
