#include "shell/LxProgramData.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "reading/LxLetters.h"
#include "shell/LxXMLParser.h"

unsigned char g_aCourse[kCourseEntries][8] = {};
int g_nLastCourseEntry = 0;
static std::map<unsigned char, std::vector<std::string>> g_lessonMaterial;
int g_nCourseLesson = -1;
int g_nCourseLetter = 0;
unsigned char g_aSentences[kSentences][kSentenceBytes] = {};

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
    if (LxTagStarts(tag, "game") && tag[4] >= '1' && tag[4] <= '7') {
        int game = tag[4] - '0';
        g_aCourse[lesson][game == 7 ? 7 : game] = 1;
    } else if (LxTagStarts(tag, "coloring")) {
        g_aCourse[lesson][7] = 2;
    } else if (LxTagStarts(tag, "domino")) {
        g_aCourse[lesson][7] = 3;
    }
}

bool LoadCourse(const char* path) {
    memset(g_aCourse, 0, sizeof g_aCourse);
    g_nLastCourseEntry = 0;
    g_lessonMaterial.clear();
    CLxXMLParser xml;
    if (!xml.Open(path)) return false;
    int lesson = -1;
    std::vector<std::string>* material = nullptr; // of a letter's first lesson
    while (char* tag = xml.NextTag()) {
        if (LxTagStarts(tag, "character")) {
            if (const char* order = xml.GetAttr(tag, "order")) ReadOrder(order);
        } else if (LxTagStarts(tag, "session")) {
            const char* letter = xml.GetAttr(tag, "character");
            lesson = letter ? FindLesson(letter) : -1;
            unsigned char code = letter ? DecodeLetter(letter) : 0;
            material = code && !g_lessonMaterial.count(code) ? &g_lessonMaterial[code] : nullptr;
        } else if (LxTagStarts(tag, "/session")) {
            lesson = -1;
            material = nullptr;
        } else {
            if (material) material->emplace_back(tag);
            if (lesson >= 0) ReadLessonTag(tag, lesson);
        }
    }
    return true;
}

const std::vector<std::string>& LessonMaterial(unsigned char letter) {
    static const std::vector<std::string> none;
    auto found = g_lessonMaterial.find(letter);
    return found == g_lessonMaterial.end() ? none : found->second;
}

bool LoadSentences(const char* path) {
    CLxXMLParser xml;
    if (!xml.Open(path)) return false;
    while (char* tag = xml.NextTag()) {
        if (!LxTagStarts(tag, "sentence") || tag[8] < '0' || tag[8] > '7') continue;
        const char* text = xml.GetAttr(tag, "text");
        if (text) StoreCodes(g_aSentences[tag[8] - '0'], kSentenceBytes, text);
    }
    return true;
}
