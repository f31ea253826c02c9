// lexora-cut [-min LEVEL] LIST OUT: cuts recorded streams as the program's recognition
// driver cuts them. LIST holds one stream a line, "INPUT.wav" or "INPUT.wav NAME" (22050 Hz, 16-bit
// mono); each goes through the driver (see DriverFeed.h) in the sound device's blocks,
// and what the driver hands to the whole-utterance recogniser is written as OUT/NAME
// (the input's file name when no NAME is given), a 22050 Hz 16-bit WAV file. Each input
// gets one line on standard output, "INPUT OUTCOME", where OUTCOME is
//   cut BEGIN END   written: the utterance's first sample and its end in the stream
//   never-started   no utterance started (or one was dropped as background)
//   never-ended     an utterance started and was still open when the stream was over
//   too-short       one ended, too short for the driver to recognise: nothing written
//   unreadable      the input is missing or not 22050 Hz 16-bit mono
//   unwritable      the output could not be written
// -min sets the driver's minimum level as the voice set-up screen's "noise" slider does
// (its value / 1000; 0.002 by default), as a therapist does for a quiet child. The
// driver's own trace lines are not shown. Exit status 1 on a usage error or an
// unreadable list, else 0 whatever the outcomes.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lexora-cut/DriverFeed.h"
#include "lexora-cut/StreamFiles.h"
#include "media/LxFile.h"
#include "shell/LxDriverBlock.h"

namespace {

namespace fs = std::filesystem;

float s_minLevel = -1; // the minimum level asked for; -1: the driver's default

std::string Outcome(DriverFeed& feed, const std::string& input, const std::string& name) {
    std::vector<int16_t> samples;
    if (!ReadStream(input, &samples)) return "unreadable";
    feed.Restart();
    if (s_minLevel >= 0) g_Driver.fMinLevel = s_minLevel;
    DriverCut cut = feed.Listen(samples);
    if (!cut.ended) return cut.state == kDriverUtterance ? "never-ended" : "never-started";
    if (cut.utterance.empty()) return "too-short";
    if (!WriteStream(cut.utterance, name)) return "unwritable";
    return "cut " + std::to_string(cut.begin) + " " + std::to_string(cut.end);
}

} // namespace

int main(int argc, char** argv) {
    bool usable = true;
    if (argc == 5 && std::string(argv[1]) == "-min") {
        char* end = nullptr;
        s_minLevel = std::strtof(argv[2], &end);
        usable = end != argv[2] && !*end && s_minLevel >= 0 && s_minLevel <= 1;
        argc -= 2;
        argv += 2;
    }
    if (argc != 3 || !usable) {
        std::fprintf(stderr, "usage: lexora-cut [-min LEVEL (0 to 1)] LIST OUT\n");
        return 1;
    }
    std::ifstream list(argv[1]);
    std::error_code error;
    fs::create_directories(argv[2], error);
    if (!list || error) {
        std::fprintf(stderr, "lexora-cut: cannot read %s or make %s\n", argv[1], argv[2]);
        return 1;
    }
    // The report keeps standard output; the driver's trace goes nowhere. Inputs are read
    // by their absolute paths, outputs written by names below the output folder.
    std::FILE* report = fdopen(dup(fileno(stdout)), "w");
    if (!report || !std::freopen("/dev/null", "w", stdout)) return 1;
    fs::path here = fs::current_path();
    CLxFile::SetRoots("", "");
    fs::current_path(argv[2]);
    DriverFeed feed;
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream words(line);
        std::string input, name;
        if (!(words >> input)) continue;
        if (!(words >> name)) name = fs::path(input).filename().string();
        std::string outcome = Outcome(feed, fs::absolute(here / input).string(), name);
        std::fprintf(report, "%s %s\n", input.c_str(), outcome.c_str());
    }
    std::fclose(report);
    return 0;
}
