// talvik: drives the engine from a shell. It loads libtalviklib.so (beside the
// executable first, then the default search), makes a console terminal the
// engine's output, then runs -e texts and script files in order on the root, or
// the interactive console loop when there is nothing else to do (or with -i).

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "EngineLoader.h"
#include "talvik.h"

namespace {
const char kUsage[] =
    "usage: talvik [-e TEXT | FILE]... [-s PORT] [-i]\n"
    "\n"
    "Loads the engine (libtalviklib.so, looked for beside this program first) and\n"
    "runs scripts on its root folder, with a console terminal as the output:\n"
    "  talvik            reads statements from standard input, after the prompt \"> \",\n"
    "                    until the input ends\n"
    "  talvik FILE       runs the script FILE (paths are relative to the working\n"
    "                    folder, which the engine mounts as mnt), then exits\n"
    "  talvik -e TEXT    runs TEXT, then exits\n"
    "  -s PORT           serves the engine over TCP on 127.0.0.1:PORT (each line a\n"
    "                    client sends runs as a statement) and keeps serving until\n"
    "                    the process is stopped\n"
    "  -i                after the texts and files, goes on interactively\n"
    "  -h, --help        shows this text\n"
    "Display windows (new Window) open on the X display that DISPLAY names; with\n"
    "TALVIK_WINDOWS=off, or without a display, they are drawn off-screen only.\n"
    "Texts and files run in the order given. The exit code is 0, or 1 when the\n"
    "engine cannot be loaded, a file cannot be read or an argument is wrong.\n";

Interface* LoadEngine() {
    // This host owns no video system, so the engine's display windows are shown on
    // the X display (TALVIK_WINDOWS=off keeps them off-screen).
    setenv("TALVIK_WINDOWS", "show", 0);
    std::string error;
    Folder* root = talvik::LoadEngineLibrary(&error);
    if (!root) std::fprintf(stderr, "talvik: %s\n", error.c_str());
    return root;
}

// Runs one script text on the root; an engine exception ends that text only.
void RunText(Interface* root, const std::string& text) {
    try {
        Interface* value = root->Run(text.c_str(), root);
        if (value) {
            value->AddRef();
            value->Release();
        }
    } catch (Exception* e) {
        std::fprintf(stderr, "talvik: script ended by engine exception %d\n", e->code);
        delete e;
    }
}

bool ReadScript(const char* path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "talvik: cannot read %s: %s\n", path, std::strerror(errno));
        return false;
    }
    std::stringstream content;
    content << in.rdbuf();
    *text = content.str();
    return true;
}
} // namespace

int main(int argc, char** argv) {
    struct Job {
        bool isFile;
        std::string text;
    };
    std::vector<Job> jobs;
    bool interactive = false;
    bool serving = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "-i") {
            interactive = true;
        } else if (arg == "-s") {
            if (++i == argc) {
                std::fputs("talvik: -s needs a port\n", stderr);
                return 1;
            }
            jobs.push_back({false, std::string("service = new Service(") + argv[i] + ")"});
            serving = true;
        } else if (arg == "-e") {
            if (++i == argc) {
                std::fputs("talvik: -e needs a text\n", stderr);
                return 1;
            }
            jobs.push_back({false, argv[i]});
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "talvik: unknown option %s\n%s", arg.c_str(), kUsage);
            return 1;
        } else {
            jobs.push_back({true, arg});
        }
    }

    Interface* root = LoadEngine();
    if (!root) return 1;
    RunText(root, "con = new Console;term = new Terminal(con);export out = term;");

    for (const Job& job : jobs) {
        std::string text = job.text;
        if (job.isFile && !ReadScript(job.text.c_str(), &text)) return 1;
        RunText(root, text);
    }
    if (jobs.empty() || interactive) RunText(root, "term()");
    std::fflush(stdout);
    while (serving)
        pause();
    return 0;
}
