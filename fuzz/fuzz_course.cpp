// The course and sentence files from arbitrary bytes: read twice, the tables must come
// out the same, and every letter's lesson material can be asked for.
#include <cstring>

#include "RecordFuzz.h"
#include "reading/LxCourse.h"
#include "shell/LxProgramData.h"

using namespace record_fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeScratchFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Write("data/course.xml", data, size);
    LoadCourse("data\\course.xml");
    unsigned char course[kCourseEntries][8];
    std::memcpy(course, g_aCourse, sizeof course);
    LoadCourse("data\\course.xml");
    if (std::memcmp(course, g_aCourse, sizeof course) != 0) std::abort();
    for (int letter = 1; letter < 256; ++letter)
        LessonList(static_cast<unsigned char>(letter), "game1", "words", 16);
    LoadSentences("data\\course.xml");
    return 0;
}
