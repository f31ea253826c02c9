// The live letter recogniser data/lexora/live24x3 run by the console host, its
// microphone fed from a recording (TALVIK_CAPTURE=file:...): two letter names said by
// espeak-ng with a pause between them are cut out of the stream and recognised, each
// as it ends: a "Result:" line is followed by the letter on its own. Without espeak-ng
// or sox the speech case is skipped. The live script must keep the chain of recogniser24x3; its
// voice detector cuts with windows of 272 ms on both sides where the program's driver
// keeps 125 ms before the voice and about 450 ms after it, so its letter network is its
// own, live.net, trained on that cut.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "support/EngineTest.h"

namespace {
const std::string kData = std::string(TALVIK_SCRIPTS) + "/../../data/lexora/";

bool Have(const char* tool) {
    return std::system((std::string("command -v ") + tool + " > /dev/null 2>&1").c_str()) == 0;
}

// The lines of a script from the one holding first up to the one holding last.
std::string Between(const std::string& text, const std::string& first, const std::string& last) {
    size_t from = text.find(first);
    if (from == std::string::npos) return "";
    from = text.rfind('\n', from) + 1;
    size_t to = text.find(last, from);
    if (to == std::string::npos) return "";
    return text.substr(from, text.find('\n', to) - from);
}

// Runs the host on a script with the capture fed from a recording and reads what it
// prints until `results` lines start with "Result: " (and the line after the last one
// came) or the host ends; then stops it. A bound of a minute keeps a broken chain from
// hanging the suite.
std::vector<std::string> Listen(const std::string& script, const std::string& wav, int results) {
    int out[2];
    if (pipe(out) != 0) return {};
    pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(out[0]);
        close(out[1]);
        setenv("TALVIK_CAPTURE", ("file:" + wav).c_str(), 1);
        execl(TALVIK_HOST, TALVIK_HOST, script.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::vector<std::string> lines;
    std::string line;
    int seen = 0;
    time_t deadline = time(nullptr) + 60;
    while (time(nullptr) < deadline) {
        pollfd ready{out[0], POLLIN, 0};
        if (poll(&ready, 1, 200) <= 0) continue;
        char c;
        if (read(out[0], &c, 1) != 1) break;
        if (c == '\r') continue; // the terminal ends lines with CR LF
        if (c != '\n') {
            line += c;
            continue;
        }
        lines.push_back(line);
        if (line.rfind("Result: ", 0) == 0) ++seen;
        line.clear();
        // The letter's own line follows its result line.
        if (seen == results && lines.back().rfind("Result: ", 0) != 0) break;
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    close(out[0]);
    return lines;
}

class LiveRecogniser : public EngineTest {};

TEST_F(LiveRecogniser, KeepsTheChainOfTheWholeUtteranceRecogniser) {
    std::string live = ReadFile(kData + "live24x3");
    std::string chain = Between(live, "// cues begin", "te = new MPQEngine");
    ASSERT_NE(chain, "");
    std::string whole =
        Between(ReadFile(kData + "recogniser24x3"), "// cues begin", "te = new MPQEngine");
    const std::string letters = "data/recogniser/letters.net";
    ASSERT_NE(whole.find(letters), std::string::npos);
    EXPECT_EQ(chain,
              whole.replace(whole.find(letters), letters.size(), "data/recogniser/live.net"));
    EXPECT_NE(live.find("wfi = new VoiceDetect(mic"), std::string::npos);
}

TEST_F(LiveRecogniser, PrintsEachLetterAsItIsSaid) {
    if (!Have("espeak-ng") || !Have("sox")) GTEST_SKIP() << "espeak-ng or sox is missing";
    for (const char* name :
         {"live.net", "live.trf", "neutral.net", "neutral.trf", "sounds.net", "sounds.trf"})
        WriteFile(std::string("data/recogniser/") + name, ReadFile(kData + "recogniser/" + name));
    WriteFile("data/live24x3", ReadFile(kData + "live24x3"));
    // "bé" and "es" (\xc3\xa9 is an e with acute), each trimmed of espeak-ng's silence
    // and set in half a second of silence before and a second after.
    for (const char* name : {"b\xc3\xa9", "es"}) {
        std::string command = std::string("espeak-ng -v hu+m8 -s 150 -p 50 -w said.wav '") + name +
                              "' && sox -q said.wav -r 22050 -b 16 -c 1 '" + name +
                              ".wav' silence 1 0.005 0.3% reverse silence 1 0.005 0.3% "
                              "reverse pad 0.5 1";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    ASSERT_EQ(std::system("sox 'b\xc3\xa9.wav' es.wav two.wav"), 0);

    std::vector<std::string> lines = Listen("data/live24x3", "two.wav", 2);
    std::string printed;
    std::vector<std::string> results, letters;
    for (size_t i = 0; i < lines.size(); ++i) {
        printed += lines[i] + "\n";
        if (lines[i].rfind("Result: ", 0) != 0) continue;
        results.push_back(lines[i]);
        if (i + 1 < lines.size()) letters.push_back(lines[i + 1]);
    }
    ASSERT_EQ(results.size(), 2u) << printed;
    ASSERT_EQ(letters.size(), 2u) << printed;
    // "Result: <letter> <cost> <evaluations> (<boundaries>)", then "<letter> ".
    const std::string said[] = {"b", "s"};
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(results[i].substr(8, results[i].find(' ', 8) - 8), said[i]) << printed;
        EXPECT_EQ(letters[i], said[i] + " ") << printed;
    }
    EXPECT_EQ(printed.find("rror"), std::string::npos) << printed;
    EXPECT_EQ(printed.find("Warning"), std::string::npos) << printed;
}
} // namespace
