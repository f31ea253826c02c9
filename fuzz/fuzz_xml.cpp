// Feeds arbitrary bytes as a program XML file through CLxXMLParser: the input is written
// as a data file in a scratch folder, opened, and every tag is scanned and asked for
// the attributes, numbers, lists, positions and rectangles the program's readers use.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/LxXMLParser.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/lexora-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* out = std::fopen("f.xml", "wb");
    if (!out) return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    CLxXMLParser reader;
    if (!reader.Open("f.xml")) return 0;
    while (char* tag = reader.NextTag()) {
        int n;
        float f;
        int ints[4];
        float floats[4];
        (void)reader.GetInt(tag, "volume", &n);
        (void)reader.GetFloat(tag, "level", &f);
        (void)reader.GetIntList(tag, "pictures", ints, 4);
        (void)reader.GetFloatList(tag, "weights", floats, 4);
        (void)reader.GetPosition(tag);
        (void)reader.GetRect(tag);
        if (char* value = reader.GetAttr(tag, "items")) {
            char* items[8];
            (void)CLxXMLParser::SplitList(value, items, 8);
        }
    }
    return 0;
}
