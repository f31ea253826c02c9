// Feeds arbitrary bytes, read as engine text (ISO 8859-2), to the Hungarian number
// word parse that the number comparison uses: any text must give a decimal value (or
// one of the fixed texts) without reading outside it or overflowing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/TextCodec.h"
#include "recognition/NumberWords.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), std::min<size_t>(size, 256));
    std::string number = talvik::NumberText(talvik::Latin2ToWide(bytes));
    if (number.empty()) std::abort();
    for (char c : number)
        if ((c < '0' || c > '9') && c != '-') std::abort();
    return 0;
}
