// Hungarian number words as digits: "százhuszonöt" is "125", "kétezer" "2000",
// "egymillió" "1000000". The text is split at its first "millió" and then at its
// first "ezer" into millions, thousands and units; each part is summed from the word
// table, where the first word in table order that begins the rest of the part is
// taken (so "hatvan" before "hat"). An empty part before "millió" or "ezer" counts 1.
// A part that no word continues reports "Unknown number found!" and keeps what it
// had summed. "nulla" is "0"; "tizen" and "huszon" alone are "10-" and "20-".
#pragma once
#include <string>
#include <string_view>

namespace talvik {

std::string NumberText(std::wstring_view words);

} // namespace talvik
