#include "shell/LxProgramData.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "reading/LxLetters.h"
#include "shell/LxXMLParser.h"

unsigned char g_aCourse[kCourseEntries][8] = {};
int g_nLastCourseEntry = 0;
int g_nCourseLesson = -1;
int g_nCourseLetter = 0;
unsigned char g_aSentences[kSentences][kSentenceBytes] = {};

static bool StartsWith(const char* text, const char* prefix) {
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

// Stores text as letter codes, cut so that the terminating NUL always fits.
static void StoreCodes(unsigned char* out, int size, const char* text) {
    std::string copy(text, strnlen(text, size - 1));
    std::string codes = TextToCodes(copy.c_str());
    size_t n = std::min(codes.size(), static_cast<size_t>(size - 1));
    memcpy(out, codes.data(), n);
    out[n] = 0;
}

// The comma-separated letters of the course order, one entry each.
static void ReadOrder(const char* list) {
    int entry = 0;
    const char* p = list;
    for (;;) {
        if (entry < kCourseEntries) g_aCourse[entry][0] = DecodeLetter(p);
        p = strchr(p, ',');
        if (!p) break;
        ++p;
        while (*p && static_cast<unsigned char>(*p) <= ' ')
            ++p;
        ++entry;
    }
    g_nLastCourseEntry = std::min(entry, kCourseEntries - 1);
}

// The last entry whose letter is that of the lesson, or -1.
static int FindLesson(const char* letter) {
    unsigned char code = DecodeLetter(letter);
    for (int i = g_nLastCourseEntry; i >= 0; --i)
        if (g_aCourse[i][0] == code) return i;
    return -1;
}

static void ReadLessonTag(const char* tag, int lesson) {
    if (StartsWith(tag, "game") && tag[4] >= '1' && tag[4] <= '7') {
        int game = tag[4] - '0';
        g_aCourse[lesson][game == 7 ? 7 : game] = 1;
    } else if (StartsWith(tag, "coloring")) {
        g_aCourse[lesson][7] = 2;
    } else if (StartsWith(tag, "domino")) {
        g_aCourse[lesson][7] = 3;
    }
}

bool LoadCourse(const char* path) {
    memset(g_aCourse, 0, sizeof g_aCourse);
    g_nLastCourseEntry = 0;
    CLxXMLParser xml;
    if (!xml.Open(path)) return false;
    int lesson = -1;
    while (char* tag = xml.NextTag()) {
        if (StartsWith(tag, "character")) {
            if (const char* order = xml.GetAttr(tag, "order")) ReadOrder(order);
        } else if (StartsWith(tag, "session")) {
            const char* letter = xml.GetAttr(tag, "character");
            lesson = letter ? FindLesson(letter) : -1;
        } else if (StartsWith(tag, "/session")) {
            lesson = -1;
        } else if (lesson >= 0) {
            ReadLessonTag(tag, lesson);
        }
    }
    return true;
}

bool LoadSentences(const char* path) {
    CLxXMLParser xml;
    if (!xml.Open(path)) return false;
    while (char* tag = xml.NextTag()) {
        if (!StartsWith(tag, "sentence") || tag[8] < '0' || tag[8] > '7') continue;
        const char* text = xml.GetAttr(tag, "text");
        if (text) StoreCodes(g_aSentences[tag[8] - '0'], kSentenceBytes, text);
    }
    return true;
}
