// The course position and the lesson material; see LxCourse.h.
#include "reading/LxCourse.h"

#include <cstring>

#include "reading/LxLetters.h"
#include "shell/LxProgramData.h"
#include "shell/LxXMLParser.h"

void ResolveCoursePosition() {
    if (g_nCourseLesson < 0 || g_nCourseLesson > g_nLastCourseEntry) {
        g_nCourseLesson = -1;
        for (int i = g_nLastCourseEntry; i >= 0 && g_nCourseLetter >= 0; --i) {
            if (g_aCourse[i][0] == g_nCourseLetter) {
                g_nCourseLesson = i;
                break;
            }
        }
    }
    if (g_nCourseLetter < 0 && g_nCourseLesson >= 0)
        g_nCourseLetter = g_aCourse[g_nCourseLesson][0];
}

unsigned char CurrentCourseLetter() {
    return g_nCourseLetter > 0 ? static_cast<unsigned char>(g_nCourseLetter) : 0;
}

bool LessonOffers(int game) {
    if (g_nCourseLesson < 0 || game < 1 || game > 6) return false;
    return g_aCourse[g_nCourseLesson][game] != 0;
}

int LessonSeventhGame() {
    return g_nCourseLesson < 0 ? 0 : g_aCourse[g_nCourseLesson][7];
}

std::vector<std::string> LessonList(unsigned char letter, const char* game, const char* attr,
                                    int max) {
    std::vector<std::string> items;
    for (const std::string& kept : LessonMaterial(letter)) {
        if (!LxTagIs(kept.c_str(), game)) continue;
        std::string tag = kept; // the reader's attribute parsing writes into the tag
        CLxXMLParser xml;
        char* value = xml.GetAttr(tag.data(), attr);
        if (!value) break;
        std::vector<char*> split(max > 0 ? max : 1);
        int n = CLxXMLParser::SplitList(value, split.data(), max);
        for (int i = 0; i < n; ++i)
            items.emplace_back(split[i]);
        break;
    }
    return items;
}

int TherapyPlace(unsigned char code) {
    const unsigned char* order = TherapyOrder();
    for (int i = 0; code && order && order[i]; ++i)
        if (order[i] == code) return i;
    return -1;
}
